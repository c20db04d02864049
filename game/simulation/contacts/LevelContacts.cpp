// Floors, walls and ceilings: landing and pressure, breaking through after a long fall,
// wall slides, head bumps and the collision events of behaviour machines.

#include "game/simulation/contacts/ContactRules.h"

#include "game/simulation/GameObjectSimulator.h"

#include "game/definitions/Damage.h"
#include "game/definitions/NameEnumerations.h"
#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/entity/Projectile.h"
#include "game/world/level/TileAccess.h"
#include "game/world/level/TileType.h"
#include "game/world/physics/PhysicalCollision.h"
#include "game/world/physics/PhysicsSystem.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor {

namespace {

constexpr float PressureRate = 15.0f;  // damage per second
constexpr float WallPressureShare = 0.0833333358f;
constexpr float HeadButtThreshold = 250.0f;  // px/s upward
constexpr float HeadButtFull = 600.0f;       // px/s upward: the fewest hits
constexpr float NudgeTime = 0.1f;
constexpr float StepProbeSide = 4.0f;

ActorObject* asActor(GameObject& object) {
    return object.kind() == GameObjectKind::Actor ? static_cast<ActorObject*>(&object) : nullptr;
}

bool climbs(const GameObject& object) {
    return object.kind() == GameObjectKind::Actor && static_cast<const ActorObject&>(object).climbing != 0;
}

fpRect firstBounds(const GameObject& object) {
    const auto& bodies = object.physicalObject.bodies();
    return bodies.empty() ? fpRect(object.getPosition().x, object.getPosition().y, 0.0f, 0.0f)
                          : bodies.front().getBounds();
}

bool blocks(const PhysicalCollision& contact) { return !contact.sensor && !contact.passThrough; }

std::int32_t cellOf(float pixels) { return std::int32_t(pixels / TileSize); }

// Cells outside the grid are never solid, so their tile type is never looked at.
bool solidWithFlag(const GameObjectSimulator& objects, std::int32_t column, std::int32_t row, TileType::Flag flag) {
    return objects.isSolidCell({column, row}) && tileMaterialAtChecked(*objects.world().level, column, row).has(flag);
}

void queueSound(GameObject& object, const std::string& cue) {
    if (!cue.empty()) object.pendingSounds.push_back(cue);
}

void post(ActorObject& actor, const char* event) {
    if (actor.behaviorMachine) actor.behaviorMachine->postEvent(event);
}

void landing(GameObjectSimulator& objects, GameObject& object, const PhysicalCollision& contact) {
    const float downward = object.physicalObject.velocity.y;
    if (ActorObject* actor = asActor(object)) {
        if (actor == objects.world().player() && actor->fallDistance > 0.0f) actor->attackRepeat = true;
        const ActorDefinition& definition = actor->definition();
        if (definition.fallDistance <= actor->fallDistance) {
            const float amount = definition.fallDamageMinimum + definition.fallDamagePerDistance *
                                                                    (actor->fallDistance - definition.fallDistance) /
                                                                    TileSize;
            if (objects.applyFallDamage(*actor, actor->fallDistance, contact.target) ||
                definition.fallDamageIgnored || !(amount > 0.0f))
                return;
        }
    }
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    if (definition.softLandingSpeed > 0.0f && !climbs(object) && downward > definition.softLandingSpeed)
        queueSound(object, definition.softLandingSound);
}

// The player clipped a ceiling corner: slide it past the edge when there is room.
bool nudgeAroundCorner(GameObjectSimulator& objects, ActorObject& player, PhysicalCollision& contact,
                       std::int32_t column) {
    const fpRect bounds = firstBounds(player);
    const float left = float(column) * TileSize - bounds.x;
    const float right = float(column) * TileSize + TileSize - bounds.right();
    const float dx = std::fabs(left) < std::fabs(right) ? left : right;
    const fpVector2 position = player.getPosition();
    fpRect moved(bounds.x + dx, bounds.y, bounds.w, bounds.h);
    fpRect swept = moved;
    swept.unite(fpRect(moved.x, moved.y + contact.target.y - position.y, moved.w, moved.h));
    std::uint32_t mask = 0;
    for (const PhysicalBody& body : player.physicalObject.bodies())
        if (!body.sensor) mask |= body.mask;
    if (objects.physics()->testRect(swept, mask)) return false;
    fpVector2& velocity = player.physicalObject.velocity;
    if ((dx > 0.0f && velocity.x < 0.0f) || (dx < 0.0f && velocity.x > 0.0f)) velocity.x = 0.0f;
    player.timedOffset = fpVector2(dx, 0.0f);
    player.timedOffsetRemaining = NudgeTime;
    player.timedOffsetDuration = NudgeTime;
    player.setPosition(fpVector2(position.x + dx, contact.target.y));
    contact.holdPosition = true;
    return true;
}

void headButt(GameObjectSimulator& objects, ActorObject& player) {
    const float speed = std::fabs(player.physicalObject.velocity.y);
    const float threshold = !player.normalJump && player.gameObjectDefinition().headBumpDamage
                                ? HeadButtThreshold
                                : std::numeric_limits<float>::max();
    if (!(speed > threshold)) return;
    DamageData damage;
    damage.tier = 2;
    damage.totalHits = 1.0f + 5.0f * std::clamp(1.0f - (speed - threshold) / (HeadButtFull - threshold), 0.0f, 1.0f);
    const fpVector2 position = player.getPosition();
    objects.digCell({cellOf(position.x), cellOf(position.y) - 1}, fpVector2(0.0f, -1.0f), damage);
}

// Only the tile map's ceiling counts; the level bounds' top does nothing to the head.
void actorHeadBump(GameObjectSimulator& objects, ActorObject& actor, PhysicalCollision& contact) {
    if ((contact.otherBody->group & CollisionGroup::Tiles) == 0) return;
    if (&actor == objects.world().player()) {
        const fpRect bounds = firstBounds(actor);
        const iVector2 above(cellOf(bounds.x + bounds.w / 2.0f), cellOf(bounds.y + bounds.h / 2.0f) - 1);
        if (!objects.isSolidCell(above) && nudgeAroundCorner(objects, actor, contact, above.x)) return;
        if (objects.isSolidCell(above)) headButt(objects, actor);
        return;
    }
    const ActorDefinition& definition = actor.definition();
    if (definition.collideDamageAmount > 0.0f &&
        actor.physicalObject.velocity.y <= -definition.collideDamageRequiredVelocity) {
        DamageData damage;
        damage.amount = definition.collideDamageAmount;
        objects.damageActor(actor, damage, fpVector2(0.0f, 1.0f));
    }
}

} // namespace

