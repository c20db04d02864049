// Game data whose player carries tools for buildings and a projectile that the data does
// not define: using them is an ordinary refusal, never an error that stops the game.

#include "tests/game/simulation/movement/MovementFixture.h"

#include "game/simulation/tools/ToolUse.h"
#include "game/world/progress/ItemCountMap.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zor::test {
namespace {

TEST(MissingBuildings, AToolWhoseBuildingIsNotDefinedIsRefusedAndSpendsNothing) {
    auto harness = movementGame();
    ActorObject& player = *harness->world().player();
    auto definition = std::make_shared<ActorDefinition>(player.definition());
    definition->checkOnGround = true;
    for (const char* item : {"lamp", "ladder", "jump_plate", "teleporter", "dynamite"}) {
        ActorDefinition::Tool tool;
        tool.name = tool.countedUpgrade = item;
        tool.isBuilding = std::string(item) != "dynamite";
        definition->tools.push_back(tool);
        harness->world().progress.items.counts[item] = 1;
    }
    player.installDefinition(definition);
    harness->runSteps(10);

    for (std::int32_t index = 0; index < 5; ++index) {
        const std::string& item = definition->tools[std::size_t(index)].countedUpgrade;
        player.pendingSounds.clear();
        EXPECT_FALSE(useTool(harness->objects(), index)) << item;
        EXPECT_EQ(itemCount(item, harness->world().progress.items), 1) << item;
        EXPECT_NE(std::find(player.pendingSounds.begin(), player.pendingSounds.end(), "building_not_possible"),
                  player.pendingSounds.end())
            << item;
    }
}

} // namespace
} // namespace zor::test
