#pragma once
// Turns a level's script records into a new script graph: one node per record of a
// registered type, its properties read, and then each record's links, in order, made into
// connections to other nodes or bound to the placed world objects they name.

#include "game/world/level/PatchSet.h"

#include <memory>
#include <string>
#include <vector>

namespace zor {

class ScriptSystem;
class World;

// A record of a type that is not registered is skipped with a warning naming the level
// and the type; links to and from it are ignored. Runs during the level build on the
// worker: it reads the World's tables and touches nothing of the main thread.
std::shared_ptr<ScriptSystem> buildScriptGraph(const std::vector<PatchGraphNode>& records, World& world,
                                               const std::string& levelName);

} // namespace zor
