// Two actors pressing on each other: riding, ramming and stomping, pools, ladders, contact
// damage, crushing, one-way platforms and bouncers.

#include "game/simulation/contacts/ContactRules.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/movement/MovementRules.h"

#include "game/definitions/Damage.h"
#include "game/definitions/NameEnumerations.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/physics/PhysicalCollision.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/store/AchievementStore.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

constexpr float RamAmount = 20.0f;
// A player pinned less than this far under a crusher's edge steps aside instead.
constexpr float SideStepLimit = 8.0f;
// Crushed enemies count for the player only when it saw them go.
constexpr float CrushWitnessDistance = 200.0f;
constexpr float LootGap = 8.0f;
constexpr float NudgeTime = 0.1f;

bool isPlayer(const ActorObject& actor) { return actor.definition().specialType == SpecialType::Player; }
bool isSpecial(const ActorObject& actor, SpecialType type) { return actor.definition().specialType == type; }

fpRect firstBounds(const GameObject& object) {
    const auto& bodies = object.physicalObject.bodies();
    return bodies.empty() ? fpRect(object.getPosition().x, object.getPosition().y, 0.0f, 0.0f)
                          : bodies.front().getBounds();
}

fpVector2 centreOf(const fpRect& rect) { return {rect.x + rect.w / 2.0f, rect.y + rect.h / 2.0f}; }

// Zero when the centres coincide: a push without a direction is no push at all.
fpVector2 awayFrom(const GameObject& from, const GameObject& to) {
    return (centreOf(firstBounds(to)) - centreOf(firstBounds(from))).normalized();
}

float signOf(float value) { return value > 0.0f ? 1.0f : (value < 0.0f ? -1.0f : 0.0f); }

DamageData ramDamage(float amount) {
    DamageData damage;
    Damage::init(damage, 1, std::int32_t(DamageType::Normal), amount, 0.0f, 0.0f);
    damage.playerInvulnerabilityCooldown = 2.0f;
    damage.knockbackMultiplier = 1.0f;
    return damage;
}

void playerRules(GameObjectSimulator& objects, ActorObject& player, ActorObject& other) {
    if (other.behaviorMachine) other.behaviorMachine->postEvent("touched");
    const bool enemy = other.definition().collisionGroup == CollisionGroup::Enemies;
    const fpVector2 direction = awayFrom(player, other);
    if (!player.hidden && enemy && player.doubleJumpActive)
        objects.damageActor(other, ramDamage(RamAmount), direction);
    const ActorDefinition& definition = player.definition();
    if (definition.fallDistance != 0.0f && player.fallDistance > definition.fallDistance && enemy) {
        const float amount = definition.fallDamageMinimum + definition.fallDamagePerDistance *
                                                                (player.fallDistance - definition.fallDistance) /
                                                                TileSize;
        objects.damageActor(other, ramDamage(amount), direction);
    }
    const bool rides = (other.definition().collisionGroup & (CollisionGroup::HardEnemies | CollisionGroup::Rocks)) != 0;
    player.standingOnId = rides ? other.id() : 0;
}

bool ladderLetsThrough(const ActorObject& mover, const ActorObject& ladder) {
    return mover.ladderId != 0 || mover.climbing != 0 || mover.moveVector.y > 0.0f ||
           (ladder.physicalObject.velocity.y != 0.0f && isPlayer(mover));
}

void pushBackPlayer(GameObjectSimulator& objects, const PhysicalCollision& contact, const ActorObject& player,
                    const ActorObject& other) {
    float nx = contact.normal.x;
    float depth = contact.depth;
    if (nx == 0.0f) {
        const fpRect a = firstBounds(player);
        const fpRect b = firstBounds(other);
        nx = signOf(centreOf(a).x - centreOf(b).x);
        fpRect overlap = a;
        depth = overlap.intersect(b) ? overlap.w : 0.0f;
        if (nx == 0.0f) {
            nx = 1.0f;
            depth = 0.0f;
        }
    }
    const float margin = objects.settings().pushBackMargin;
    const float factor = other.definition().contactDamage.knockbackMultiplier;
    float& remaining = objects.pushBackRemaining;
    if (nx == signOf(remaining))
        remaining = std::max(std::fabs((margin + depth) * nx), std::fabs(remaining)) * nx * factor;
    else
        remaining = (margin + depth) * nx * factor + remaining;
}

