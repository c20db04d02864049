#include "game/simulation/behavior/InstructionRegistrars.h"

// No family has instructions yet; each registrar fills in as its family is built.

namespace zor {

void registerGeneralInstructions(EnemySimulator&) {}
void registerMovementInstructions(EnemySimulator&) {}
void registerCombatInstructions(EnemySimulator&) {}
void registerCreatureInstructions(EnemySimulator&) {}
void registerBarrelInstructions(EnemySimulator&) {}
void registerNpcInstructions(EnemySimulator&) {}
void registerBossInstructions(EnemySimulator&) {}

} // namespace zor
