// Which rule a contact goes to, and the touches of resources, projectiles, beams and shapes.

#include "game/simulation/contacts/ContactRules.h"

#include "game/simulation/GameObjectSimulator.h"

#include "game/definitions/BeamDefinition.h"
#include "game/definitions/NameEnumerations.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/Projectile.h"
#include "game/world/entity/ResourceObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/physics/PhysicalCollision.h"
#include "game/world/physics/PhysicalObject.h"

#include <cmath>
#include <limits>

namespace zor {

namespace {

// The tile map and the level bounds are the only bodies without an owning entity.
bool isLevelBody(const PhysicalBody& body) {
    return body.owner->ownerEntity == nullptr && (body.group & (CollisionGroup::Tiles | CollisionGroup::Bounds)) != 0;
}

GameObject* asGameObject(Entity* entity) {
    return entity && entity->type() == EntityType::GameObject ? static_cast<GameObject*>(entity) : nullptr;
}

ActorObject* asActor(Entity* entity) {
    GameObject* object = asGameObject(entity);
    return object && object->kind() == GameObjectKind::Actor ? static_cast<ActorObject*>(object) : nullptr;
}

bool objectAlive(const GameObject& object) {
    return object.alive() && (object.kind() != GameObjectKind::Actor || static_cast<const ActorObject&>(object).isAlive());
}

void touchShape(Entity& shape) { static_cast<ShapeObject&>(shape).activated = true; }

void beamContact(GameObjectSimulator& objects, Beam& beam, GameObject& object, PhysicalCollision& contact) {
    if (object.kind() == GameObjectKind::Actor)
        beamActorContact(objects, beam, static_cast<ActorObject&>(object), contact);
    else if (object.kind() == GameObjectKind::Projectile)
        beamProjectileContact(objects, beam, static_cast<Projectile&>(object));
}

void destroyResource(GameObjectSimulator& objects, ResourceObject& resource) {
    const fpVector2 at = resource.physicalObject.bodies().empty() ? resource.getPosition() : resource.center();
    objects.world().spawnEffect("resource_destroyed", at, 0.0f, 1.0f);
    objects.world().removeEntity(&resource);
}

// The solid cell nearest to `point` (by its top-left corner) under the box; the first of
// equals in row order wins.
bool nearestSolidCell(const GameObjectSimulator& objects, const fpRect& box, const fpVector2& point, iVector2& out) {
    float best = std::numeric_limits<float>::max();
    bool found = false;
    const auto cell = [](float pixels) { return std::int32_t(pixels / TileSize); };
    for (std::int32_t row = cell(box.y); row <= cell(box.bottom()); ++row) {
        for (std::int32_t column = cell(box.x); column <= cell(box.right()); ++column) {
            if (!objects.isSolidCell({column, row})) continue;
            const float dx = point.x - float(column) * TileSize;
            const float dy = point.y - float(row) * TileSize;
            const float distance = dx * dx + dy * dy;
            if (distance < best) {
                best = distance;
                out = {column, row};
                found = true;
            }
        }
    }
    return found;
}

} // namespace

void handleContact(GameObjectSimulator& objects, PhysicalCollision& contact) {
    if (!contact.body || !contact.otherBody) return;
    const PhysicalObject& mover = *contact.body->owner;
    const PhysicalObject& other = *contact.otherBody->owner;
    if (isLevelBody(*contact.body) || isLevelBody(*contact.otherBody)) {
        Entity* entity = isLevelBody(*contact.body) ? other.ownerEntity : mover.ownerEntity;
        GameObject* object = asGameObject(entity);
        if (object && objectAlive(*object)) levelContact(objects, *object, contact);
        return;
    }
    Entity* first = mover.ownerEntity;
    Entity* second = other.ownerEntity;
    if (!first || !second || !first->alive() || !second->alive()) return;
    GameObject* firstObject = asGameObject(first);
    GameObject* secondObject = asGameObject(second);
    if ((firstObject && !objectAlive(*firstObject)) || (secondObject && !objectAlive(*secondObject))) return;
    if (firstObject && secondObject) {
        ActorObject* firstActor = asActor(first);
        ActorObject* secondActor = asActor(second);
        if (firstActor && secondActor)
            actorActorContact(objects, contact, *firstActor, *secondActor);
        else if (firstActor)
            actorObjectContact(objects, contact, *firstActor, *secondObject);
        else if (secondActor)
            actorObjectContact(objects, contact, *secondActor, *firstObject);
        return;
    }
    GameObject* object = firstObject ? firstObject : secondObject;
    Entity* rest = firstObject ? second : first;
    if (!object) return;
    if (rest->type() == EntityType::Shape)
        touchShape(*rest);
    else if (rest->type() == EntityType::Beam)
        beamContact(objects, static_cast<Beam&>(*rest), *object, contact);
}

void actorObjectContact(GameObjectSimulator& objects, PhysicalCollision& contact, ActorObject& actor,
                        GameObject& other) {
    if (other.kind() == GameObjectKind::Resource) {
        auto& resource = static_cast<ResourceObject&>(other);
        if (&actor == objects.world().player()) {
            objects.pickUpResource(actor, resource);
            return;
        }
        const bool mover = contact.body->owner == &actor.physicalObject;
        if (!mover || !(actor.definition().crushDamage.amount > 0.0f)) return;
        if (contact.depth > 0.0f && contact.distance > 0.0f) destroyResource(objects, resource);
        contact.passThrough = true;
        return;
    }
    if (other.kind() != GameObjectKind::Projectile) return;
    auto& projectile = static_cast<Projectile&>(other);
    if (projectile.ownerId == actor.id())
        contact.passThrough = true;
    else
        projectileContact(objects, projectile, contact);
}

void projectileContact(GameObjectSimulator& objects, Projectile& projectile, PhysicalCollision& contact) {
    const bool projectileMoves = contact.body->owner == &projectile.physicalObject;
    const PhysicalBody& touched = projectileMoves ? *contact.otherBody : *contact.body;
    constexpr std::uint32_t BouncingGroups = CollisionGroup::Actors;
    if ((touched.group & BouncingGroups) != 0) {
        ActorObject* owner = asActor(touched.owner->ownerEntity);
        if (owner && owner->definition().specialType == SpecialType::Bouncer && owner->isAlive() &&
            bounce(objects, *owner, contact, projectile))
            return;
    }
    const ProjectileDefinition& definition = projectile.definition();
    if (!definition.contactFuze) return;
    projectile.contactGroups = touched.group;
    if (!projectile.damage.damage.contactOnly) return;
    projectile.contactNormal = contact.normal;
    projectile.motionDirection = (contact.target - projectile.getPosition()).normalized();
    if (Entity* target = touched.owner->ownerEntity) projectile.targetId = target->id();
    if ((projectile.contactGroups & CollisionGroup::Tiles) == 0) return;
    const fpVector2 point = contact.position - contact.normal;
    const fpRect& box = definition.collisionBox;
    iVector2 cell;
    if (nearestSolidCell(objects, fpRect(point.x + box.x, point.y + box.y, box.w, box.h), point, cell))
        projectile.pendingCell = cell;
}

void beamActorContact(GameObjectSimulator& objects, Beam& beam, ActorObject& actor, PhysicalCollision& contact) {
    const BeamDefinition& definition = *beam.definition;
    const DamageData& damage = definition.damage;
    const fpVector2 knockback = contact.normal * damage.knockbackMultiplier;
    if (damage.amount != 0.0f || damage.enemyAmount != 0.0f || damage.totalHits != 0.0f) {
        DamageData copy = damage;
        copy.sourceObjectId = beam.ownerId;
        if (!actor.definition().invulnerableToBeams && objects.damageActor(actor, copy, contact.normal) &&
            damage.knockbackMultiplier > 0.0f && definition.isSensor)
            objects.applyKnockback(actor, knockback, definition.stunTime);
    }
    // A solid beam pushes whatever it touches, beam-proof or not.
    if (damage.knockbackMultiplier > 0.0f && !definition.isSensor)
        objects.applyKnockback(actor, knockback, definition.stunTime);
}

void beamProjectileContact(GameObjectSimulator& objects, Beam& beam, Projectile& projectile) {
    if (projectile.definition().immuneToBeams && beam.definition->damage.type != DamageType::Barrier) return;
    objects.detonateProjectile(projectile);
}

} // namespace zor
