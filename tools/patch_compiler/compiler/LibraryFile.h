#pragma once
// The content of a "patchsets.bin" record by record, in file order, as the writer lays it
// out. Names are texts here; the writer gathers them into the file's string table. Unlike
// the game's tables, a file may hold several records of one name and values the game reads
// in its own way (a level's sub-level byte), so tests can write every case the readers meet.

#include <cstdint>
#include <string>
#include <vector>

#include "game/world/level/LevelLink.h"
#include "game/world/level/PatchSet.h"
#include "game/world/level/TileType.h"

namespace zor {

struct LibraryFile {
    struct TileSet {
        std::string name;
        std::vector<std::uint16_t> tiles;
    };

    struct PatchSetRecord {
        std::string name;
        // Ids, owners and steps are the reader's business and are not written.
        std::vector<PatchSet::Patch> patches;
    };

    struct LevelRecord {
        std::string name;
        std::uint8_t subLevel = 0;  // read as a signed byte: 1 to 127 mark a sub-level
        std::vector<LevelLinkEntry> links;  // targets are resolved by the reader
    };

    std::vector<TileType> tileTypes;
    std::vector<TileSet> tileSets;
    std::vector<PatchSetRecord> patchSets;
    std::vector<LevelRecord> levels;
};

} // namespace zor
