// Beams carried by game objects: turrets, barriers between posts, arcs enemies carry.

#include "game/simulation/rules/Beams.h"
#include "game/simulation/rules/ObjectLife.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"
#include "game/world/physics/PhysicsSystem.h"
#include "game/world/physics/Shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zor {
namespace {

constexpr std::uint32_t TilesBit = CollisionGroup::Tiles;
// The bounds body surrounds the level: in a segment test it would stop every beam at once.
constexpr std::uint32_t NotInSegmentTest = CollisionGroup::Tiles | CollisionGroup::Bounds;

bool isBarrier(const GameObject& object) {
    return object.kind() == GameObjectKind::Actor &&
           static_cast<const ActorObject&>(object).definition().specialType == SpecialType::Barrier;
}

OBBShape beamBox(const Beam& beam, const fpVector2& start) {
    const float halfWidth = beam.definition->damageWidth / 2.0f;
    const fpVector2 across(-beam.direction.y, beam.direction.x);
    return OBBShape(beam.direction * beam.length, across * beam.definition->damageWidth, start - across * halfWidth);
}

// The carrier's position, for an actor moved to where its projectiles leave.
fpVector2 beamOrigin(const GameObject& object) {
    fpVector2 origin = object.getPosition();
    if (object.kind() != GameObjectKind::Actor) return origin;
    const auto& actor = static_cast<const ActorObject&>(object);
    const ActorDefinition& definition = actor.definition();
    fpVector2 offset = definition.projectileSpawnOffset;
    if (actor.weaponIndex >= 0 && std::size_t(actor.weaponIndex) < definition.weapons.size())
        offset = offset + actor.currentWeapon().spawnOffset;
    return origin + actor.orientOffset(offset);
}

// A barrier whose DisableUpgrade the player owns is gone; true when it was removed.
bool barrierDisabled(GameObjectSimulator& objects, GameObject& object) {
    World& world = objects.world();
    const std::shared_ptr<BeamDefinition> definition = findBeamDefinition(object.name);
    if (!definition) return false;
    if (!definition->disableUpgrade.empty() && hasItemAmount(definition->disableUpgrade, world.progress.items, 1)) {
        world.removeEntity(&object);
        return true;
    }
    if (object.beamIds.empty()) createBeam(objects, object, *definition, 0.0f);
    return false;
}

void measure(GameObjectSimulator& objects, const GameObject& carrier, Beam& beam, bool& tileHit,
             PersistentTileMap::RayHit& rayHit) {
    const BeamDefinition& definition = *beam.definition;
    const fpVector2 start = beam.getPosition();
    beam.length = definition.range;
    tileHit = false;
    World& world = objects.world();
    if ((definition.stopAgainst & TilesBit) && world.level && world.level->tileMap &&
        world.level->tileMap->raycast(start / TileSize, beam.direction, definition.range / TileSize, rayHit)) {
        tileHit = true;
        beam.length = (rayHit.point * TileSize - start).length();
    }
    const std::uint32_t bodies = definition.stopAgainst & ~NotInSegmentTest;
    PhysicsSystem* physics = objects.physics();
    float distance = 0.0f;
    if (bodies != 0 && physics &&
        physics->testSegment(start, beam.direction, beam.length, bodies, &carrier.physicalObject, distance)) {
        // One pixel more, so that the damage box reaches into the body.
        beam.length = distance + 1.0f;
        tileHit = false;
    }
}

void dealDamage(GameObjectSimulator& objects, const GameObject& carrier, const Beam& beam, bool tileHit,
                const PersistentTileMap::RayHit& rayHit) {
    const BeamDefinition& definition = *beam.definition;
    DamageData damage = definition.damage;
    damage.sourceObjectId = carrier.id();
    if (tileHit && (definition.collideAgainst & TilesBit)) {
        objects.digCell(rayHit.cell, beam.direction, damage);
        objects.emitNoise(objects.settings().noise[std::size_t(NoiseSize::Medium)], rayHit.point * TileSize,
                          carrier.id());
    }
    const std::uint32_t bodies = definition.collideAgainst & ~TilesBit;
    PhysicsSystem* physics = objects.physics();
    if (bodies == 0 || !physics) return;
    const fpVector2 start = beam.getPosition();
    std::vector<PhysicalObject*> touched;
    physics->queryShape(beamBox(beam, start), bodies, touched);
    std::vector<std::int32_t> victims;
    for (const PhysicalObject* physical : touched)
        if (physical->ownerEntity && physical->ownerEntity->type() == EntityType::GameObject)
            victims.push_back(physical->ownerEntity->id());
    // An actor met with two bodies is hurt once; by id, so the order is the same every run.
    std::sort(victims.begin(), victims.end());
    victims.erase(std::unique(victims.begin(), victims.end()), victims.end());
    for (const std::int32_t id : victims) {
        GameObject* object = objects.world().findGameObject(id);
        if (!object || object->kind() != GameObjectKind::Actor) continue;
        auto& actor = static_cast<ActorObject&>(*object);
        if (actor.definition().invulnerableToBeams) continue;
        if (!objects.damageActor(actor, damage, beam.direction) || damage.knockbackMultiplier <= 0.0f) continue;
        const fpVector2 away = (actor.getPosition() - start).normalized();
        objects.applyKnockback(actor, away * damage.knockbackMultiplier, definition.stunTime);
    }
}

// A pending beam gets its body, which later steps reshape and move in place; a barrier's
// own body becomes the beam's box, so the barrier blocks along its whole beam.
void placeBody(GameObjectSimulator& objects, GameObject& carrier, Beam& beam, bool pending) {
    const fpRect bounds = beamBoxBounds(beam);
    if (!pending && beam.physicalObject) {
        beam.physicalObject->setBodyRect(0, bounds);
        beam.physicalObject->setPosition(beam.getPosition());
        return;
    }
    PhysicsSystem* physics = objects.physics();
    if (beam.physicalObject && physics) physics->removeObject(*beam.physicalObject);
    beam.physicalObject = std::make_unique<PhysicalObject>();
    PhysicalBody body;
    body.group = CollisionGroup::Beams;
    body.mask = beam.definition->collideAgainst;
    body.sensor = beam.definition->isSensor;
    body.shape = new RectShape(bounds, false);
    beam.physicalObject->ownerEntity = &beam;
    beam.physicalObject->addBody(std::move(body));
    beam.physicalObject->setPosition(beam.getPosition());
    if (physics) physics->placeObject(*beam.physicalObject);
    if (isBarrier(carrier)) carrier.physicalObject.setBodyRect(0, bounds);
}

} // namespace