void levelContact(GameObjectSimulator& objects, GameObject& object, PhysicalCollision& contact) {
    if (object.kind() == GameObjectKind::Projectile) {
        projectileContact(objects, static_cast<Projectile&>(object), contact);
    } else if (object.kind() == GameObjectKind::Resource) {
        const GameObjectDefinition& definition = object.gameObjectDefinition();
        if (!definition.collideSound.empty() && object.secondTimer <= 0.0f) {
            object.secondTimer = definition.collideSoundTime;
            object.pendingSounds.push_back(definition.collideSound);
        }
    }
    ActorObject* actor = asActor(object);
    bool gaveWay = false;
    if (actor && blocks(contact) && contact.normal.dot(object.physicalObject.gravity) < 0.0f &&
        fallDig(objects, *actor)) {
        gaveWay = true;
        contact.sweepAgain = true;
        fpVector2& velocity = object.physicalObject.velocity;
        velocity.x += std::fabs(velocity.x) * contact.normal.x * 0.5f;
        velocity.y += std::fabs(velocity.y) * contact.normal.y * 0.5f;
    }
    checkLanding(objects, object, contact);
    wallSlide(objects, object, contact);
    headBump(objects, object, contact);
    if (actor && std::fabs(contact.normal.x) > 0.5f) postCollisionEvents(objects, *actor);
    if (gaveWay) actor->fallDistance = 0.0f;
}

void checkLanding(GameObjectSimulator& objects, GameObject& object, const PhysicalCollision& contact) {
    if (!(-contact.normal.y > 0.5f) || !blocks(contact)) return;
    if (object.gameObjectDefinition().weightPressure)
        queuePressureDamage(objects, objects.frontCells(object.physicalObject.gravity, firstBounds(object)),
                            PressureRate);
    if (object.physicalObject.velocity.y > 0.0f) landing(objects, object, contact);
}

void queuePressureDamage(GameObjectSimulator& objects, const iRect& cells, float rate) {
    for (std::int32_t row = cells.y; row < cells.y + cells.h; ++row)
        for (std::int32_t column = cells.x; column < cells.x + cells.w; ++column)
            if (objects.isSolidCell({column, row}) &&
                !solidWithFlag(objects, column, row, TileType::BreaksUnderPressure))
                return;
    for (std::int32_t row = cells.y; row < cells.y + cells.h; ++row)
        for (std::int32_t column = cells.x; column < cells.x + cells.w; ++column)
            objects.queueCellDamage(column, row, rate);
}

