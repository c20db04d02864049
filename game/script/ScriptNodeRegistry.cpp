#include "game/script/ScriptNodeRegistry.h"

#include <map>

namespace zor {

namespace {

std::map<std::string, ScriptNodeFactory>& registry() {
    static std::map<std::string, ScriptNodeFactory> factories;
    return factories;
}

} // namespace

bool registerScriptNodeType(const std::string& typeName, ScriptNodeFactory factory) {
    return registry().emplace(typeName, factory).second;
}

std::unique_ptr<ScriptNode> createScriptNode(const std::string& typeName) {
    const auto found = registry().find(typeName);
    if (found == registry().end()) return nullptr;
    return found->second();
}

void clearScriptNodeRegistry() { registry().clear(); }

} // namespace zor
