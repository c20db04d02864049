// Projectiles going off, and the area damage and knockback of blasts.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/attacks/AttackSupport.h"

#include "game/world/World.h"
#include "game/world/entity/Projectile.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Collision.h"
#include "Framework/core/math/Curve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zor {

namespace {

constexpr std::uint32_t BlastVictimMask = CollisionGroup::Player | CollisionGroup::Enemies |
                                          CollisionGroup::HardEnemies | CollisionGroup::Rocks;
constexpr std::uint32_t KnockbackMask = CollisionGroup::Player | CollisionGroup::Enemies;
// Knockback lifts its victims a little so that they leave the ground.
const fpVector2 KnockbackLift(0.0f, -0.3f);
constexpr std::int32_t PatternTier = 4;

fpVector2 bodyCentre(const GameObject& object) {
    return object.physicalObject.bodies().empty() ? object.getPosition() : object.center();
}

std::int32_t clampCell(std::int32_t value, std::int32_t size) { return std::clamp(value, 0, std::max(0, size - 1)); }

} // namespace

void GameObjectSimulator::explodeProjectile(Projectile& projectile) {
    const ProjectileDefinition& definition = projectile.definition();
    RadialDamageData& radial = projectile.damage;
    DamageData& damage = radial.damage;
    const fpVector2 centre = bodyCentre(projectile);
    if (!definition.detonationEffect.empty())
        m_world.spawnEffect(definition.detonationEffect,
                            projectile.getPosition() + projectile.orientOffset(definition.detonationEffectOffset), 0.0f,
                            1.0f);
    if (definition.cameraShake > 0.0f)
        m_world.shakeCamera(definition.cameraShake, definition.cameraShakeDuration, std::int32_t(CurveType::Quadratic));

    if (damage.contactOnly) {
        bool damagedActor = false;
        const fpVector2 travel = -projectile.contactNormal.normalized();
        GameObject* target = projectile.targetId != 0 ? m_world.findGameObject(projectile.targetId) : nullptr;
        // Only actors take hits; any other object it touched is left unharmed.
        if (target && target->kind() == GameObjectKind::Actor) {
            auto& victim = static_cast<ActorObject&>(*target);
            float leftover = 0.0f;
            damagedActor = damageActor(victim, damage, travel, &leftover);
            damage.amount = leftover;
            if (definition.knockbackAmount > 0.0f) {
                const fpRect bounds = victim.physicalObject.getBounds();
                const fpVector2 foot(bounds.x + bounds.w * 0.5f, bounds.bottom());
                const fpVector2 away = ((centre - foot).normalized() + KnockbackLift).normalized();
                const fpVector2 velocity =
                    (away * definition.knockbackAmount +
                     projectile.physicalObject.velocity * definition.knockbackVelocityFactor) *
                    damage.knockbackMultiplier;
                applyKnockback(victim, velocity, definition.knockbackStunTime);
            }
        }
        projectile.targetId = 0;
        if ((projectile.contactGroups & CollisionGroup::Tiles) != 0 && projectile.pendingCell.x >= 0 &&
            projectile.pendingCell.y >= 0) {
            float leftover = 0.0f;
            digCell(projectile.pendingCell, travel, damage, &leftover);
            damage.amount = leftover;
            projectile.pendingCell = iVector2(-1, -1);
        } else if (!damagedActor) {
            damage.amount = 0.0f;
        }
        projectile.contactGroups = 0;
    } else {
        if (radial.radius > 0.0f) radialDamage(radial, centre);
        if (definition.knockbackAmount > 0.0f)
            radialKnockback(centre, definition.knockbackRadius, definition.knockbackAmount,
                            definition.knockbackStunTime);
    }
    if (!definition.detonationSpawn.empty())
        m_world.spawnActor(definition.detonationSpawn, {centre.x, centre.y - 20.0f * projectile.motionDirection.x},
                           {1.0f, 0.0f});
    makeNoise(projectile, NoiseSize::Huge);
    const bool penetrates = damage.contactOnly && definition.exhaustivePenetration && damage.amount > 0.0f &&
                            projectile.fuzeTime >= 0.0f && !definition.instantFuze;
    if (!penetrates) m_world.removeEntity(&projectile);
}

DamageData GameObjectSimulator::radialDamageAt(const RadialDamageData& radial, float t) const {
    DamageData damage = radial.damage;
    const float factor = evaluateCurve(radial.falloff, t);
    damage.amount *= factor;
    damage.enemyAmount *= factor;
    return damage;
}