bool fallDig(GameObjectSimulator& objects, ActorObject& actor) {
    const ActorDefinition& definition = actor.definition();
    const float fall = actor.fallDistance;
    if (!(definition.fallTileDamageConstant || definition.fallTileDamageLinear) || !(fall > 0.0f) ||
        fall < definition.fallDistance)
        return false;
    DamageData damage;
    damage.amount = 0.0f;
    damage.tier = 2;
    damage.totalHits =
        definition.fallTileDamageLinear ? float(std::max(3 - std::int32_t(fall / TileSize), 1)) : 3.0f;
    damage.sourceObjectId = actor.id();
    const float excess = std::min(std::max(fall - definition.fallDistance, 0.0f), 1000.0f);
    const float amplitude = excess / 50.0f + 2.0f;
    const float duration = std::clamp(excess / 50.0f, 0.2f, 1.0f);
    const GameObjectSimulator::FrontDig dig =
        objects.digFront(firstBounds(actor), actor.physicalObject.velocity, damage);
    // A strip without solid cells broke nothing: the floor did not give way.
    const bool broke = dig.solidCells > 0 && dig.allBroke;
    if (!definition.fallDamageIgnored) {
        if (broke && &actor == objects.world().player()) objects.world().shakeCamera(amplitude, duration, 1);
        if (actor.isAlive()) actor.setAnimationSpeed(0.0f, duration);
        queueSound(actor, actor.isAlive() ? definition.fallSound : definition.criticalFallSound);
    } else {
        queueSound(actor, definition.softLandingSound);
    }
    objects.makeNoise(actor, NoiseSize::Medium);
    return broke;
}

void wallSlide(GameObjectSimulator& objects, GameObject& object, const PhysicalCollision& contact) {
    ActorObject* actor = asActor(object);
    if (!actor || !(std::fabs(contact.normal.x) > 0.5f) || !blocks(contact)) return;
    if (((contact.body->group | contact.otherBody->group) & CollisionGroup::Bounds) != 0) return;
    const std::int32_t column = std::int32_t(contact.target.x / TileSize - contact.normal.x);
    const std::int32_t row = std::int32_t((contact.target.y - 10.0f) / TileSize);
    if (solidWithFlag(objects, column, row, TileType::NoWallSlide)) return;
    const float push = actor->moveVector.x;
    const bool intoWall = push != 0.0f && (push > 0.0f) != (contact.normal.x > 0.0f);
    if (actor->groundState != 0 || !intoWall) return;
    actor->wallSide = contact.normal.x >= 0.0f ? 1 : -1;
    actor->fallDistance = 0.0f;
    actor->sendAnimationInput("wallslide", actor->definition().animationState);
    if (actor->gameObjectDefinition().weightPressure)
        objects.queueCellDamage(column, row, std::fabs(actor->physicalObject.velocity.y) * WallPressureShare);
}

void headBump(GameObjectSimulator& objects, GameObject& object, PhysicalCollision& contact) {
    if (!(contact.normal.y > 0.5f) || !(object.physicalObject.velocity.y < 0.0f)) return;
    if (ActorObject* actor = asActor(object)) actorHeadBump(objects, *actor, contact);
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    if (definition.softLandingSpeed > 0.0f && !climbs(object) &&
        std::fabs(object.physicalObject.velocity.y) > definition.softLandingSpeed)
        queueSound(object, definition.headBumpSound);
}

void postCollisionEvents(GameObjectSimulator& objects, ActorObject& actor) {
    if (actor.groundState != 0 && !actor.physicalObject.bodies().empty()) {
        const PhysicalBody& body = actor.physicalObject.bodies().front();
        const fpRect bounds = body.getBounds();
        PhysicsSystem& physics = *objects.physics();
        const float x = actor.physicalObject.velocity.x <= 0.0f ? bounds.x - StepProbeSide
                                                                 : bounds.right() + StepProbeSide;
        if (!physics.testRect(fpRect(bounds.x, bounds.y - TileSize, 1.0f, 1.0f), body.mask) &&
            !physics.testRect(fpRect(x, bounds.y - TileSize, 1.0f, 1.0f), body.mask))
            post(actor, "atStep");
    }
    post(actor, "collision");
    post(actor, actor.groundState == 0 ? "collisionAir" : "collisionGround");
}

} // namespace zor
