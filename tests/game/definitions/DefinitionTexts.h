#pragma once
// Loading definitions from small XML texts into fresh registries that carry the names of
// a kind's global registry, so the global ones stay untouched.

#include <memory>
#include <string>

#include "Framework/core/Errors.h"
#include "game/definitions/DefinitionRegistry.h"

namespace zor::test {

// `definitions` wrapped in the kind's root element and loaded as `file`.
template <class T>
std::unique_ptr<DefinitionRegistry<T>> loadDefinitions(const DefinitionRegistry<T>& kind, const std::string& file,
                                                       const std::string& definitions) {
    auto registry = std::make_unique<DefinitionRegistry<T>>(kind.rootName(), kind.elementName(), kind.key());
    registry->loadText(file, "<" + kind.rootName() + ">" + definitions + "</" + kind.rootName() + ">");
    return registry;
}

// The text of the CheckReleaseError that loading gives, or "no error".
template <class T>
std::string loadFailure(const DefinitionRegistry<T>& kind, const std::string& file, const std::string& definitions) {
    try {
        loadDefinitions(kind, file, definitions);
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "no error";
}

// The nested text of a definition that its reader rejected.
inline std::string definitionFailure(const std::string& root, const std::string& element, const std::string& name,
                                     const std::string& file, const std::string& reason) {
    return "Could not load " + root + " from file '" + file + "', reason: Could not read " + element +
           " definition '" + name + "' in file '" + file + "', reason: " + reason;
}

} // namespace zor::test
