#include "game/presentation/AudiolizerPlayerLoops.h"

#include "game/simulation/audio/GameAudio.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/core/math/Curve.h"

#include <algorithm>
#include <optional>
#include <string>

namespace zor::presentation {

namespace {

const std::string WaterSoak = "water_soak";
const std::string WaterSoakDone = "water_soak_done";
const std::string JumpCharge = "player_jump_charge";
const std::string LightRefill = "light_refill";
const std::string LightRefillDone = "light_refill_done";

// From 1 with an empty tank to 2.5 with a full one; a tank of no capacity keeps 1.
float soakPitch(const ActorObject& player) {
    const float capacity = player.definition().waterCapacity;
    if (!(capacity > 0.0f)) return 1.0f;
    return 1.0f + 1.5f * evaluateCurve(CurveType::Quadratic, 1.0f - (capacity - player.water) / capacity);
}

// Drawing from a pool that is still there and still holds water: the weapon keeps quiet.
bool drawingWater(const ActorObject& player, const World& world) {
    if (player.waterSourceId == 0) return false;
    const GameObject* source = world.findGameObject(player.waterSourceId);
    return source && source->kind() == GameObjectKind::Actor && static_cast<const ActorObject*>(source)->water > 0.0f;
}

// Advances the attack pitch timer by the step, up to its length; returns the share elapsed
// before the step.
float advancePitchTimer(ActorObject& player, float step) {
    const float share = player.attackPitchTimer / player.attackPitchTime;
    player.attackPitchTimer = std::min(player.attackPitchTimer + step, player.attackPitchTime);
    return share;
}

} // namespace

void PlayerLoops::update(ActorObject& player, const World& world, float step) {
    updateWater(player);
    updateJumpCharge(player, step);
    updateWeaponConstant(player, world, step);
    updateCharging(player, step);
    updateLampRefill(player);
}

void PlayerLoops::updateWater(ActorObject& player) {
    if (player.refilling) {
        if (m_water == 0) m_water = startLoop(WaterSoak, player);
        if (m_water != 0) m_audio.setPitch(m_water, soakPitch(player));
    } else if (m_water != 0) {
        m_audio.playCue(WaterSoakDone, 1.0f, 1.0f, std::nullopt);
        stop(m_water);
    }
}

void PlayerLoops::updateJumpCharge(const ActorObject& player, float step) {
    if (player.chargedJumpActive && player.charge > 0.0f) {
        if (m_jumpCharge == 0) m_jumpCharge = startLoop(JumpCharge, player);
        if (m_jumpCharge != 0) m_audio.setPitch(m_jumpCharge, 1.0f + 0.5f * m_jumpRamp);
        if (m_jumpRamp < 1.0f) m_jumpRamp += step;
    } else if (m_jumpCharge != 0) {
        stop(m_jumpCharge);
        m_jumpRamp = 0.0f;
    }
}

void PlayerLoops::updateWeaponConstant(ActorObject& player, const World& world, float step) {
    const std::string* cue = player.hasWeapon() ? &player.currentWeapon().constantAttackSound : nullptr;
    if (player.attacking && cue && !cue->empty()) {
        if (m_weaponConstant == 0 && !drawingWater(player, world)) m_weaponConstant = startLoop(*cue, player);
        if (m_weaponConstant != 0 && player.attackPitchTime != 0.0f)
            m_audio.setPitch(m_weaponConstant, 1.0f + 0.5f * advancePitchTimer(player, step));
    } else if (m_weaponConstant != 0) {
        stop(m_weaponConstant);
        player.attackPitchTimer = 0.0f;
    }
}

void PlayerLoops::updateCharging(ActorObject& player, float step) {
    if (player.chargeTime > 0.0f) {
        if (m_charging == 0 && player.hasWeapon()) m_charging = startLoop(player.currentWeapon().chargingSound, player);
        if (m_charging != 0 && player.attackPitchTime != 0.0f)
            m_audio.setPitch(m_charging, 0.8f + 1.2f * advancePitchTimer(player, step));
    } else if (m_charging != 0) {
        stop(m_charging);
        player.attackPitchTime = 0.0f;
        player.attackPitchTimer = 0.0f;
    }
}

void PlayerLoops::updateLampRefill(const ActorObject& player) {
    if (player.lampRefilling) {
        if (m_lampRefill == 0) m_lampRefill = startLoop(LightRefill, player);
    } else if (m_lampRefill != 0) {
        stop(m_lampRefill);
        m_audio.playCue(LightRefillDone, 1.0f, 1.0f, player.getPosition());
    }
}

std::uint32_t PlayerLoops::startLoop(const std::string& cue, const ActorObject& player) {
    if (cue.empty()) return 0;
    return m_audio.playCue(cue, 1.0f, 1.0f, player.getPosition(), true);
}

void PlayerLoops::stop(std::uint32_t& handle) {
    m_audio.stop(handle);
    handle = 0;
}

void PlayerLoops::stopAll() {
    for (std::uint32_t* handle : {&m_water, &m_jumpCharge, &m_charging, &m_weaponConstant, &m_lampRefill})
        if (*handle != 0) stop(*handle);
}

} // namespace zor::presentation
