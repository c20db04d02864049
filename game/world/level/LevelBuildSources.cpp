#include "game/world/level/LevelBuildSources.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

LevelBuildSources LevelBuildSources::current() { return {patchLibrary(), &resourceRegistry(), &actorRegistry()}; }

} // namespace zor
