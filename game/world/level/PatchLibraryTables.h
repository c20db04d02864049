#pragma once
// The tables of the patch library: tile types, tile sets, patch sets and level links, as
// one read of "patchsets.bin" left them. A load builds new tables and publishes them only
// when the whole file is good; published tables never change, so a level build that holds
// them reads one consistent library even while the game reloads it.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/world/level/LevelLink.h"
#include "game/world/level/PatchSet.h"
#include "game/world/level/TileType.h"

namespace zor {

struct PatchLibraryTables {
    // Entry i describes tile index i of a tile word.
    std::vector<TileType> tileTypes;
    std::map<std::string, std::shared_ptr<const TileSetDefinition>> tileSets;
    std::map<std::string, std::shared_ptr<const PatchSet>> patchSets;
    LevelLinkTable levelLinks;

    // The set registered under `name`; an empty set for an empty or unknown name.
    const TileSetDefinition& findTileSet(const std::string& name) const;
    // Null for an unknown name.
    std::shared_ptr<const PatchSet> findPatchSet(const std::string& name) const;
    // Null for an unknown name.
    const LevelLink* findLevelLink(const std::string& name) const;
};

// The library in use: empty tables until the first good load. Never null. Safe from any
// thread; keep the pointer for as long as one consistent library is needed.
std::shared_ptr<const PatchLibraryTables> patchLibrary();
// Publishes `tables` (not null) as the library in use.
void setPatchLibrary(std::shared_ptr<const PatchLibraryTables> tables);

// Look-ups in the library in use; each result keeps that library alive.
std::shared_ptr<const TileSetDefinition> findTileSet(const std::string& name);
std::shared_ptr<const PatchSet> findPatchSet(const std::string& name);
std::shared_ptr<const LevelLink> findLevelLink(const std::string& name);

} // namespace zor