Beam& createBeam(GameObjectSimulator& objects, GameObject& carrier, const BeamDefinition& definition,
                 float angleOffset) {
    auto* beam = new Beam(definition);
    beam->ownerId = carrier.id();
    beam->angle = std::atan2(carrier.facing.y, carrier.facing.x) + angleOffset;
    objects.world().registerEntity(beam);
    carrier.beamIds.push_back(beam->id());
    return *beam;
}

void removeBeams(GameObjectSimulator& objects, GameObject& carrier) {
    for (const std::int32_t id : carrier.beamIds) objects.world().removeEntityById(id);
    carrier.beamIds.clear();
}

fpRect beamBoxBounds(const Beam& beam) { return beamBox(beam, fpVector2()).getBounds(); }

void ObjectLife::updateBeams(GameObjectSimulator& objects, GameObject& object, float step) {
    World& world = objects.world();
    if (isBarrier(object) && barrierDisabled(objects, object)) return;
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    if (object.beamsEnabled && object.beamIds.empty()) {
        for (const AttachedBeam& attached : definition.beams)
            if (const std::shared_ptr<BeamDefinition> beamDefinition = findBeamDefinition(attached.definition))
                createBeam(objects, object, *beamDefinition, attached.angle);
    } else if (!object.beamsEnabled && !object.beamIds.empty()) {
        removeBeams(objects, object);
    }
    if (object.beamIds.empty()) return;
    if (definition.beamsForcedUpdateTime != 0.0f)
        object.forcedUpdateTime = std::max(object.forcedUpdateTime, definition.beamsForcedUpdateTime);

    const fpVector2 origin = beamOrigin(object);
    const float muzzle =
        object.kind() == GameObjectKind::Actor ? static_cast<ActorObject&>(object).definition().cannonLength : 0.0f;
    for (std::size_t index = 0; index < object.beamIds.size();) {
        Entity* entity = world.findEntity(object.beamIds[index]);
        if (!entity || !entity->alive() || entity->type() != EntityType::Beam) {
            ++index;
            continue;
        }
        auto& beam = static_cast<Beam&>(*entity);
        const BeamDefinition& beamDefinition = *beam.definition;
        const bool pending = beam.updatePending;
        if (beamDefinition.angularVelocity != 0.0f || pending) {
            beam.angle += beamDefinition.angularVelocity * step;
            beam.direction = fpVector2(std::cos(beam.angle), std::sin(beam.angle));
        }
        if (beamDefinition.updatePosition || pending) beam.setPosition(origin + beam.direction * muzzle);

        bool tileHit = false;
        PersistentTileMap::RayHit rayHit;
        if (beamDefinition.stopAgainst != 0 && (beamDefinition.updateLength || pending))
            measure(objects, object, beam, tileHit, rayHit);

        const DamageData& damage = beamDefinition.damage;
        if ((damage.amount > 0.0f || damage.totalHits > 0.0f) && beamDefinition.damageInterval != 0.0f) {
            beam.damageTimer -= step;
            if (beam.damageTimer < beamDefinition.damageInterval) {
                beam.damageTimer += beamDefinition.damageInterval;
                dealDamage(objects, object, beam, tileHit, rayHit);
            }
        }

        if (beamDefinition.physicalized &&
            (pending || beamDefinition.updateLength || beamDefinition.updatePosition))
            placeBody(objects, object, beam, pending);

        if (beam.fading) {
            if (beam.fadeTimer > 0.0f) beam.fadeTimer -= step;
            if (beam.fadeTimer <= 0.0f) {
                world.removeEntity(&beam);
                // The last id takes this place and is looked at next.
                object.beamIds[index] = object.beamIds.back();
                object.beamIds.pop_back();
                continue;
            }
        }
        if (!pending) {
            world.updatedBeams.push_back(beam.id());
            if (!beamDefinition.constantSound.empty()) world.constantSoundIds.push_back(beam.id());
        }
        beam.updatePending = false;
        ++index;
    }
}

} // namespace zor
