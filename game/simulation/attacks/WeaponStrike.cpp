// One strike of an actor's current weapon, by its attack type.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/attacks/AttackSupport.h"
#include "game/simulation/launch/LaunchVelocity.h"

#include "game/definitions/BeamDefinition.h"
#include "game/world/World.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/Projectile.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Angle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace zor {

namespace {

struct FanShot {
    float angleOffset;  // radians
    float forceFactor;
};
constexpr std::array<FanShot, 4> Fan{{{-2.5632741f, 0.8f}, {-1.8849556f, 1.0f}, {-1.2566371f, 1.0f}, {-0.5783185f, 0.8f}}};

constexpr float ChargedSoundThreshold = 0.25f;  // seconds of AttackChargeTime

bool facingRight(const GameObject& object) { return object.facing.x >= 0.0f; }

// The charge as a fraction of the full charge, 0 to 1.
float chargeFraction(const ActorObject& actor, const ActorDefinition::Weapon& weapon) {
    return std::min(actor.chargeTime, weapon.chargeTime) / weapon.chargeTime;
}

void addCharge(DamageData& damage, const DamageData& charge, float f) {
    damage.amount += float(std::int32_t(f * charge.amount));
    damage.tier += std::int32_t(f * float(charge.tier));
    damage.tileReduction += std::int32_t(f * float(charge.tileReduction));
    damage.enemyReduction += f * charge.enemyReduction;
    damage.enemyAmount += f * charge.enemyAmount;
    damage.totalHits += f * charge.totalHits;
    damage.enemyInvulnerabilityCooldown += f * charge.enemyInvulnerabilityCooldown;
    damage.playerInvulnerabilityCooldown += f * charge.playerInvulnerabilityCooldown;
    damage.knockbackMultiplier += f * charge.knockbackMultiplier;
}

} // namespace

void GameObjectSimulator::performAttack(ActorObject& attacker) {
    if (!attacker.hasWeapon()) return;
    const ActorDefinition::Weapon& weapon = attacker.currentWeapon();
    const float cooldownBefore = attacker.weaponCooldown;
    attacker.weaponCooldown = weapon.cooldown;
    if (weapon.chargeTime == 0.0f) {
        if (attacker.water < 0.0f) return;
        attacker.water = std::max(0.0f, attacker.water - weapon.waterDrain);
    }
    if (!weapon.attackSound.empty() && weapon.attackTime == 0.0f)
        m_world.soundRequests.push_back(
            {weapon.attackSound, attacker.getPosition(), 1.0f + float(attacker.hitCount) * weapon.pitchPerHit});
    if (!weapon.attackEffect.empty()) {
        const float scale = weapon.attackEffectScalesWithCharge && weapon.chargeTime > 0.0f
                                ? std::clamp(attacker.chargeTime / weapon.chargeTime, 0.5f, 1.0f)
                                : 1.0f;
        m_world.spawnEffect(weapon.attackEffect, attacker.getPosition() + attacker.orientOffset(weapon.attackEffectOffset),
                            0.0f, scale);
    }
    // Judged with the cooldown from before this strike: the one it starts would make every
    // strike of a weapon with a cooldown a miss.
    attacker.weaponCooldown = cooldownBefore;
    const bool usable = attacker.canUseCurrentWeapon();
    attacker.weaponCooldown = weapon.cooldown;
    if (!usable) {
        if (!weapon.missSound.empty()) attacker.pendingSounds.push_back(weapon.missSound);
    } else {
        ++attacker.hitCount;
        switch (weapon.attackType) {
        case AttackType::Player:
            meleeHit(attacker);
            break;
        case AttackType::Wall: {
            makeNoise(attacker, NoiseSize::Medium);
            m_world.spawnEffect("hit_light", attacker.getPosition(), 0.0f, 1.0f);
            DamageData damage = weapon.attackDamage;
            damage.sourceObjectId = attacker.id();
            const fpVector2 position = attacker.getPosition();
            const iVector2 cell(std::int32_t(position.x / TileSize), std::int32_t(position.y / TileSize));
            if (digCell(cell, fpVector2(), damage)) {
                damage.totalHits = 1.0f;
                digCell(iVector2(cell.x + 1, cell.y), fpVector2(), damage);
                digCell(iVector2(cell.x - 1, cell.y), fpVector2(), damage);
            }
            break;
        }
        case AttackType::Contact: {
            if (!m_physics || attacker.physicalObject.bodies().empty()) break;
            m_overlapQuery.clear();
            m_physics->queryRect(attacker.physicalObject.bodies().front().getBounds(), attacker.definition().enemies,
                                 m_overlapQuery);
            std::vector<std::int32_t> victims;
            for (PhysicalObject* found : m_overlapQuery)
                if (ActorObject* victim = actorOwner(found); victim && victim != &attacker) victims.push_back(victim->id());
            DamageData damage = weapon.attackDamage;
            damage.sourceObjectId = attacker.id();
            for (const std::int32_t id : victims) {
                GameObject* object = m_world.findGameObject(id);
                if (!object) continue;
                auto& victim = static_cast<ActorObject&>(*object);
                if (damageActor(victim, damage, (victim.center() - attacker.center()).normalized()))
                    victim.goodLoot = true;
            }
            break;
        }
        case AttackType::Projectile:
            fireProjectile(attacker, weapon);
            break;
        case AttackType::TurtleProjectile:
            fireFan(attacker, weapon);
            break;
        case AttackType::Laser:
            fireLaser(attacker, weapon);
            break;
        }
    }
    attacker.chargeTime = 0.0f;
    attacker.attackPitchTime = 0.0f;
    attacker.attackPitchTimer = 0.0f;
}

