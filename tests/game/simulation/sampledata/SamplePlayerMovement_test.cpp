// The sample player under its buttons with the game's own movement: it stands, walks,
// jumps and lands in the town.

#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

std::unique_ptr<GameHarness> movingSampleGame() {
    HarnessOptions options(5, "shalebury");
    options.sampleData = true;
    options.gameMovement = true;
    return std::make_unique<GameHarness>(options);
}

TEST(SamplePlayerMovement, ThePlayerStandsWalksUnderItsButtonsJumpsAndLandsAgain) {
    auto harness = movingSampleGame();
    ActorObject& player = *harness->world().player();
    harness->runSteps(90);
    ASSERT_EQ(player.groundState, 1) << "settled on the town's ground";
    const fpVector2 start = player.getPosition();

    harness->press("move_right");
    harness->runSteps(30);
    harness->release("move_right");
    EXPECT_GT(player.getPosition().x, start.x + 20.0f);
    EXPECT_EQ(player.facing.x, 1.0f);
    harness->runSteps(30);
    const fpVector2 walked = player.getPosition();
    EXPECT_NEAR(walked.y, start.y, 1.0f);

    harness->press("jump");
    float highest = walked.y;
    for (int step = 0; step < 20; ++step) {
        harness->runSteps(1);
        highest = std::min(highest, player.getPosition().y);
    }
    harness->release("jump");
    EXPECT_LT(highest, walked.y - 20.0f) << "it left the ground";
    harness->runSteps(120);
    EXPECT_EQ(player.groundState, 1) << "and came down again";
    EXPECT_NEAR(player.getPosition().y, walked.y, 1.0f);
}

// The town is wider than the view: the view follows the walking player east past its
// first screen, and a released player slides to a stop instead of rocking on the spot.
TEST(SamplePlayerMovement, TheViewFollowsThePlayerAcrossTheTownAndAReleasedPlayerStops) {
    auto harness = movingSampleGame();
    ActorObject& player = *harness->world().player();
    const Camera& camera = harness->world().camera;
    harness->runSteps(90);
    const float firstView = camera.visibleRect.x;
    harness->press("move_right");
    harness->runSteps(5 * 60);
    harness->release("move_right");
    EXPECT_GT(player.getPosition().x, firstView + camera.visibleRect.w) << "walked past the first screen";
    EXPECT_TRUE(camera.visibleRect.contains(player.getPosition())) << camera.visibleRect.x;

    harness->runSteps(30);
    const fpVector2 stopped = player.getPosition();
    harness->runSteps(30);
    EXPECT_EQ(player.physicalObject.velocity, fpVector2());
    EXPECT_EQ(player.getPosition(), stopped);
}

} // namespace
} // namespace zor
