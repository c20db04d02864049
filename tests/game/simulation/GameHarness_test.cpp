// The harness itself: scripted buttons reach the Game's input as a host's poll would
// deliver them, and the state hash notices what the simulation changes.

#include "game/simulation/Game.h"
#include "game/world/World.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::GameHarness;

TEST(GameHarness, ScriptedButtonsArePressedHeldAndReleased) {
    GameHarness harness;
    InputState& input = harness.input();
    harness.press("jump");
    EXPECT_TRUE(input.wasPressed("jump"));
    EXPECT_TRUE(input.isHeld("jump"));
    harness.runSteps(1);
    EXPECT_FALSE(input.wasPressed("jump"));
    EXPECT_TRUE(input.isHeld("jump"));
    harness.runSteps(2);
    EXPECT_TRUE(input.isHeld("jump"));
    harness.release("jump");
    EXPECT_TRUE(input.wasReleased("jump"));
    EXPECT_FALSE(input.isHeld("jump"));
    harness.runSteps(1);
    EXPECT_FALSE(input.wasReleased("jump"));
    // Buttons keep apart.
    harness.press("attack");
    EXPECT_TRUE(input.isHeld("attack"));
    EXPECT_FALSE(input.isHeld("jump"));
}

TEST(GameHarness, TheStateHashFollowsTheSimulationNotTheIds) {
    GameHarness first;
    const std::uint64_t fresh = first.stateHash();
    EXPECT_EQ(first.stateHash(), fresh);
    first.world().spawnTileDamage({40, 80});
    const std::uint64_t withMarker = first.stateHash();
    EXPECT_NE(withMarker, fresh);
    first.world().level->tileMap = std::make_shared<PersistentTileMap>(4, 4);
    EXPECT_NE(first.stateHash(), withMarker);

    // A second game of the same seed, with the same marker but later ids, hashes alike.
    GameHarness second;
    EXPECT_EQ(second.stateHash(), fresh);
    second.world().spawnTileDamage({40, 80});
    EXPECT_EQ(second.stateHash(), withMarker);
    second.world().camera.setTopLeft({1, 0});
    EXPECT_NE(second.stateHash(), withMarker);

    GameHarness otherSeed({9, "fixture_mine"});
    EXPECT_NE(otherSeed.stateHash(), fresh);
}

} // namespace
} // namespace zor
