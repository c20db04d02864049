// The sample player's pick at the arrival in "mine1", with the game's own movement and
// attacks: a tap of the attack button winds the pick up and strikes once, breaking the ore
// cell below, whose ore is then picked up.

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

TEST(SamplePick, ATapWindsThePickUpAndStrikesOnceBreakingTheCellBelow) {
    HarnessOptions options(3, "mine1");
    options.sampleData = true;
    options.gameMovement = true;
    options.gameContacts = true;
    GameHarness harness(options);
    harness.seams().playLifeRules = true;
    World& world = harness.world();
    ActorObject& player = *world.player();
    harness.runSteps(60);
    ASSERT_EQ(player.weaponIndex, 1) << "the level start hands the pick";
    const float windUp = player.currentWeapon().attackTime;
    ASSERT_GT(windUp, 0.0f);
    const iVector2 below(std::int32_t(player.getPosition().x / 40.0f), std::int32_t(player.getPosition().y / 40.0f));
    const auto solid = [&] { return (*world.level->tileMap->cellAt(below) & TileBits::Solid) != 0; };
    ASSERT_TRUE(solid());

    harness.press("move_down");
    harness.press("attack");
    harness.runSteps(1);
    harness.release("attack");
    // The wind-up runs its full time: no strike before it, one when it ends.
    int steps = 1;
    while (solid() && steps < 60) {
        EXPECT_EQ(player.weaponCooldown > 0.0f, false) << "struck after " << steps << " steps";
        harness.runSteps(1);
        ++steps;
    }
    EXPECT_FALSE(solid());
    EXPECT_NEAR(float(steps - 1) * GameHarness::StepLength, windUp, GameHarness::StepLength);
    EXPECT_GT(player.weaponCooldown, 0.0f);
    harness.release("move_down");
    harness.runSteps(60);
    EXPECT_EQ(world.progress.inventory.countOf("copper_ore"), 1);
}

} // namespace
} // namespace zor