// Leaves the actor where it stood and true when the move failed.
bool tryStepAside(PhysicsSystem& physics, ActorObject& actor, float dx) {
    const fpVector2 start = actor.getPosition();
    if (!physics.moveObjectTo(actor.physicalObject, start + fpVector2(dx, 0.0f), false, nullptr, false)) return false;
    actor.timedOffset = actor.getPosition() - start;
    actor.timedOffsetRemaining = NudgeTime;
    actor.timedOffsetDuration = NudgeTime;
    return true;
}

bool sideStep(PhysicsSystem& physics, ActorObject& player, const ActorObject& crusher) {
    const fpRect b = firstBounds(player);
    const fpRect a = firstBounds(crusher);
    if (b.x <= a.x && b.right() - a.x < SideStepLimit && tryStepAside(physics, player, -(b.right() - a.x)))
        return true;
    return b.x > a.x && a.right() - b.x < SideStepLimit && tryStepAside(physics, player, a.right() - b.x);
}

void breakUp(GameObjectSimulator& objects, ActorObject& crusher) {
    crusher.physicalObject.collidable = false;
    crusher.dying = true;
    const ActorDefinition& definition = crusher.definition();
    World& world = objects.world();
    if (!definition.endEffect.empty()) world.spawnEffect(definition.endEffect, centreOf(firstBounds(crusher)), 0.0f, 1.0f);
    if (!definition.endSound.empty()) world.soundRequests.push_back({definition.endSound, crusher.getPosition(), 1.0f});
}

void crushed(GameObjectSimulator& objects, const ActorObject& crusher, ActorObject& victim) {
    victim.goodLoot = true;
    victim.physicalObject.collidable = false;
    const fpVector2 g = crusher.physicalObject.gravity.normalized();
    const fpRect a = firstBounds(crusher);
    const fpVector2 beyond(g.x * (a.w / 2.0f + LootGap), g.y * (a.h / 2.0f + LootGap));
    victim.lootOffset = centreOf(a) - beyond - centreOf(firstBounds(victim));
    const ActorObject* player = objects.world().player();
    if (player && &victim != player && victim.definition().collisionGroup == CollisionGroup::Enemies &&
        (player->getPosition() - victim.getPosition()).length() <= CrushWitnessDistance)
        updateAchievementCounter(1, false, "cntr_crushed_enemies");
}

bool noclip() {
    static DebugFlag& flag = declareDebugToggle(DebugToggle("noclip", DebugToggle::Toggle, "game debug"));
    return flag;
}

// False when crushing does not apply to the victim; the contact then goes on.
bool crush(GameObjectSimulator& objects, PhysicalCollision& contact, ActorObject& crusher, ActorObject& victim) {
    const DamageData& damage = crusher.definition().crushDamage;
    const fpVector2 direction = awayFrom(crusher, victim);
    if (!objects.canDamageActor(victim, damage, direction)) return false;
    const bool victimIsPlayer = isPlayer(victim);
    if (victimIsPlayer && noclip()) return false;
    PhysicsSystem& physics = *objects.physics();
    const fpVector2 target = victim.getPosition() - contact.normal * (contact.depth * 1.1f);
    if (!contact.sensor && victim.definition().updatePhysics &&
        physics.moveObjectTo(victim.physicalObject, target, false, &crusher.physicalObject, false)) {
        fpVector2 along = victim.physicalObject.velocity;
        along.projectOn({contact.normal.y, -contact.normal.x});
        fpVector2 pushed = crusher.physicalObject.velocity;
        pushed.projectOn(-contact.normal);
        victim.physicalObject.velocity = along + pushed;
        contact.passThrough = true;
        return true;
    }
    if (victimIsPlayer && sideStep(physics, victim, crusher)) {
        contact.passThrough = true;
        return true;
    }
    contact.passThrough = true;
    if (!objects.damageActor(victim, damage, direction)) return true;
    if (damage.type == DamageType::WoodCrush)
        breakUp(objects, crusher);
    else
        crushed(objects, crusher, victim);
    return true;
}

