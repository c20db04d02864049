// The close swing: one actor victim, else the tiles ahead, else a miss.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/attacks/AttackSupport.h"

#include "game/world/World.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Angle.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zor {

namespace {

constexpr std::uint32_t SwingVictimMask =
    CollisionGroup::Enemies | CollisionGroup::HardEnemies | CollisionGroup::Rocks | CollisionGroup::Boss;
constexpr float ReachByWidth = 1.3f;
constexpr float ProbeByExtent = 0.67f;
constexpr float ChargedSwingThreshold = 0.25f;

iVector2 cellAt(float x, float y) { return iVector2(std::int32_t(std::floor(x / TileSize)), std::int32_t(std::floor(y / TileSize))); }


// The distance from `coordinate` to the cell edge ahead along `sign`.
float toCellEdge(float coordinate, std::int32_t sign) {
    const float within = std::fmod(coordinate, TileSize);
    return sign > 0 ? TileSize - within : sign < 0 ? -within : 0.0f;
}

} // namespace

void GameObjectSimulator::meleeHit(ActorObject& attacker) {
    if (!attacker.hasWeapon() || attacker.physicalObject.bodies().empty()) return;
    const ActorDefinition::Weapon& weapon = attacker.currentWeapon();
    const fpRect body = attacker.physicalObject.bodies().front().getBounds();
    const fpVector2 centre = attacker.center();
    const iVector2 aim = attacker.aimDirection;

    DamageData damage = weapon.attackDamage;
    damage.sourceObjectId = attacker.id();
    std::int32_t extra = 0;
    bool charged = false;
    if (weapon.chargeTime > 0.0f) {
        const float f = std::min(attacker.chargeTime, weapon.chargeTime) / weapon.chargeTime;
        charged = f > ChargedSwingThreshold;
        damage.amount += float(std::int32_t(10.0f * f));
        damage.enemyReduction += float(std::int32_t(2.0f * f));
        damage.enemyAmount += float(std::int32_t(10.0f * f));
        extra = std::int32_t(4.0f * f);
    }
    attacker.chargeTime = 0.0f;

    ActorObject* refused = nullptr;
    fpVector2 refusedDirection;
    if (m_physics) {
        fpRect reach = body;
        reach.x += float(aim.x) * ReachByWidth * body.w;
        reach.y += float(aim.y) * ReachByWidth * body.w;
        m_overlapQuery.clear();
        m_physics->queryRect(fpRect::united(reach, body), SwingVictimMask, m_overlapQuery);
        const std::vector<PhysicalObject*> found = m_overlapQuery;
        for (PhysicalObject* candidate : found) {
            ActorObject* victim = actorOwner(candidate);
            if (!victim || victim == &attacker) continue;
            const fpVector2 direction = (victim->center() - centre).normalized();
            if (canDamageActor(*victim, damage, direction)) {
                damageActor(*victim, damage, direction);
                return;
            }
            refused = victim;
            refusedDirection = direction;
        }
    }

    std::vector<iVector2> probes;
    if (aim.x != 0) {
        const float x = centre.x + float(aim.x) * ProbeByExtent * (body.w + TileSize);
        probes = {cellAt(x, centre.y), cellAt(x, body.bottom()), cellAt(x, body.y)};
    } else if (aim.y != 0) {
        const float y = centre.y + float(aim.y) * ProbeByExtent * (body.h + TileSize);
        probes = {cellAt(centre.x, y), cellAt(body.x, y), cellAt(body.x + body.w, y)};
    }

    bool hit = false;
    // Inside a solid cell the swing goes nowhere.
    if (!hitTile(aim, centre, cellAt(centre.x, centre.y), weapon, damage, true)) {
        const iVector2 ahead(aim.x, aim.x == 0 ? aim.y : 0);
        const iVector2 side(-ahead.y, aim.x);
        for (const iVector2& probe : probes) {
            bool any = hitTile(ahead, centre, probe, weapon, damage, true);
            std::vector<iVector2> more;
            if (extra >= 1) more.push_back(probe + ahead);
            if (extra >= 2) more.insert(more.end(), {probe + side, probe - side});
            if (extra >= 3) more.insert(more.end(), {probe + ahead + ahead, probe + ahead + side, probe + ahead - side});
            for (const iVector2& cell : more) any = hitTile(ahead, centre, cell, weapon, damage, false) || any;
            if (any) {
                hit = true;
                break;
            }
        }
    }

    if (hit) {
        const std::string& sound = charged && !weapon.chargedSound.empty() ? weapon.chargedSound : weapon.hitSound;
        if (!sound.empty()) attacker.pendingSounds.push_back(sound);
        makeNoise(attacker, NoiseSize::Large);
        return;
    }
    if (refused) {
        damageActor(*refused, damage, refusedDirection);
        const fpVector2 edge(centre.x + toCellEdge(centre.x, aim.x), centre.y + toCellEdge(centre.y, aim.y));
        const float rotation = aim.y < 0 ? kPi / 2.0f : aim.y > 0 ? 3.0f * kPi / 2.0f : aim.x < 0 ? 0.0f : kPi;
        if (!weapon.invulnerableTargetEffect.empty())
            m_world.spawnEffect(weapon.invulnerableTargetEffect, edge, rotation, 1.0f);
        if (!weapon.invulnerableTargetSound.empty()) attacker.pendingSounds.push_back(weapon.invulnerableTargetSound);
        makeNoise(attacker, NoiseSize::Large);
        return;
    }
    const std::string& sound = charged && !weapon.chargedSound.empty() ? weapon.chargedSound : weapon.missSound;
    if (!sound.empty()) attacker.pendingSounds.push_back(sound);
    makeNoise(attacker, NoiseSize::Medium);
    if (!weapon.missEffect.empty() && aim.y == 0) {
        const fpVector2 at(centre.x + weapon.missEffectOffset.x * float(aim.x),
                           centre.y + weapon.missEffectOffset.y * float(aim.y));
        // The effect is drawn for a leftward swing.
        EffectObject* effect = m_world.spawnEffect(weapon.missEffect, at, 0.0f, 1.0f);
        if (effect && aim.x >= 0) effect->scaleX = -effect->scaleX;
    }
}

} // namespace zor
