// The boss's lasers: the laser box, the sweep, the locked-on and the targeted laser. The
// beams come from the weapon attack; these instructions choose the weapon, request the
// attack and wait until it is over.

#include "game/simulation/behavior/instructions/BossInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/BossSupport.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"

#include "Framework/core/math/Angle.h"

#include <cmath>
#include <cstdint>

namespace zor {

namespace {

constexpr std::int32_t LockOnWeapon = 3;
constexpr std::int32_t TargetWeapon = 4;
constexpr std::int32_t LaserBoxWeapon = 5;
constexpr std::int32_t SpinUpWeapon = 6;    // sweeps toward higher angles
constexpr std::int32_t SpinDownWeapon = 7;

void startLaser(ActorObject& boss, std::int32_t weapon) {
    boss.beamsEnabled = true;
    boss.attackPressed = true;
    chooseWeapon(boss, weapon);
}

float angleTo(const fpVector2& from, const fpVector2& to) {
    const fpVector2 d = to - from;
    return wrapAngle(std::atan2(d.y, d.x));
}

const Beam* firstLiveBeam(const ActorObject& boss, const World& world) {
    if (boss.beamIds.empty()) return nullptr;
    const Entity* entity = world.findEntity(boss.beamIds.front());
    return entity && entity->type() == EntityType::Beam ? static_cast<const Beam*>(entity) : nullptr;
}

// The eye closes its shot, the beams go out and the shaking stops.
MachineInstruction finishShakingLaser(ActorObject& boss, World& world) {
    boss.sendAnimationInput("doneShooting", BossPart::Eye);
    boss.beamsEnabled = false;
    stopCameraShake(world);
    post(boss, "done");
    return MachineInstruction::Finished;
}

} // namespace

MachineInstruction startSpinLaser(ActorObject& boss, BehaviorData& data) {
    if (data.firstStep) {
        boss.sendAnimationInput("shoot", BossPart::Eye);
        boss.sendAnimationInput("close", BossPart::Hatch);
        queuePlayerSound(data, "laserbox_wake");
        startLaser(boss, LaserBoxWeapon);
    }
    if (attackUnderWay(boss)) return MachineInstruction::Running;
    boss.beamsEnabled = false;
    post(boss, "done");
    return MachineInstruction::Running;
}

// Sweeps toward the player the shorter way; the aim follows the beam, so the next laser
// starts where this one stopped.
MachineInstruction spinLaser(ActorObject& boss, BehaviorData& data) {
    World& world = *data.world;
    if (data.firstStep) {
        startLaser(boss, SpinDownWeapon);
        const ActorObject* player = playerOf(data);
        if (player) {
            const float a = angleTo(boss.getPosition() + boss.projectileSpawnOffset(), firstBodyCentre(*player));
            if (angleDifference(boss.aimAngle, a) > 0.0f) chooseWeapon(boss, SpinUpWeapon);
        }
        world.shakeCamera(3.0f, 12.0f, 4);
    }
    // A beam that is gone leaves the aim where it last pointed.
    if (const Beam* beam = firstLiveBeam(boss, world))
        boss.aimAngle = wrapAngle(std::atan2(beam->direction.y, beam->direction.x));
    if (attackUnderWay(boss)) return MachineInstruction::Running;
    return finishShakingLaser(boss, world);
}

// The beams stay on for the targeted laser that follows.
MachineInstruction lockOnLaser(ActorObject& boss, BehaviorData& data) {
    if (data.firstStep) {
        boss.sendAnimationInput("shoot", BossPart::Eye);
        boss.sendAnimationInput("close", BossPart::Hatch);
        startLaser(boss, LockOnWeapon);
    }
    if (attackUnderWay(boss)) return MachineInstruction::Running;
    post(boss, "done");
    return MachineInstruction::Finished;
}

MachineInstruction startTargetLaser(ActorObject& boss, BehaviorData&) {
    boss.attackTimer = 0.0f;
    boss.weaponCooldown = 0.0f;
    chooseWeapon(boss, LockOnWeapon);
    post(boss, "done");
    return MachineInstruction::Finished;
}

MachineInstruction targetLaser(ActorObject& boss, BehaviorData& data) {
    World& world = *data.world;
    if (data.firstStep) {
        startLaser(boss, TargetWeapon);
        world.shakeCamera(4.0f, 2.0f, 4);
    }
    if (attackUnderWay(boss)) return MachineInstruction::Running;
    return finishShakingLaser(boss, world);
}

} // namespace zor
