#include "game/script/ScriptGraphBuilder.h"

#include "game/script/ScriptNodeRegistry.h"
#include "game/script/ScriptProperties.h"
#include "game/script/ScriptSystem.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "game/definitions/ActorDefinition.h"

#include "Framework/core/log/LogHandler.h"

#include <cstddef>
#include <unordered_map>
#include <utility>

namespace zor {

namespace {

constexpr const char* LogSource = "ScriptSystem";

struct PlacementKeyHash {
    std::size_t operator()(const PlacementKey& key) const {
        return std::uint32_t(key.second) * 41u + std::uint32_t(key.first);
    }
};

using NodeIndex = std::unordered_map<PlacementKey, ScriptNode*, PlacementKeyHash>;

// The placed entity the level record (a, b) made; the first in id order when several were.
Entity* findPlaced(const World& world, const PlacementKey& key) {
    for (const auto& [id, entity] : world.entities())
        if (entity->alive() && entity->placementKey == key) return entity;
    return nullptr;
}

// A placed stand-in of the player links to the player.
Entity* linkedEntity(World& world, const PlacementKey& key) {
    Entity* entity = findPlaced(world, key);
    if (!entity || entity->type() != EntityType::GameObject) return entity;
    const auto& object = static_cast<const GameObject&>(*entity);
    if (object.kind() != GameObjectKind::Actor) return entity;
    if (static_cast<const ActorObject&>(object).definition().specialType != SpecialType::PlayerProxy) return entity;
    return world.player();
}

} // namespace

std::shared_ptr<ScriptSystem> buildScriptGraph(const std::vector<PatchGraphNode>& records, World& world,
                                               const std::string& levelName) {
    auto system = std::make_shared<ScriptSystem>();
    NodeIndex index(11);
    index.max_load_factor(1.0f);
    // The node of each record, null for a skipped one.
    std::vector<ScriptNode*> made;
    made.reserve(records.size());
    for (const PatchGraphNode& record : records) {
        std::unique_ptr<ScriptNode> created = createScriptNode(record.typeName);
        if (!created) {
            LogHandler::log(LogHandler::Warning, LogSource,
                            "Level '" + levelName + "': the script node type '" + record.typeName +
                                "' is not known; its node '" + record.name + "' is left out");
            made.push_back(nullptr);
            continue;
        }
        ScriptNode& node = system->addNode(std::move(created));
        node.name = record.name;
        node.rect = fpRect(record.x, record.y, record.width, record.height);
        index[{std::int32_t(record.id), record.placementNumber}] = &node;
        node.readProperties(ScriptProperties(record.properties));
        if (node.isStartNode()) system->addStartNode(node);
        made.push_back(&node);
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        ScriptNode* node = made[i];
        if (!node) continue;
        for (const PatchGraphLink& link : records[i].links) {
            const PlacementKey target{std::int32_t(link.targetId), link.placementNumber};
            const auto found = index.find(target);
            if (found != index.end()) {
                node->connectedBySlot(link.slot, connectScriptNodes(*node, *found->second));
            } else if (target.first != 0) {
                if (Entity* entity = linkedEntity(world, target)) node->bindEntity(link.slot, *entity, world);
            }
        }
    }
    return system;
}

} // namespace zor
