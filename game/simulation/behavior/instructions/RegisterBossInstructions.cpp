#include "game/simulation/behavior/InstructionRegistrars.h"

#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/BossInstructions.h"
#include "game/simulation/behavior/instructions/GeneralInstructions.h"

namespace zor {

void registerBossInstructions(EnemySimulator& simulator) {
    simulator.registerInstruction("BossSetup", bossSetup);
    simulator.registerInstruction("BossStart", bossStart);
    simulator.registerInstruction("BossIdle", bossIdle);
    simulator.registerInstruction("BossAttack", bossAttack);
    simulator.registerInstruction("SpawnEnemy", spawnEnemy);
    simulator.registerInstruction("StartSpinLaser", startSpinLaser);
    simulator.registerInstruction("SpinLaser", spinLaser);
    simulator.registerInstruction("LockOnLaser", lockOnLaser);
    simulator.registerInstruction("StartTargetLaser", startTargetLaser);
    simulator.registerInstruction("TargetLaser", targetLaser);
    simulator.registerInstruction("CheckGenerators", checkGenerators);
    simulator.registerInstruction("Vulnerable", vulnerable);
    simulator.registerInstruction("CheckNextPhase", checkNextPhase);
    simulator.registerInstruction("RespawnGenerators", respawnGenerators);
    simulator.registerInstruction("RestoreBackdrop", restoreBackdrop);
    simulator.registerInstruction("ItIsOverNow", itIsOverNow);
    simulator.registerInstruction("Explosion", explosion);
    simulator.registerInstruction("GeneratorSetup", generatorSetup);
    // Generators wait in these states for the boss's call.
    simulator.registerInstruction("GeneratorInactive", idle);
    simulator.registerInstruction("GeneratorActive", idle);
    simulator.registerInstruction("GeneratorActivation", generatorActivation);
    simulator.registerInstruction("GeneratorCheckDamage", generatorCheckDamage);
}

} // namespace zor
