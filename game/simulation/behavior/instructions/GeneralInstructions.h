#pragma once
// The handlers of the general instructions, which any behaviour may run whatever the
// actor is; registerGeneralInstructions puts them in the table under their names.

#include "game/simulation/behavior/MachineInstruction.h"

namespace zor {

// Chance.
MachineInstruction flipCoin(ActorObject& actor, BehaviorData& data);
MachineInstruction randomChance(ActorObject& actor, BehaviorData& data);

// Timing and inputs.
MachineInstruction delay(ActorObject& actor, BehaviorData& data);
// Waits doing nothing; also the handler of the generator states.
MachineInstruction idle(ActorObject& actor, BehaviorData& data);
MachineInstruction resetHeartBeat(ActorObject& actor, BehaviorData& data);
MachineInstruction clearInputs(ActorObject& actor, BehaviorData& data);
MachineInstruction stopUpdate(ActorObject& actor, BehaviorData& data);

// Flags that other rules read.
MachineInstruction spawn(ActorObject& actor, BehaviorData& data);
MachineInstruction setGoodLoot(ActorObject& actor, BehaviorData& data);
MachineInstruction setCheckEdgeTimer(ActorObject& actor, BehaviorData& data);
MachineInstruction suicide(ActorObject& actor, BehaviorData& data);
MachineInstruction zombiefy(ActorObject& actor, BehaviorData& data);
MachineInstruction setActivateBarrels(ActorObject& actor, BehaviorData& data);

// Ground probes.
MachineInstruction hasGround(ActorObject& actor, BehaviorData& data);
MachineInstruction checkGround(ActorObject& actor, BehaviorData& data);

// Sounds and animations.
MachineInstruction playSound(ActorObject& actor, BehaviorData& data);
MachineInstruction simpleAnimation(ActorObject& actor, BehaviorData& data);
MachineInstruction triggerAnimation(ActorObject& actor, BehaviorData& data);

MachineInstruction compositeState(ActorObject& actor, BehaviorData& data);

// The upgrade podium and the teleporters.
MachineInstruction podiumUpdate(ActorObject& actor, BehaviorData& data);
MachineInstruction teleporter(ActorObject& actor, BehaviorData& data);
MachineInstruction townTeleporterVisibility(ActorObject& actor, BehaviorData& data);
MachineInstruction deleteTeleporter(ActorObject& actor, BehaviorData& data);

} // namespace zor
