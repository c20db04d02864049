// The World's spawners: each takes a block from its class's pool, constructs, resets,
// places and sets up the entity, and registers it.

#include "game/world/World.h"

#include "game/world/entity/Destination.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/GameObjectSetup.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/entity/TileDamage.h"
#include "game/world/entity/WorldText.h"

#include "game/definitions/EffectDefinition.h"

#include "Framework/core/math/Randomizer.h"

#include <cmath>
#include <memory>

namespace zor {

namespace {

constexpr const char* PlayerDefinition = "player";
constexpr const char* OrbResource = "orb";
// The player's sensor body detects shape objects, enemies, items and triggers.
constexpr std::uint32_t PlayerSensorMask = 0xA2;
constexpr float OrbMinimumSpeed = 150.0f;  // pixels per second, and as much again at most

std::shared_ptr<ActorDefinition> lookUpActor(const std::string& name) { return findActorDefinitionPtr(name); }
std::shared_ptr<ResourceDefinition> lookUpResource(const std::string& name) { return findResourceDefinitionPtr(name); }
std::shared_ptr<ProjectileDefinition> lookUpProjectile(const std::string& name) {
    return projectileRegistry().find(name);
}
std::shared_ptr<EffectDefinition> lookUpEffect(const std::string& name) { return effectRegistry().find(name); }

} // namespace

template <class T>
T* World::finish(T* entity) {
    registerEntity(entity);
    return entity;
}

template <class Definition, class Find>
std::shared_ptr<Definition> World::requireDefinition(const char* kind, const std::string& name, Find find) {
    std::shared_ptr<Definition> definition = find(name);
    if (!definition) reportOnce(std::string("Nothing spawned: no ") + kind + " definition '" + name + "'");
    return definition;
}

ActorObject* World::spawnPlayer() {
    const auto definition = requireDefinition<ActorDefinition>("actor", PlayerDefinition, &lookUpActor);
    if (!definition) return nullptr;
    auto* player = new ActorObject(definition);
    m_player = player;
    player->reset();
    player->hitPoints = definition->hitPoints;
    player->water = definition->waterCapacity;
    player->lightTime = definition->lightTime;
    setupGameObject(*player, m_random);
    PhysicalBody sensor;
    sensor.group = 0;
    sensor.mask = PlayerSensorMask;
    sensor.sensor = true;
    sensor.shape = new RectShape(definition->collisionBox, true);
    player->physicalObject.addBody(std::move(sensor));
    return finish(player);
}

ActorObject* World::spawnActor(const std::string& definitionName, const fpVector2& position, const fpVector2& facing) {
    const auto definition = requireDefinition<ActorDefinition>("actor", definitionName, &lookUpActor);
    if (!definition) return nullptr;
    auto* actor = new ActorObject(definition);
    actor->reset();
    actor->setPosition(position);
    actor->facing = facing;
    setupGameObject(*actor, m_random);
    return finish(actor);
}

ActorObject* World::spawnActorFacingRight(const std::string& definitionName, const fpVector2& position) {
    return spawnActor(definitionName, position, fpVector2(1.0f, 0.0f));
}

Projectile* World::spawnProjectile(const std::string& definitionName, const fpVector2& position, std::int32_t ownerId) {
    const auto definition = requireDefinition<ProjectileDefinition>("projectile", definitionName, &lookUpProjectile);
    if (!definition) return nullptr;
    auto* projectile = new Projectile(definition);
    projectile->reset();
    projectile->setPosition(position);
    projectile->ownerId = ownerId;
    setupGameObject(*projectile, m_random);
    return finish(projectile);
}

ResourceObject* World::spawnResource(const std::string& definitionName, const fpVector2& position, float lifeTime) {
    const auto definition = requireDefinition<ResourceDefinition>("resource", definitionName, &lookUpResource);
    if (!definition) return nullptr;
    if (!definition->spawnProjectile.empty()) spawnProjectile(definition->spawnProjectile, position, 0);
    if (definition->spawnRefill) return spawnRefill(definitionName, position, lifeTime);
    if (!definition->spawnActor.empty()) {
        spawnActorFacingRight(definition->spawnActor, position);
        return nullptr;
    }
    if (definition->orbsSpawnedMinimum >= 1 || definition->orbsSpawnedMaximum >= 1) {
        spawnOrbs(*definition, position, lifeTime);
        return nullptr;
    }
    auto* resource = new ResourceObject(definition);
    resource->reset();
    setupGameObject(*resource, m_random);
    resource->setPosition(position);
    if (lifeTime != -1.0f) resource->remainingLifeTime = lifeTime;
    return finish(resource);
}

ResourceObject* World::spawnRefill(const std::string& definitionName, const fpVector2& position, float lifeTime) {
    if (!m_player) {
        reportOnce("Nothing spawned: the refill '" + definitionName + "' needs a player");
        return nullptr;
    }
    static const char* const withWater[] = {"refill_health", "refill_water", "refill_light"};
    static const char* const withoutWater[] = {"refill_health", "refill_light"};
    const bool water = m_player->definition().waterCapacity > 0.0f;
    const char* const* choices = water ? withWater : withoutWater;
    const std::uint32_t count = water ? 3 : 2;
    // The middle of the tile row the position lies in.
    const fpVector2 centred(position.x, position.y - std::fmod(position.y, 40.0f) + 20.0f);
    return spawnResource(choices[m_random.nextIndex(count)], centred, lifeTime);
}

void World::spawnOrbs(const ResourceDefinition& definition, const fpVector2& position, float lifeTime) {
    const std::int32_t minimum = definition.orbsSpawnedMinimum;
    const std::int64_t span = std::int64_t(definition.orbsSpawnedMaximum) - minimum + 1;
    const std::uint32_t draw = m_random.next();
    const std::int32_t count = minimum + (span > 0 ? std::int32_t((std::uint64_t(draw) * std::uint64_t(span)) >> 32) : 0);
    for (std::int32_t i = 0; i < count; ++i) {
        ResourceObject* orb = spawnResource(OrbResource, position, lifeTime);
        const float speed = OrbMinimumSpeed + OrbMinimumSpeed * m_random.nextFloat();
        const fpVector2 direction = m_random.nextDirection();
        if (orb) orb->physicalObject.velocity = direction * speed;
    }
}

EffectObject* World::spawnEffect(const std::string& effectName, const fpVector2& position, float rotation, float scale) {
    const auto definition = requireDefinition<EffectDefinition>("effect", effectName, &lookUpEffect);
    if (!definition) return nullptr;
    auto* effect = new EffectObject(*definition);
    effect->reset();
    effect->setPosition(position);
    effect->rotation = rotation;
    if (definition->scale != 1.0f) effect->scaleX = effect->scaleY = definition->scale;
    if (scale != 1.0f) effect->scaleX = effect->scaleY = scale * effect->scaleY;
    // The light is registered before its effect.
    if (!definition->light.sprite.empty()) effect->lightId = spawnLight(definition->light)->id();
    return finish(effect);
}

LightObject* World::spawnLight(const VisualAttachment& record) {
    auto* light = new LightObject();
    light->reset();
    light->setPosition(record.offset);
    light->sprite = record.sprite;
    light->scale = record.scale;
    light->offset = record.offset;
    light->loop = record.loop;
    light->color = record.color;
    light->strength = record.strength;
    return finish(light);
}

ShapeObject* World::spawnShapeObject(const fpRect& rectangle) {
    auto* shape = new ShapeObject(1);
    shape->reset();
    PhysicalBody body;
    body.group = CollisionGroup::Trigger;
    body.mask = 0;
    body.shape = new RectShape(rectangle, false);
    shape->physicalObject.addBody(std::move(body));
    return finish(shape);
}

ExitObject* World::spawnExit(const fpRect& rectangle, const PatchExit& record) {
    auto* exit = new ExitObject(&record);
    exit->reset();
    exit->setPosition(fpVector2(rectangle.x + rectangle.w / 2.0f, rectangle.y + rectangle.h / 2.0f));
    PhysicalBody body;
    body.group = CollisionGroup::Exits;
    body.mask = 0;
    body.shape = new RectShape(fpRect(-rectangle.w / 2.0f, -rectangle.h / 2.0f, rectangle.w, rectangle.h), false);
    exit->physicalObject.addBody(std::move(body));
    return finish(exit);
}

TileDamage* World::spawnTileDamage(const fpVector2& position) {
    auto* damage = new TileDamage();
    damage->reset();
    damage->setPosition(position);
    return finish(damage);
}

WorldText* World::spawnWorldText(const fpVector2& position, const std::string& text) {
    auto* worldText = new WorldText();
    worldText->reset();
    worldText->setPosition(position);
    worldText->text = text;
    return finish(worldText);
}

Destination* World::spawnDestination(const fpVector2& position) {
    auto* destination = new Destination();
    destination->reset();
    destination->setPosition(position);
    return finish(destination);
}

} // namespace zor
