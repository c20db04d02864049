#include "game/world/World.h"

#include "game/world/entity/Destination.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/entity/WorldText.h"

#include "Framework/core/log/LogHandler.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zor {

namespace {

constexpr const char* LogSource = "World";

template <class T>
T* findAlive(const World::Table<T>& table, std::int32_t id) {
    if (table.empty()) return nullptr;
    const auto found = table.find(id);
    return found != table.end() && found->second->alive() ? found->second : nullptr;
}

bool isPersistent(const Entity& entity, const Level* level) {
    if (entity.type() != EntityType::GameObject) return false;
    const auto& object = static_cast<const GameObject&>(entity);
    if (object.kind() == GameObjectKind::Resource)
        return static_cast<const ResourceObject&>(object).definition().persistent;
    if (object.kind() != GameObjectKind::Actor) return false;
    const ActorDefinition& definition = static_cast<const ActorObject&>(object).definition();
    return definition.persistent && !(definition.resetWithEarth && level && level->resetEarth);
}

} // namespace

World::World(Randomizer& random) : m_random(random) {}

World::~World() {
    removeAllEntities();
}

void World::registerEntity(Entity* entity) {
    const std::int32_t id = entity->id();
    m_entities.emplace(id, entity);
    switch (entity->type()) {
    case EntityType::GameObject: {
        auto* object = static_cast<GameObject*>(entity);
        m_gameObjects.emplace(id, object);
        if (object->kind() == GameObjectKind::Projectile) m_projectiles.emplace(id, static_cast<Projectile*>(object));
        break;
    }
    case EntityType::Effect: m_effects.emplace(id, static_cast<EffectObject*>(entity)); break;
    case EntityType::Shape: m_shapeObjects.emplace(id, static_cast<ShapeObject*>(entity)); break;
    case EntityType::WorldText: m_worldTexts.emplace(id, static_cast<WorldText*>(entity)); break;
    case EntityType::Light: m_lights.emplace(id, static_cast<LightObject*>(entity)); break;
    case EntityType::Destination: m_destinations.emplace(id, static_cast<Destination*>(entity)); break;
    case EntityType::Exit: m_exits.emplace(id, static_cast<ExitObject*>(entity)); break;
    case EntityType::TileDamage:
    case EntityType::Beam: break;
    }
    entityAdded.fire(entity);
}

Entity* World::findEntity(std::int32_t id) const {
    return findAlive(m_entities, id);
}

GameObject* World::findGameObject(std::int32_t id) const {
    return findAlive(m_gameObjects, id);
}

LightObject* World::findLight(std::int32_t id) const {
    return findAlive(m_lights, id);
}

bool World::getPlayerDepth(std::int32_t& depth) const {
    if (!m_player || !level || level->isCave || level->atSurface) return false;
    // Integer division truncates toward zero, so a player just above the top is at 0.
    depth = std::int32_t(m_player->getPosition().y) / 40 + level->startDepth;
    return true;
}

void World::collectPersistentEntities(std::vector<Entity*>& list) const {
    const std::size_t first = list.size();
    for (const auto& [id, entity] : m_entities)
        if (entity->alive() && isPersistent(*entity, level.get())) list.push_back(entity);
    std::stable_sort(list.begin() + std::ptrdiff_t(first), list.end(),
                     [](const Entity* a, const Entity* b) { return a->id() < b->id(); });
}

void World::removeEntity(Entity* entity) {
    if (!entity->alive()) return;
    entity->m_alive = false;
    m_removals.push_back(entity);
}

void World::removeEntityById(std::int32_t id) {
    const auto found = m_entities.find(id);
    if (found != m_entities.end()) removeEntity(found->second);
}

void World::processRemovals() {
    while (!m_removals.empty()) {
        // Removals requested by the listeners gather in the emptied list for the next pass.
        m_removing.swap(m_removals);
        for (Entity* entity : m_removing) unregister(entity);
        m_removing.clear();
    }
}

void World::unregister(Entity* entity) {
    entityRemoved.fire(entity);
    const std::int32_t id = entity->id();
    switch (entity->type()) {
    case EntityType::GameObject: {
        auto* object = static_cast<GameObject*>(entity);
        if (object->kind() == GameObjectKind::Projectile) m_projectiles.erase(id);
        if (object == m_player) m_player = nullptr;
        m_gameObjects.erase(id);
        break;
    }
    case EntityType::Effect: {
        const std::int32_t lightId = static_cast<EffectObject*>(entity)->lightId;
        if (lightId != 0) removeEntityById(lightId);
        m_effects.erase(id);
        break;
    }
    case EntityType::Shape: m_shapeObjects.erase(id); break;
    case EntityType::WorldText: m_worldTexts.erase(id); break;
    case EntityType::Light: m_lights.erase(id); break;
    case EntityType::Destination: m_destinations.erase(id); break;
    case EntityType::Exit: m_exits.erase(id); break;
    case EntityType::TileDamage:
    case EntityType::Beam: break;
    }
    m_entities.erase(id);
    delete entity;
}

void World::removeAllEntities() {
    for (const auto& [id, entity] : m_entities) removeEntity(entity);
    processRemovals();
    tintColor = DefaultTintColor;
}

void World::shakeCamera(float amplitude, float duration, std::int32_t curve) {
    if (duration != 0.0f && shake.remaining >= duration) return;
    shake.remaining = duration;
    shake.duration = duration;
    shake.curve = curve;
    shake.amplitude = amplitude;
}

void World::panCamera(const fpVector2& target, float speed, float holdTime, std::int32_t curve) {
    // A pan that never moves would hold the player for ever, and one at zero distance and
    // speed would turn the camera into NaN.
    if (!(speed > 0.0f) || !std::isfinite(speed) || !std::isfinite(holdTime) || !std::isfinite(target.x) ||
        !std::isfinite(target.y)) {
        LogHandler::log(LogHandler::Warning, LogSource,
                        "A camera pan needs a finite target and hold time and a finite speed above 0; ignored");
        return;
    }
    pan.target = target;
    pan.speed = speed;
    pan.holdTime = holdTime;
    pan.curve = curve;
    pan.progress = 0.0f;
}

void World::storeReturnPoint(const Entity& entity) {
    const std::string levelName = level ? level->name : std::string();
    if (levelName == Level::TownName) return;
    progress.returnLevel = levelName;
    progress.returnPosition = entity.getPosition();
}

void World::clearReturnPoint() {
    progress.returnLevel.clear();
    progress.returnPosition = fpVector2();
}

void World::reportOnce(const std::string& text) {
    if (m_reported.insert(text).second) LogHandler::log(LogHandler::Warning, LogSource, text);
}

} // namespace zor
