#include "game/simulation/behavior/InstructionRegistrars.h"

// The families not built yet; each registrar moves to its family's files when it is.

namespace zor {

void registerBossInstructions(EnemySimulator&) {}

} // namespace zor
