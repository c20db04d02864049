#include "game/simulation/behavior/InstructionRegistrars.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/EnemySearch.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/core/math/Angle.h"
#include "Framework/core/math/Scalar.h"

#include <cmath>
#include <cstdint>

namespace zor {

namespace {

// Closer than this to its arc's end the turned aim counts as still inside.
constexpr float ArcTolerance = 0.00001f;

fpVector2 boundsCentre(const GameObject& object) {
    const fpRect bounds = firstBodyBounds(object);
    return {bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
}

float facingAngle(const ActorObject& actor) { return std::atan2(actor.facing.y, actor.facing.x); }

// The offset is not mirrored by the facing.
MachineInstruction findEnemy(ActorObject& actor, BehaviorData& data) {
    const float radius = data.getFloat("Radius", 0.0f);
    const fpVector2 centre = boundsCentre(actor) + fpVector2(data.getFloat("OffsetX", 0.0f), data.getFloat("OffsetY", 0.0f));
    return findEnemyInRect(actor, data, {centre.x - radius, centre.y - radius, 2.0f * radius, 2.0f * radius});
}

// The rectangle starts OffsetX in front of the body centre, on the side the actor faces.
MachineInstruction findEnemyAhead(ActorObject& actor, BehaviorData& data) {
    const float distance = data.getFloat("Distance", 0.0f);
    const float height = data.getFloat("Height", 0.0f);
    const float offset = data.getFloat("OffsetX", 0.0f);
    const fpVector2 centre = boundsCentre(actor);
    const float left = actor.facing.x < 0.0f ? centre.x - offset - distance : centre.x + offset;
    return findEnemyInRect(actor, data, {left, centre.y - height / 2.0f, distance, height});
}

// The target still there to aim at: alive and, for an actor, not busy.
const GameObject* aimableTarget(const ActorObject& actor, const BehaviorData& data) {
    const GameObject* target = data.world ? data.world->findGameObject(actor.targetId) : nullptr;
    if (!target || !target->alive()) return nullptr;
    if (target->kind() != GameObjectKind::Actor) return target;
    const auto* targetActor = static_cast<const ActorObject*>(target);
    return targetActor->isAlive() && targetActor->busyFlags == 0 ? target : nullptr;
}

// Turns the aim toward the target at the turn speed, never beyond the arc.
MachineInstruction aimForEnemy(ActorObject& actor, BehaviorData& data) {
    const GameObject* target = aimableTarget(actor, data);
    if (!target) {
        post(actor, "targetLost");
        return MachineInstruction::Finished;
    }
    const fpVector2 direction = boundsCentre(*target) - (actor.getPosition() + actor.projectileSpawnOffset());
    const float wanted = wrapAngle(std::atan2(direction.y, direction.x));
    const float delta = angleDifference(actor.aimAngle, wanted);
    const float maxTurn = data.stepTime() * actor.aimTurnSpeed;
    if (std::fabs(delta) < maxTurn) {
        post(actor, "targetLocked");
        return MachineInstruction::Finished;
    }
    actor.aimAngle += sign(delta) * maxTurn;
    const float clamped =
        clampAngleToArc(actor.aimAngle, wrapAngle(facingAngle(actor)), actor.definition().cannonMaximumAngle);
    if (std::fabs(actor.aimAngle - clamped) < ArcTolerance) return MachineInstruction::Running;
    actor.aimAngle = clamped;
    post(actor, "targetLost");
    return MachineInstruction::Finished;
}

// Sweeps the aim across the arc; at an end the overshoot is reflected and the sweep turns.
MachineInstruction cannonScan(ActorObject& actor, BehaviorData& data) {
    float& direction = namedEntry(actor.namedValues, "ScanDirection");
    const auto bits = std::int32_t(direction);
    const std::int32_t up = bits & 0xFF ? 1 : 0;
    const float swept = actor.aimAngle + data.stepTime() * data.getFloat("Speed", 1.0f) * float(2 * up - 1);
    const float clamped = clampAngleToArc(swept, facingAngle(actor), actor.definition().cannonMaximumAngle);
    if (clamped == swept) {
        actor.aimAngle = swept;
        return MachineInstruction::Running;
    }
    actor.aimAngle = clamped + angleDifference(swept, clamped);
    direction = float((bits & ~0xFF) | (1 - up));
    return MachineInstruction::Running;
}

// Done once the attack cycle has taken the request and both timers have run out.
MachineInstruction attack(ActorObject& actor, BehaviorData& data) {
    if (data.firstStep) actor.attackPressed = true;
    if (actor.attackPressed || actor.weaponCooldown > 0.0f || actor.attackTimer > 0.0f)
        return MachineInstruction::Running;
    post(actor, "attackDone");
    return MachineInstruction::Finished;
}

MachineInstruction canAttack(ActorObject& actor, BehaviorData&) {
    post(actor, actor.canUseCurrentWeapon() ? "true" : "false");
    return MachineInstruction::Finished;
}

MachineInstruction setWeapon(ActorObject& actor, BehaviorData& data) {
    const std::int32_t index = data.getInt("Index", 0);
    actor.weaponIndex = index;
    actor.requestedWeapon = index;
    post(actor, "setWeaponDone");
    return MachineInstruction::Finished;
}

MachineInstruction disableBeams(ActorObject& actor, BehaviorData&) {
    actor.beamsEnabled = false;
    post(actor, "done");
    return MachineInstruction::Finished;
}

MachineInstruction enableBeams(ActorObject& actor, BehaviorData&) {
    actor.beamsEnabled = true;
    post(actor, "done");
    return MachineInstruction::Finished;
}

} // namespace

void registerCombatInstructions(EnemySimulator& simulator) {
    simulator.registerInstruction("FindEnemy", findEnemy);
    simulator.registerInstruction("FindEnemyAhead", findEnemyAhead);
    simulator.registerInstruction("FindEnemyAhead2", findEnemyAhead);
    simulator.registerInstruction("AimForEnemy", aimForEnemy);
    simulator.registerInstruction("CannonScan", cannonScan);
    simulator.registerInstruction("Attack", attack);
    simulator.registerInstruction("CanAttack", canAttack);
    simulator.registerInstruction("SetWeapon", setWeapon);
    simulator.registerInstruction("DisableBeams", disableBeams);
    simulator.registerInstruction("EnableBeams", enableBeams);
}

} // namespace zor