void oneWayPlatform(PhysicalCollision& contact, const ActorObject& mover, const ActorObject& platform) {
    if (!platform.platformCollision) return;
    const bool fromAbove = std::fabs(contact.normal.y + 1.0f) < 0.01f &&
                           contact.otherBody->getBounds().y >= mover.getPosition().y;
    contact.passThrough = !fromAbove;
    if (isSpecial(mover, SpecialType::Ladder)) contact.passThrough = false;
}

} // namespace

bool inPoolWater(const ActorObject& pool, const fpRect& rect) {
    const fpRect basin = firstBounds(pool);
    const float top = basin.y + basin.h * (1.0f - pool.waterLevelFactor());
    return rect.x < basin.right() && rect.right() > basin.x && rect.y < basin.bottom() && rect.bottom() > top;
}

void actorActorContact(GameObjectSimulator& objects, PhysicalCollision& contact, ActorObject& mover,
                       ActorObject& other) {
    if (isPlayer(mover)) playerRules(objects, mover, other);
    if (isSpecial(other, SpecialType::Pool)) {
        const fpRect& box = mover.definition().collisionBox;
        if (inPoolWater(other, fpRect(contact.target.x + box.x, contact.target.y + box.y, box.w, box.h)))
            mover.poolId = other.id();
        contact.passThrough = true;
    }
    if (isSpecial(other, SpecialType::Ladder) && ladderLetsThrough(mover, other)) {
        contact.passThrough = true;
        return;
    }
    const ActorDefinition& otherDefinition = other.definition();
    if (otherDefinition.destroyOnContact) other.hitPoints = 0.0f;
    const DamageData& touch = otherDefinition.contactDamage;
    if (!mover.doubleJumpActive && !other.hidden && touch.amount > 0.0f &&
        (otherDefinition.enemies & mover.definition().allyGroup) != 0) {
        DamageData damage = touch;
        damage.sourceObjectId = other.id();
        if (objects.damageActor(mover, damage, awayFrom(other, mover)) && isPlayer(mover) && mover.isAlive())
            pushBackPlayer(objects, contact, mover, other);
    }
    const fpVector2 moverVelocity = mover.physicalObject.velocity;
    const fpVector2 otherVelocity = other.physicalObject.velocity;
    if (isSpecial(mover, SpecialType::Fallblock) && isSpecial(other, SpecialType::Fallblock) &&
        moverVelocity != fpVector2() && otherVelocity != fpVector2() &&
        otherVelocity.unit().dot(moverVelocity.unit()) > 0.5f)
        contact.keepVelocity = true;
    if (mover.definition().crushDamage.amount > 0.0f && otherDefinition.crushDamage.amount == 0.0f &&
        contact.depth > 0.0f && crush(objects, contact, mover, other))
        return;
    oneWayPlatform(contact, mover, other);
    if (contact.passThrough) return;
    if (isSpecial(other, SpecialType::Bouncer) && other.isAlive()) bounce(objects, other, contact, mover);
    checkLanding(objects, mover, contact);
    wallSlide(objects, mover, contact);
    if (!contact.sensor && std::fabs(contact.normal.x) > 0.5f) postCollisionEvents(objects, mover);
}

bool bounce(GameObjectSimulator& objects, ActorObject& bouncer, PhysicalCollision& contact, GameObject& mover) {
    const fpVector2 d = -bouncer.attachedDirection();
    if (!(contact.normal.dot(d) > 0.5f)) return contact.normal == fpVector2();
    const std::string& sound = bouncer.gameObjectDefinition().collideSound;
    if (!sound.empty()) bouncer.pendingSounds.push_back(sound);
    objects.world().spawnEffect("spore_fx", centreOf(firstBounds(bouncer)), 0.0f, 1.0f);
    bouncer.sendAnimationInput("active", "");
    contact.holdPosition = true;
    fpVector2 along = mover.physicalObject.velocity;
    along.projectOn({-d.y, d.x});
    if (mover.kind() == GameObjectKind::Actor) {
        auto& actor = static_cast<ActorObject&>(mover);
        if (std::fabs(d.x) > 0.001f) actor.knockbackTime = 0.3f;
        actor.fallDistance = 0.0f;
        actor.jumpCount = 0;
        actor.gravityHold = false;
        if (actor.doubleJumpActive) endDoubleJumpAnimation(actor);
    }
    mover.physicalObject.velocity = d * 500.0f + along;
    return true;
}

} // namespace zor
