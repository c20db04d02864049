#include "game/simulation/behavior/InstructionRegistrars.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/definitions/NameEnumerations.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include <cmath>
#include <string>
#include <string_view>

namespace zor {

namespace {

// What holds a falling block up.
constexpr std::uint32_t SupportMask = CollisionGroup::Rocks | CollisionGroup::Tiles | CollisionGroup::Support;
constexpr float StillSpeedSquared = 0.00001f;
constexpr float WakeRumble = 1.3f;
constexpr float RumbleGrowth = 0.5f;

// The one-pixel strip beyond the block's side that gravity pulls toward.
fpRect supportProbe(const ActorObject& block) {
    fpRect probe = firstBodyBounds(block);
    if (!block.definition().gravityFromRotation) {
        probe.y += probe.h;
        probe.h = 1.0f;
        return probe;
    }
    const fpVector2 facing = block.facing;
    if (std::fabs(facing.x) > std::fabs(facing.y)) {
        probe.x += facing.x < 0.0f ? -1.0f : facing.x * probe.w;
        probe.w = 1.0f;
    } else {
        probe.y += facing.y < 0.0f ? -1.0f : facing.y * probe.h;
        probe.h = 1.0f;
    }
    return probe;
}

// Only a block something woke, resting and not yet rumbling, looks for its support; once it
// is gone the block rumbles for WakeTime, held in place, and then falls.
MachineInstruction fallblockUpdate(ActorObject& block, BehaviorData& data) {
    float& wake = namedEntry(block.namedTimers, "wake");
    PhysicalObject& object = block.physicalObject;
    const fpVector2 velocity = object.velocity;
    if (object.woken && wake == 0.0f && velocity.x * velocity.x + velocity.y * velocity.y < StillSpeedSquared &&
        data.physics && !data.physics->testRect(supportProbe(block), SupportMask)) {
        wake = data.getFloat("WakeTime", 0.5f);
        block.rumbleStrength = WakeRumble;
        block.gravityHold = true;
        const std::string& sound = block.definition().rumbleSound;
        if (!sound.empty()) block.pendingSounds.push_back(sound);
    }
    if (wake > 0.0f) {
        const float step = data.stepTime();
        wake -= step;
        block.rumbleStrength += step * RumbleGrowth;
        object.sleepTimer = 0.0f;
        if (wake <= 0.0f) {
            wake = 0.0f;
            block.gravityHold = false;
            block.rumbleStrength = 0.0f;
        }
    }
    return MachineInstruction::Running;
}

MachineInstruction trilobiteDig(ActorObject& actor, BehaviorData&) {
    if (actor.weaponCooldown <= 0.0f) {
        actor.attackPressed = true;
        post(actor, "digDone");
    }
    return MachineInstruction::Running;
}

void queueSound(ActorObject& actor, const BehaviorData& data) {
    const std::string_view sound = data.getText("Sound", "");
    if (!sound.empty()) actor.pendingSounds.emplace_back(sound);
}

MachineInstruction turtleHide(ActorObject& actor, BehaviorData& data) {
    queueSound(actor, data);
    actor.hidden = true;
    static const std::string hide = "hide";
    actor.sendAnimationInput(hide, std::string());
    post(actor, "hideDone");
    return MachineInstruction::Finished;
}

MachineInstruction turtleUnhide(ActorObject& actor, BehaviorData& data) {
    post(actor, "unhideDone");
    actor.hidden = false;
    static const std::string unhide = "unhide";
    actor.sendAnimationInput(unhide, std::string());
    queueSound(actor, data);
    return MachineInstruction::Finished;
}

} // namespace

void registerCreatureInstructions(EnemySimulator& simulator) {
    simulator.registerInstruction("FallblockUpdate", fallblockUpdate);
    simulator.registerInstruction("TrilobiteDig", trilobiteDig);
    simulator.registerInstruction("TurtleHide", turtleHide);
    simulator.registerInstruction("TurtleUnhide", turtleUnhide);
}

} // namespace zor
