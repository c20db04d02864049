#pragma once
// Patch libraries for tests, made with the patch compiler's own library: compiled from XML
// texts in the compiler's source format, or written record by record, then read by the
// game's readers.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "Framework/core/io/ByteArray.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tools/patch_compiler/compiler/PatchSources.h"

namespace zor::test {

// The names fixture sources may use: the resources copper_ore, tin_ore, glimmer_shard (1 to
// 3), the materials loam and bedrock, the levels town, mine and cave.
GameDataNames fixtureNames();

// `sources` (each the text of a <PatchLibrary> document) compiled to "patchsets.bin".
std::string compileLibrary(const std::vector<std::string>& sources, const GameDataNames& names = fixtureNames());

// The bytes in a buffer the readers take (one spare byte, as file reads leave).
ByteArray byteArrayOf(const std::string& bytes);

// Where the sections of library bytes begin, after the header and the string table.
std::size_t sectionsStart(const std::string& bytes);

// Library bytes read as the game reads them, not published. Resource values up to
// `resourceCount` pass.
std::shared_ptr<PatchLibraryTables> readLibrary(const std::string& bytes, std::size_t resourceCount = 65535);

// Compiles `sources` and publishes the library as the one in use; returns it.
std::shared_ptr<const PatchLibraryTables> useCompiledLibrary(const std::vector<std::string>& sources,
                                                            const GameDataNames& names = fixtureNames());

} // namespace zor::test
