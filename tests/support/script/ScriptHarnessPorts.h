#pragma once
// The level scripts of the game in a harness game, in place of the recording script port:
//
//     HarnessOptions options;
//     options.ports = test::withLevelScripts;

#include "game/simulation/ports/GamePorts.h"

#include <memory>

namespace zor::test {

// Registers the logic node types (once per program; a second call changes nothing) and
// wraps the recorders with the game's script simulator.
std::shared_ptr<const GamePorts> withLevelScripts(std::shared_ptr<const GamePorts> recorders);

} // namespace zor::test
