#include "game/simulation/behavior/InstructionRegistrars.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/entity/ActorObject.h"

#include <cmath>
#include <string>

namespace zor {

namespace {

// The physics steps a woken object again from this step on.
void wake(ActorObject& actor) {
    PhysicalObject& object = actor.physicalObject;
    object.sleepTimer = 0.0f;
    object.awake = true;
    object.woken = true;
}

void walk(ActorObject& actor, float direction, bool run) {
    actor.hasIdleSound = false;
    wake(actor);
    actor.moveVector = fpVector2(direction, 0.0f);
    if (run) actor.runHeld = true;
}

MachineInstruction moveLeft(ActorObject& actor, BehaviorData&) {
    walk(actor, -1.0f, false);
    return MachineInstruction::Running;
}

MachineInstruction moveRight(ActorObject& actor, BehaviorData&) {
    walk(actor, 1.0f, false);
    return MachineInstruction::Running;
}

MachineInstruction chargeLeft(ActorObject& actor, BehaviorData&) {
    walk(actor, -1.0f, true);
    return MachineInstruction::Running;
}

MachineInstruction chargeRight(ActorObject& actor, BehaviorData&) {
    walk(actor, 1.0f, true);
    return MachineInstruction::Running;
}

MachineInstruction jump(ActorObject& actor, BehaviorData&) {
    wake(actor);
    actor.jumpPressed = true;
    post(actor, "done");
    return MachineInstruction::Finished;
}

MachineInstruction runStart(ActorObject& actor, BehaviorData&) {
    wake(actor);
    actor.runHeld = true;
    post(actor, "done");
    return MachineInstruction::Finished;
}

MachineInstruction runStop(ActorObject& actor, BehaviorData&) {
    wake(actor);
    actor.runHeld = false;
    post(actor, "done");
    return MachineInstruction::Finished;
}

MachineInstruction faceLeft(ActorObject& actor, BehaviorData&) {
    actor.facing = fpVector2(-1.0f, 0.0f);
    post(actor, "faceLeftDone");
    return MachineInstruction::Finished;
}

MachineInstruction faceRight(ActorObject& actor, BehaviorData&) {
    actor.facing = fpVector2(1.0f, 0.0f);
    post(actor, "faceRightDone");
    return MachineInstruction::Finished;
}

float centreX(const GameObject& object) {
    const fpRect bounds = firstBodyBounds(object);
    return bounds.x + bounds.w / 2.0f;
}

MachineInstruction playerDirection(ActorObject& actor, BehaviorData& data) {
    const ActorObject* player = playerOf(data);
    // Without a player there is no side to report; the state waits.
    if (!player) return MachineInstruction::Running;
    post(actor, centreX(actor) > centreX(*player) ? "left" : "right");
    return MachineInstruction::Finished;
}

MachineInstruction facingRight(ActorObject& actor, BehaviorData&) {
    post(actor, actor.facing.x >= 0.0f ? "true" : "false");
    return MachineInstruction::Finished;
}

// The animation looks along the facing's main axis; y wins a tie.
MachineInstruction findAnimationDirection(ActorObject& actor, BehaviorData&) {
    post(actor, "done");
    static const std::string left = "left", right = "right", up = "up", down = "down";
    const fpVector2 facing = actor.facing;
    const std::string& direction = std::fabs(facing.y) < std::fabs(facing.x) ? (facing.x < 0.0f ? left : right)
                                                                              : (facing.y < 0.0f ? up : down);
    actor.sendAnimationInput(direction, std::string());
    return MachineInstruction::Finished;
}

} // namespace

void registerMovementInstructions(EnemySimulator& simulator) {
    simulator.registerInstruction("MoveLeft", moveLeft);
    simulator.registerInstruction("MoveRight", moveRight);
    simulator.registerInstruction("ChargeLeft", chargeLeft);
    simulator.registerInstruction("ChargeRight", chargeRight);
    simulator.registerInstruction("Jump", jump);
    simulator.registerInstruction("RunStart", runStart);
    simulator.registerInstruction("RunStop", runStop);
    simulator.registerInstruction("FaceLeft", faceLeft);
    simulator.registerInstruction("FaceRight", faceRight);
    simulator.registerInstruction("PlayerDirection", playerDirection);
    simulator.registerInstruction("FacingRight", facingRight);
    simulator.registerInstruction("FindAnimationDirection", findAnimationDirection);
}

} // namespace zor
