#pragma once
// What the World keeps of a level between visits, and the save file stores: the two seeds
// the level is generated from (the same seeds, legacy flag, patch library and definitions
// give the same level cell for cell), the byte grid the player changed, where the player
// stood and the level's saved entities.

#include <cstdint>
#include <memory>
#include <vector>

#include "Framework/core/math/Vector.h"
#include "game/world/PersistentTileMap.h"

namespace zor {

struct PersistentLevelInfo {
    std::int32_t seedLow = 0;   // 0 to 0x7FFFFFFF
    std::int32_t seedHigh = 0;
    bool legacy = false;        // generated with the legacy randomizer
    std::shared_ptr<PersistentTileMap> tileMap;  // null until a checkpoint remembers it
    fpVector2 playerPosition;
    // The level's entity record (its persistent actors and resources), as checkpoints
    // write it and the save file keeps it.
    std::vector<std::uint8_t> entities;
};

} // namespace zor
