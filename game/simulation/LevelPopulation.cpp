// A level starts (the World's levelStarted list): its physics, the player with its vital
// values (and the death conversation after a death), the level's actors, resources, exits
// and shapes, and its script graph.

#include "game/simulation/Simulator.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ports/ScriptSimulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/seams/GameRules.h"
#include "game/world/World.h"
#include "game/world/entity/ShapeObject.h"

#include "game/definitions/ConversationDefinition.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/store/AchievementStore.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

constexpr const char* LogSource = "Simulator";
constexpr const char* FirstDeathKey = "Profile.FirstDeath";
constexpr const char* FirstDeathConversation = "death_first";
constexpr const char* FallbackDeathConversation = "death_fallback";
constexpr const char* DeathConversationPrefix = "death_";
// After a death the player wakes with at most this much health and one ladder.
constexpr float HealthAfterDeath = 2.0f;
constexpr const char* LadderItem = "ladder";
constexpr float HalfPi = 1.5707964f;

fpVector2 placedFacing(const PatchEntity& placement, const GameObjectDefinition& definition, Randomizer& random) {
    if (definition.randomDirection) return {random.nextBool() ? 1.0f : -1.0f, 0.0f};
    return {placement.facingX * std::cos(placement.angle), placement.facingY * std::sin(placement.angle)};
}

PlacementKey keyOf(std::uint32_t id, std::int32_t placementNumber) {
    return {std::int32_t(id), placementNumber};
}

} // namespace

void Simulator::onLevelStarted() {
    m_gameObjects->buildLevelPhysics();
    m_mainThreadWork.run([] { saveAchievementProgress(); });
    if (ActorObject* player = m_world.spawnPlayer()) {
        m_rules->applyPlayerUpgrades(*this, *player);
        restoreVitalValues(*player);
    }
    placeActors();
    placeResources();
    placeExits();
    placeShapes();
    m_scriptSimulator->build();
}

void Simulator::restoreVitalValues(ActorObject& player) {
    const SaveState& state = m_world.saveState;
    const ActorDefinition& definition = player.definition();
    if (state.hitPoints < 0.0f) {
        player.hitPoints = definition.hitPoints;
        player.lightTime = definition.lightTime;
    } else if (state.hitPoints == 0.0f) {
        player.hitPoints = std::min(definition.hitPoints, HealthAfterDeath);
        player.lightTime = definition.lightTime;
        player.water = 0.0f;
        ItemCountMap& items = m_world.progress.items;
        if (!hasItemAmount(LadderItem, items, 1)) items.counts[LadderItem] = 1;
        openDeathConversation();
    } else {
        player.hitPoints = state.hitPoints;
        player.water = state.water;
        player.lightTime = state.lightTime;
    }
    // The attack cycle switches to the requested weapon: the pick, unless another was held.
    player.requestedWeapon = std::max(state.weaponIndex, 1);
    player.requestedToolIndex = std::max(state.toolIndex, 0);
}

void Simulator::openDeathConversation() {
    std::string& cause = m_world.progress.lastDeathCause;
    std::string conversation;
    if (SettingsHandler::instance().getBool(FirstDeathKey)) {
        conversation = FirstDeathConversation;
        m_mainThreadWork.run([] { SettingsHandler::instance().setValue(FirstDeathKey, 0); });
    } else if (!cause.empty()) {
        conversation = DeathConversationPrefix + cause;
    }
    if (conversation.empty()) return;
    if (!hasConversation(conversation)) conversation = FallbackDeathConversation;
    cause.clear();
    if (!hasConversation(conversation)) return;
    m_mainThreadWork.run([&userInterface = m_userInterface, conversation] {
        userInterface.startConversation(conversation);
    });
}

void Simulator::placeActors() {
    const Level& level = *m_world.level;
    Randomizer& random = m_world.random();
    for (const PatchEntity& placement : level.actorPlacements) {
        const std::shared_ptr<ActorDefinition> definition = findActorDefinitionPtr(placement.definitionName);
        // A generator whose item the player holds is gone for good.
        if (definition && definition->specialType == SpecialType::Generator &&
            hasItemAmount(placement.name, m_world.progress.items, 1))
            continue;
        fpVector2 position(placement.x, placement.y);
        fpVector2 facing = definition ? placedFacing(placement, *definition, random) : fpVector2(1.0f, 0.0f);
        if (placement.randomQuarterTurn) {
            const float angle = float(random.next() >> 30) * HalfPi;
            const float c = std::cos(angle);
            const float s = std::sin(angle);
            facing = fpVector2(std::round(c), std::round(s));
            // Turned about the copy's centre.
            const fpVector2 offset(placement.centreOffsetX, placement.centreOffsetY);
            const fpVector2 turned(-offset.x * c + offset.y * s, -offset.x * s - offset.y * c);
            position = position + offset + turned;
            position = fpVector2(std::round(position.x), std::round(position.y));
        }
        ActorObject* actor = m_world.spawnActor(placement.definitionName, position, facing);
        if (!actor) continue;
        actor->name = placement.name;
        actor->placementKey = keyOf(placement.id, placement.placementNumber);
        if (level.forceUpdateAll) m_gameObjects->forceUpdate(*actor);
        if (placement.settle) m_gameObjects->settleSpawnedActor(*actor, 1600.0f, true);
    }
}

void Simulator::placeResources() {
    Randomizer& random = m_world.random();
    for (const PatchEntity& placement : m_world.level->resourcePlacements) {
        ResourceObject* resource =
            m_world.spawnResource(placement.definitionName, fpVector2(placement.x, placement.y), 0.0f);
        if (!resource) continue;
        resource->name = placement.name;
        resource->placementKey = keyOf(placement.id, placement.placementNumber);
        resource->facing = placedFacing(placement, resource->definition(), random);
    }
}

void Simulator::placeExits() {
    for (const auto& [name, exits] : m_world.level->exits) {
        for (const PatchExit& exit : exits) {
            const float m = exit.halfSize;
            m_world.spawnExit(fpRect(exit.x - m, exit.y - 2.0f * m, 2.0f * m, 2.0f * m), exit);
        }
    }
}

void Simulator::placeShapes() {
    for (const PatchTypedObject& placement : m_world.level->typedObjects) {
        ShapeObject* shape = nullptr;
        if (placement.kind == PatchTypedObject::Point) {
            shape = new ShapeObject(PatchTypedObject::Point);
            shape->reset();
            shape->setPosition(fpVector2(placement.x, placement.y));
            m_world.registerEntity(shape);
        } else if (placement.kind == PatchTypedObject::Rectangle) {
            shape = m_world.spawnShapeObject(fpRect(placement.x, placement.y, placement.width, placement.height));
        } else {
            LogHandler::log(LogHandler::Warning, LogSource,
                            "The shape '" + placement.name + "' of " + m_world.level->name + " is of kind " +
                                std::to_string(placement.kind) + ", neither point (0) nor rectangle (1): skipped");
            continue;
        }
        shape->placementKey = keyOf(placement.id, placement.placementNumber);
        shape->name = placement.name;
    }
}

} // namespace zor
