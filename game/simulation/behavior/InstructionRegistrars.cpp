#include "game/simulation/behavior/InstructionRegistrars.h"

// The families not built yet; each registrar moves to its family's files when it is.

namespace zor {

void registerMovementInstructions(EnemySimulator&) {}
void registerCombatInstructions(EnemySimulator&) {}
void registerCreatureInstructions(EnemySimulator&) {}
void registerBossInstructions(EnemySimulator&) {}

} // namespace zor
