#include "game/simulation/behavior/instructions/GeneralInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include <algorithm>

namespace zor {

namespace {

// Rocks, tiles and supports: what an actor can stand or hang on.
constexpr std::uint32_t GroundMask = 0x10018;

// The body stretched along the attached direction. A negative component moves the
// rectangle out by that much and shrinks it as well, so the probe reaches past the near
// edge and stops short of the far one.
bool touchesGround(const ActorObject& actor, const BehaviorData& data) {
    if (!data.physics) return false;
    const fpRect bounds = firstBodyBounds(actor);
    const fpVector2 along = actor.attachedDirection();
    const fpRect probe{bounds.x + std::min(along.x, 0.0f), bounds.y + std::min(along.y, 0.0f), bounds.w + along.x,
                       bounds.h + along.y};
    return data.physics->testRect(probe, GroundMask);
}

} // namespace

MachineInstruction hasGround(ActorObject& actor, BehaviorData& data) {
    post(actor, touchesGround(actor, data) ? "true" : "false");
    return MachineInstruction::Finished;
}

MachineInstruction checkGround(ActorObject& actor, BehaviorData& data) {
    // An actor that nothing disturbed keeps its ground: probing starts again only for a
    // while after something woke it.
    float& timer = namedEntry(actor.namedTimers, "wake");
    if (actor.physicalObject.woken) timer = data.getFloat("WakeTime", 1.5f);
    if (!(timer > 0.0f)) return MachineInstruction::Running;
    if (touchesGround(actor, data))
        timer -= data.stepTime();
    else
        post(actor, "lostWall");
    return MachineInstruction::Running;
}

} // namespace zor
