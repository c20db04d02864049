#pragma once
// The patch compiler's work as a library, for the program and for tests that make their
// fixture libraries from XML texts: sources and game data names in, "patchsets.bin" out.

#include <filesystem>
#include <string>
#include <vector>

#include "tools/patch_compiler/compiler/PatchSources.h"

namespace zor {

// The "*.xml" files of `folder`, in name order (their names relative to the folder).
std::vector<SourceFile> readSourceFolder(const std::filesystem::path& folder);

// The names the sources may refer to, from a game data folder: the resources of
// Definitions/resources.xml in file order, the materials of Definitions/materials.xml and
// the levels described in Levels. Throws CheckReleaseError for a missing or broken file.
GameDataNames readGameDataNames(const std::filesystem::path& dataFolder);

// The bytes of "patchsets.bin"; the same sources and names give the same bytes. Throws
// SourceError for a fault in the sources.
std::string compilePatchLibrary(const std::vector<SourceFile>& sources, const GameDataNames& names);

} // namespace zor
