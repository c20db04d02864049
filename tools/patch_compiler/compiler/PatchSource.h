#pragma once
// One <Patch> element of the sources into the patch record the writer lays out.

#include <cstdint>
#include <string>
#include <unordered_map>

#include "game/world/level/PatchSet.h"
#include "tools/patch_compiler/compiler/PatchSources.h"
#include "tools/patch_compiler/compiler/SourceGrid.h"

namespace zor {

// What a patch may refer to.
struct PatchNames {
    const std::unordered_map<std::string, std::uint16_t>& tileTypes;  // name -> tile index
    const GameDataNames& game;
};

// Throws SourceError naming the file and line of the fault.
PatchSet::Patch readPatchSource(const SourceDocument& document, const pugi::xml_node& element, const Legend& outer,
                                const PatchNames& names);

} // namespace zor
