#include "game/simulation/tools/ToolUse.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/tools/Buildings.h"

#include "game/definitions/MaxCountDefinition.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/progress/ItemCountMap.h"

namespace zor {

namespace {

constexpr const char* BuildingsGroup = "buildings";

bool usable(const ActorDefinition::Tool& tool, const ItemCountMap& items) {
    return (tool.requiredUpgrade.empty() || hasItemAmount(tool.requiredUpgrade, items, 1)) &&
           (tool.countedUpgrade.empty() || hasItemAmount(tool.countedUpgrade, items, 1));
}

bool buildingsAtLimit(const GameObjectSimulator& objects) {
    const GameObjectSimulator::MaxCountGroupState* group = objects.maxCountGroup(BuildingsGroup);
    std::shared_ptr<const MaxCountDefinition> definition =
        group ? group->definition : findMaxCountDefinitionOrNull(BuildingsGroup);
    if (!definition) return false;
    return (group ? group->liveCount : 0) >= definition->maximumCount;
}

bool use(GameObjectSimulator& objects, ActorObject& player, const ActorDefinition::Tool& tool) {
    const ItemCountMap& items = objects.world().progress.items;
    if (!tool.countedUpgrade.empty() && !hasItemAmount(tool.countedUpgrade, items, 1)) {
        objects.showPlayerMessage("buildings_out_of_stock");
        return false;
    }
    if (tool.isBuilding) {
        const std::shared_ptr<Level>& level = objects.world().level;
        if (level && level->disableBuilding) return false;
        if (buildingsAtLimit(objects)) {
            objects.showPlayerMessage("buildings_max");
            return false;
        }
    }
    if (tool.countedUpgrade == "dynamite") return throwDynamite(objects, player);
    return placeBuilding(objects, player, tool.countedUpgrade);
}

} // namespace

void chooseTool(const World& world, ActorObject& player) {
    if (player.requestedToolIndex == player.toolIndex) return;
    const auto& tools = player.definition().tools;
    const auto count = std::int32_t(tools.size());
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t next = ((player.requestedToolIndex + i) % count + count) % count;
        if (usable(tools[std::size_t(next)], world.progress.items)) {
            player.toolIndex = player.requestedToolIndex = next;
            return;
        }
    }
    player.requestedToolIndex = player.toolIndex;
}

bool useTool(GameObjectSimulator& objects, std::int32_t toolIndex) {
    World& world = objects.world();
    ActorObject* player = world.player();
    if (!player || player->physicalObject.bodies().empty()) return false;
    const auto& tools = player->definition().tools;
    if (toolIndex < 0 || toolIndex >= std::int32_t(tools.size())) return false;
    const ActorDefinition::Tool& tool = tools[std::size_t(toolIndex)];
    if (!tool.requiredUpgrade.empty() && !hasItemAmount(tool.requiredUpgrade, world.progress.items, 1)) return false;

    const bool placed = use(objects, *player, tool);
    if (placed) {
        if (!tool.countedUpgrade.empty()) decrementItem(tool.countedUpgrade, world.progress.items);
        if (!tool.useSound.empty()) player->pendingSounds.push_back(tool.useSound);
    } else if (!tool.countedUpgrade.empty()) {
        player->pendingSounds.emplace_back("building_not_possible");
        objects.userInterface().flashToolSlot();
    }
    return placed;
}

} // namespace zor