void GameObjectSimulator::fireProjectile(ActorObject& attacker, const ActorDefinition::Weapon& weapon) {
    const ActorDefinition& definition = attacker.definition();
    makeNoise(attacker, NoiseSize::Medium);
    const fpVector2 centre = attacker.center();
    const fpVector2 spawnPoint =
        centre + attacker.orientOffset(weapon.spawnOffset + definition.projectileSpawnOffset);
    const WeaponTrajectory& trajectory = weapon.trajectory;
    if (trajectory.aimAtTarget) {
        const GameObject* target = attacker.targetId != 0 ? m_world.findGameObject(attacker.targetId) : nullptr;
        if (!target) return;
        const fpVector2 targetCentre = target->center();
        const fpRect bounds = target->physicalObject.getBounds();
        // From above, aim at the feet: a lobbed shot lands on the target rather than over it.
        const fpVector2 aimPoint =
            centre.y <= targetCentre.y ? fpVector2(bounds.x + bounds.w * 0.5f, bounds.bottom()) : targetCentre;
        attacker.aimAngle = (aimPoint - centre).angle();
        if (facingRight(attacker)) attacker.aimAngle -= 2.0f * trajectory.angle * (kPi / 180.0f);
    } else if (definition.specialType == SpecialType::Player) {
        attacker.aimAngle = attacker.aimVector.angle();
    }

    Projectile* projectile = m_world.spawnProjectile(weapon.projectileName, spawnPoint, attacker.id());
    if (!projectile) return;
    RadialDamageData& radial = projectile->damage;
    if (projectile->definition().useWeaponDamage) {
        radial.damage = weapon.attackDamage;
        radial.canBeNullified = false;
    }
    radial.damage.sourceObjectId = attacker.id();

    const bool hasCannon = !definition.cannonName.empty();
    if (!hasCannon && attacker.aimAngle == 0.0f) {
        projectile->physicalObject.velocity = randomLaunchVelocity(trajectory, facingRight(attacker), m_world.random());
    } else {
        projectile->physicalObject.velocity =
            trajectory.ignoreAimAngle
                ? randomAimedLaunchVelocity(trajectory, 0.0f, false, m_world.random())
                : randomAimedLaunchVelocity(trajectory, attacker.aimAngle, facingRight(attacker), m_world.random());
        projectile->setPosition(projectile->getPosition() + fpVector2::fromAngle(attacker.aimAngle) * definition.cannonLength);
    }

    if (weapon.chargeTime > 0.0f) {
        const float f = chargeFraction(attacker, weapon);
        addCharge(radial.damage, weapon.chargeDamage, f);
        projectile->fuzeTime += f * projectile->definition().timeFuzeChargeMultiplier;
    }
    const std::string& sound =
        weapon.chargeTime > ChargedSoundThreshold && !weapon.chargedSound.empty() ? weapon.chargedSound : weapon.hitSound;
    if (!sound.empty()) attacker.pendingSounds.push_back(sound);
}

void GameObjectSimulator::fireFan(ActorObject& attacker, const ActorDefinition::Weapon& weapon) {
    makeNoise(attacker, NoiseSize::Medium);
    const fpVector2 spawnPoint = attacker.center() + attacker.definition().projectileSpawnOffset;
    for (const FanShot& shot : Fan) {
        WeaponTrajectory trajectory = weapon.trajectory;
        trajectory.force *= shot.forceFactor;
        Projectile* projectile = m_world.spawnProjectile(weapon.projectileName, spawnPoint, attacker.id());
        if (!projectile) continue;
        projectile->physicalObject.velocity =
            randomAimedLaunchVelocity(trajectory, shot.angleOffset, false, m_world.random());
        projectile->damage.damage.sourceObjectId = attacker.id();
    }
}

void GameObjectSimulator::fireLaser(ActorObject& attacker, const ActorDefinition::Weapon& weapon) {
    const std::shared_ptr<BeamDefinition> definition = findBeamDefinition(weapon.projectileName);
    if (!definition) return;
    makeNoise(attacker, NoiseSize::Medium);
    auto* beam = new Beam(*definition);
    beam->ownerId = attacker.id();
    beam->angle = attacker.definition().cannonName.empty()
                      ? randomLaunchAngle(weapon.trajectory, facingRight(attacker), m_world.random())
                      : attacker.aimAngle;
    m_world.registerEntity(beam);
    attacker.beamIds.push_back(beam->id());
}

} // namespace zor
