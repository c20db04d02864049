#pragma once
// The process-wide registry of script node types: a type name of a level record to a
// factory of its node class. Filled once at start-up on the main thread, before any level
// is built (builds read it on the worker).

#include "game/script/ScriptNode.h"

#include <memory>
#include <string>

namespace zor {

using ScriptNodeFactory = std::unique_ptr<ScriptNode> (*)();

// The first registration of a name wins: a later one changes nothing and gives false.
bool registerScriptNodeType(const std::string& typeName, ScriptNodeFactory factory);
// Null for a name that is not registered.
std::unique_ptr<ScriptNode> createScriptNode(const std::string& typeName);
void clearScriptNodeRegistry();

// The factory of a node class made from nothing but its type name.
template <class Node>
std::unique_ptr<ScriptNode> makeScriptNode() {
    return std::make_unique<Node>();
}

} // namespace zor
