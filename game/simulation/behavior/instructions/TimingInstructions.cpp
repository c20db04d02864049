#include "game/simulation/behavior/instructions/GeneralInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

#include "Framework/core/math/Randomizer.h"

namespace zor {

MachineInstruction delay(ActorObject& actor, BehaviorData& data) {
    // A custom timer that still runs is shared with the state that started it, so one
    // delay can span several states.
    const bool custom = data.has("CustomTimer");
    float& timer = namedEntry(actor.namedTimers, custom ? data.getText("CustomTimer", "") : "Delay");
    if (data.firstStep && !(custom && timer > 0.0f)) {
        const float shortest = data.getFloat("MinDelay", 0.0f);
        const float longest = data.getFloat("MaxDelay", 0.0f);
        timer = shortest + (longest - shortest) * data.world->random().nextFloat();
    }
    timer -= data.stepTime();
    if (timer < 0.0f) post(actor, "delayDone");
    return MachineInstruction::Running;
}

MachineInstruction idle(ActorObject&, BehaviorData&) { return MachineInstruction::Running; }

MachineInstruction resetHeartBeat(ActorObject& actor, BehaviorData& data) {
    const ActorDefinition& definition = actor.definition();
    const float spread = definition.heartbeatRandomTime;
    actor.heartbeatCountdown = definition.heartbeatTime + data.world->random().nextFloatRange(-spread, spread);
    post(actor, "done");
    return MachineInstruction::Finished;
}

MachineInstruction clearInputs(ActorObject& actor, BehaviorData&) {
    actor.behaviorMachine->clearInputs();
    post(actor, "clearDone");
    return MachineInstruction::Finished;
}

MachineInstruction stopUpdate(ActorObject& actor, BehaviorData&) {
    post(actor, "done");
    return MachineInstruction::Running;
}

} // namespace zor
