// The shipped pickaxe under the player's buttons: its wind-up runs out inside the actor
// step and the strike lands on the cell the player aims at.

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

std::int32_t solidCells(const World& world) {
    std::int32_t count = 0;
    for (const std::uint8_t cell : world.level->tileMap->data()) count += cell & 1;
    return count;
}

TEST(SamplePickaxe, StrikesAimedDownWearTheCellUnderThePlayerAway) {
    HarnessOptions options(1, "mine1");
    options.sampleData = true;
    options.gameMovement = true;
    GameHarness harness(options);
    harness.runSteps(90);
    World& world = harness.world();
    ActorObject& player = *world.player();
    ASSERT_EQ(player.groundState, 1) << "standing on the mine's floor";
    const fpVector2 standing = player.getPosition();
    const std::int32_t solid = solidCells(world);

    harness.press("weapon_1");
    harness.runSteps(1);
    harness.release("weapon_1");
    ASSERT_EQ(player.weaponIndex, 1) << player.definition().weapons[1].name;
    harness.press("move_down");
    constexpr int Strikes = 12;
    for (int strike = 0; strike < Strikes; ++strike) {
        harness.press("attack");
        harness.runSteps(1);
        harness.release("attack");
        harness.runSteps(40);  // longer than the wind-up and the cooldown together
    }
    EXPECT_EQ(player.hitCount, Strikes) << "a wind-up ended without its strike";
    EXPECT_LT(solidCells(world), solid);
    EXPECT_GT(player.getPosition().y, standing.y) << "the player sank into the dug cell";
}

} // namespace
} // namespace zor