void GameObjectSimulator::radialDamage(const RadialDamageData& radial, const fpVector2& centre) {
    const float radius = radial.radius;
    if (!(radius > 0.0f) || !m_physics) return;
    const fpVector3 circle(centre.x, centre.y, radius);
    m_overlapQuery.clear();
    m_physics->queryRect(fpRect(centre.x - radius, centre.y - radius, 2.0f * radius, 2.0f * radius), BlastVictimMask,
                         m_overlapQuery);
    // Damage may kill and so change the physics: hold the actors by id.
    std::vector<std::int32_t> victims;
    for (PhysicalObject* found : m_overlapQuery)
        if (ActorObject* actor = actorOwner(found)) victims.push_back(actor->id());
    for (const std::int32_t id : victims) {
        GameObject* object = m_world.findGameObject(id);
        if (!object || object->physicalObject.bodies().empty()) continue;
        auto& actor = static_cast<ActorObject&>(*object);
        const fpVector2 push = rectCirclePenetration(actor.physicalObject.bodies().front().getBounds(), circle);
        if (push.isZero()) continue;
        if (radial.canBeNullified && actor.definition().nullifyRadialDamage) continue;
        const float distance = push.length();
        damageActor(actor, radialDamageAt(radial, std::clamp(distance / radius, 0.0f, 1.0f)), -push / distance);
    }

    const Level* level = m_world.level.get();
    if (!level) return;
    const std::int32_t width = level->tileMap->width();
    const std::int32_t height = level->tileMap->height();
    if (radial.tileDamagePattern <= 0) {
        const std::int32_t left = clampCell(std::int32_t((centre.x - radius) / TileSize), width);
        const std::int32_t right = clampCell(1 + std::int32_t((centre.x + radius) / TileSize), width);
        const std::int32_t top = clampCell(std::int32_t((centre.y - radius) / TileSize), height);
        const std::int32_t bottom = clampCell(1 + std::int32_t((centre.y + radius) / TileSize), height);
        for (std::int32_t y = top; y <= bottom; ++y)
            for (std::int32_t x = left; x <= right; ++x) {
                const fpRect cell(float(x) * TileSize, float(y) * TileSize, TileSize, TileSize);
                const fpVector2 push = rectCirclePenetration(cell, circle);
                if (push.isZero()) continue;
                const float distance = push.length();
                digCell(iVector2(x, y), -push / distance,
                        radialDamageAt(radial, std::clamp(distance / radius, 0.0f, 1.0f)));
            }
        return;
    }
    const std::int32_t pattern = radial.tileDamagePattern;
    const iVector2 middle(std::int32_t(centre.x / TileSize), std::int32_t(centre.y / TileSize));
    for (std::int32_t y = std::max(0, middle.y - pattern); y <= std::min(height - 1, middle.y + pattern); ++y)
        for (std::int32_t x = std::max(0, middle.x - pattern); x <= std::min(width - 1, middle.x + pattern); ++x) {
            const std::int32_t manhattan = std::abs(x - middle.x) + std::abs(y - middle.y);
            if (manhattan > pattern) continue;
            DamageData damage;
            damage.tier = PatternTier;
            damage.totalHits = manhattan == pattern ? 2.0f : 1.0f;
            const fpVector2 direction =
                manhattan == 0 ? fpVector2()
                               : fpVector2(float(x - middle.x) / float(manhattan), float(y - middle.y) / float(manhattan));
            digCell(iVector2(x, y), direction, damage);
        }
}

void GameObjectSimulator::radialKnockback(const fpVector2& centre, float radius, float amount, float stunTime) {
    if (!m_physics) return;
    m_overlapQuery.clear();
    m_physics->queryRect(fpRect(centre.x - radius, centre.y - radius, 2.0f * radius, 2.0f * radius), KnockbackMask,
                         m_overlapQuery);
    for (PhysicalObject* found : m_overlapQuery) {
        ActorObject* actor = actorOwner(found);
        if (!actor || actor->physicalObject.bodies().empty()) continue;
        const fpVector2 offset = actor->center() - centre;
        const float distance = offset.length();
        if (distance > radius) continue;
        const float strength = evaluateCurve(CurveType::SmoothQuadratic, 1.0f - distance / radius) * amount;
        // An actor at the very centre has no direction away from it: it goes straight up.
        const fpVector2 away = (fpVector2::divideByLength(distance, offset) + KnockbackLift).normalized();
        applyKnockback(*actor, away * strength, stunTime);
    }
}

void GameObjectSimulator::applyKnockback(ActorObject& actor, const fpVector2& velocity, float stunTime) {
    const float sensitivity = actor.definition().knockbackSensitivity;
    if (actor.climbing != 0 || !(sensitivity > 0.0f) || !(actor.hitPoints > KnockbackMinimumHitPoints)) return;
    PhysicalObject& physical = actor.physicalObject;
    physical.awake = true;
    physical.woken = true;
    physical.sleepTimer = 0.0f;
    physical.velocity = velocity * sensitivity;
    actor.knockbackTime = sensitivity * stunTime;
}

} // namespace zor
