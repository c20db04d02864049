#pragma once
// What a level build reads besides the level's description: the patch library and the
// actor and resource registries. The game builds from the library in use and the
// program's registries; tests and tools pass their own.

#include <memory>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct ActorDefinition;
struct PatchLibraryTables;
struct ResourceDefinition;

struct LevelBuildSources {
    // The library in use and the program's registries, as they are at the call.
    static LevelBuildSources current();

    std::shared_ptr<const PatchLibraryTables> library;  // never null
    const DefinitionRegistry<ResourceDefinition>* resources = nullptr;  // never null
    const DefinitionRegistry<ActorDefinition>* actors = nullptr;        // never null
};

} // namespace zor
