#pragma once
// Lookup in the registries that keep shared objects by name (sprite managers, fonts).

#include <memory>
#include <string>
#include <unordered_map>

namespace zor {

// The object registered under the name, or null when there is none.
template <class T>
T* getNamedShared(const std::string& name, const std::unordered_map<std::string, std::shared_ptr<T>>& map) {
    const auto found = map.find(name);
    return found == map.end() ? nullptr : found->second.get();
}

} // namespace zor
