#include "game/simulation/behavior/instructions/GeneralInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/entity/ActorObject.h"

namespace zor {

MachineInstruction playSound(ActorObject& actor, BehaviorData& data) {
    const std::string_view cue = data.getText("SoundCue", "");
    if (!cue.empty()) actor.pendingSounds.emplace_back(cue);
    post(actor, "done");
    return MachineInstruction::Running;
}

MachineInstruction simpleAnimation(ActorObject& actor, BehaviorData& data) {
    actor.simpleAnimation.assign(data.getText("Animation", ""));
    actor.simpleAnimationOnce = data.getBool("PlayOnce", false);
    post(actor, "done");
    return MachineInstruction::Running;
}

MachineInstruction triggerAnimation(ActorObject& actor, BehaviorData& data) {
    actor.sendAnimationInput(data.getString("Animation", ""), std::string());
    post(actor, "done");
    return MachineInstruction::Running;
}

} // namespace zor
