#pragma once
// The handlers of the boss fight: the boss's own instructions and those of its generators;
// registerBossInstructions puts them in the table under their names.

#include "game/simulation/behavior/MachineInstruction.h"

namespace zor {

// Set-up, choice of attack and the release of enemies through the hatch.
MachineInstruction bossSetup(ActorObject& boss, BehaviorData& data);
MachineInstruction bossStart(ActorObject& boss, BehaviorData& data);
MachineInstruction bossIdle(ActorObject& boss, BehaviorData& data);
MachineInstruction bossAttack(ActorObject& boss, BehaviorData& data);
MachineInstruction spawnEnemy(ActorObject& boss, BehaviorData& data);

// The lasers.
MachineInstruction startSpinLaser(ActorObject& boss, BehaviorData& data);
MachineInstruction spinLaser(ActorObject& boss, BehaviorData& data);
MachineInstruction lockOnLaser(ActorObject& boss, BehaviorData& data);
MachineInstruction startTargetLaser(ActorObject& boss, BehaviorData& data);
MachineInstruction targetLaser(ActorObject& boss, BehaviorData& data);

// The force field and the phases.
MachineInstruction checkGenerators(ActorObject& boss, BehaviorData& data);
MachineInstruction vulnerable(ActorObject& boss, BehaviorData& data);
MachineInstruction checkNextPhase(ActorObject& boss, BehaviorData& data);
MachineInstruction respawnGenerators(ActorObject& boss, BehaviorData& data);
MachineInstruction restoreBackdrop(ActorObject& boss, BehaviorData& data);

// The ending.
MachineInstruction itIsOverNow(ActorObject& boss, BehaviorData& data);
MachineInstruction explosion(ActorObject& boss, BehaviorData& data);

// The generators.
MachineInstruction generatorSetup(ActorObject& generator, BehaviorData& data);
MachineInstruction generatorActivation(ActorObject& generator, BehaviorData& data);
MachineInstruction generatorCheckDamage(ActorObject& generator, BehaviorData& data);

} // namespace zor
