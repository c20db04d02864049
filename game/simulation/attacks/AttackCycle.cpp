// When an actor's weapon strikes: switching, wind-up, charge, repeat and release.

#include "game/simulation/GameObjectSimulator.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/progress/ItemCountMap.h"

#include <algorithm>

namespace zor {

namespace {

// No attack starts in the step of a switch.
constexpr float SwitchCooldown = 0.01f;

// A negative index compares as a huge one and is never valid.
bool takesSwitch(const ActorObject& actor, const World& world) {
    const auto& weapons = actor.definition().weapons;
    const auto requested = std::uint32_t(actor.requestedWeapon);
    if (actor.requestedWeapon == actor.weaponIndex || requested >= weapons.size()) return false;
    const std::string& upgrade = weapons[requested].requiredUpgrade;
    if (actor.definition().specialType != SpecialType::Player || upgrade.empty()) return true;
    return hasItemAmount(upgrade, world.progress.items, 1);
}

void clearCharge(ActorObject& actor) {
    actor.chargeTime = 0.0f;
    actor.attackPitchTime = 0.0f;
    actor.attackPitchTimer = 0.0f;
}

// Returns true when the attack fires now rather than on release or after a wind-up.
bool beginOrHold(ActorObject& actor, const ActorDefinition::Weapon& weapon, float step) {
    const std::string& mainPart = actor.definition().animationState;
    if (actor.chargeTime == 0.0f) {
        if (!actor.animationParts.empty()) actor.animationParts[mainPart].restart = true;
        actor.sendAnimationInput(weapon.animationInput, mainPart);
        actor.sendAnimationInput("attack", mainPart);
    }
    if (weapon.pitchTime != 0.0f) actor.attackPitchTime = weapon.pitchTime;
    if (weapon.chargeTime != 0.0f) {
        const float before = actor.chargeTime;
        actor.chargeTime += step;
        // The water of a full charge is spread over the charge time; holding on is free.
        if (weapon.waterDrain != 0.0f && before < weapon.chargeTime) {
            const float paid = std::min(actor.chargeTime, weapon.chargeTime) - before;
            actor.water -= weapon.waterDrain * paid / weapon.chargeTime;
            if (!(actor.water > 0.0f)) actor.water = 0.0f;
        }
        return false;
    }
    if (weapon.attackTime != 0.0f) {
        if (!weapon.attackSound.empty()) actor.pendingSounds.push_back(weapon.attackSound);
        actor.attackTimer = weapon.attackTime;
        return false;
    }
    return true;
}

} // namespace

void GameObjectSimulator::updateAttack(ActorObject& actor, float step) {
    const ActorDefinition& definition = actor.definition();
    const std::string& mainPart = definition.animationState;
    bool switched = false;
    if (takesSwitch(actor, m_world)) {
        actor.weaponIndex = actor.requestedWeapon;
        actor.weaponCooldown = std::max(actor.weaponCooldown, SwitchCooldown);
        clearCharge(actor);
        actor.attackTimer = 0.0f;
        actor.sendAnimationInput("abort", mainPart);
        switched = true;
    }
    // Without a valid weapon (an instruction may set any index) the actor never attacks.
    const ActorDefinition::Weapon* weapon = actor.hasWeapon() ? &actor.currentWeapon() : nullptr;

    bool attackingNow = false;
    if (actor.attackTimer > 0.0f) {
        attackingNow = true;
        actor.attackTimer -= step;
        if (!weapon || !actor.canUseCurrentWeapon()) {
            actor.attackTimer = 0.0f;
            attackingNow = false;
        } else if (actor.attackTimer <= 0.0f) {
            performAttack(actor);
            if (weapon->repeatTime > 0.0f && actor.canUseCurrentWeapon() && actor.attackPressed)
                actor.attackTimer = weapon->repeatTime;
        }
    } else if (!(actor.weaponCooldown > 0.0f) && actor.attackPressed) {
        if (!weapon || !actor.canUseCurrentWeapon()) {
            clearCharge(actor);
        } else {
            attackingNow = true;
            if (beginOrHold(actor, *weapon, step)) performAttack(actor);
        }
    }

    if (actor.attacking && !attackingNow && !switched) {
        if (actor.chargeTime != 0.0f) performAttack(actor);
        actor.sendAnimationInput(actor.groundState != 0 ? "not_attack" : "jump_fall", mainPart);
    }
    actor.attacking = attackingNow;
    actor.attackRepeat = actor.attackPressed;
    actor.attackPressed = false;
    updateChargeLight(actor, weapon);
}

void GameObjectSimulator::updateChargeLight(ActorObject& actor, const ActorDefinition::Weapon* weapon) {
    LightObject* light = actor.chargeLightId != 0 ? m_world.findLight(actor.chargeLightId) : nullptr;
    if (weapon && actor.chargeTime > 0.0f && !weapon->chargeLight.sprite.empty()) {
        if (!light) {
            light = m_world.spawnLight(weapon->chargeLight);
            if (!light) return;
            actor.chargeLightId = light->id();
        }
        light->setPosition(actor.getPosition() + actor.orientOffset(weapon->chargeLight.offset));
        // Not clamped: a full charge held on keeps growing brighter.
        light->strength = actor.chargeTime / weapon->chargeTime;
        m_world.shownLights.push_back(light->id());
        return;
    }
    if (actor.chargeLightId == 0) return;
    if (light) m_world.removeEntity(light);
    actor.chargeLightId = 0;
}

} // namespace zor
