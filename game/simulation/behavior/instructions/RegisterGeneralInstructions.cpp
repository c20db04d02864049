#include "game/simulation/behavior/InstructionRegistrars.h"

#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/GeneralInstructions.h"

namespace zor {

void registerGeneralInstructions(EnemySimulator& simulator) {
    simulator.registerInstruction("FlipCoin", flipCoin);
    simulator.registerInstruction("Random", randomChance);
    simulator.registerInstruction("Delay", delay);
    simulator.registerInstruction("Idle", idle);
    simulator.registerInstruction("ResetHeartBeat", resetHeartBeat);
    simulator.registerInstruction("Spawn", spawn);
    simulator.registerInstruction("ClearInputs", clearInputs);
    simulator.registerInstruction("SetGoodLoot", setGoodLoot);
    simulator.registerInstruction("SetCheckEdgeTimer", setCheckEdgeTimer);
    simulator.registerInstruction("Suicide", suicide);
    simulator.registerInstruction("Zombiefy", zombiefy);
    simulator.registerInstruction("PodiumUpdate", podiumUpdate);
    simulator.registerInstruction("SetActivateBarrels", setActivateBarrels);
    simulator.registerInstruction("StopUpdate", stopUpdate);
    simulator.registerInstruction("HasGround", hasGround);
    simulator.registerInstruction("CheckGround", checkGround);
    simulator.registerInstruction("Teleporter", teleporter);
    simulator.registerInstruction("TownTeleporterVisibility", townTeleporterVisibility);
    simulator.registerInstruction("DeleteTeleporter", deleteTeleporter);
    simulator.registerInstruction("PlaySound", playSound);
    simulator.registerInstruction("SimpleAnimation", simpleAnimation);
    simulator.registerInstruction("TriggerAnimation", triggerAnimation);
    simulator.registerInstruction("CompositeState", compositeState);
}

} // namespace zor
