#pragma once
// The level being played, as the World and its users read it: its name, the flags of its
// description that decide depth, persistence and return points, and its byte grid. The
// level builder makes it; until then a level is its name and an empty grid.

#include "game/world/PersistentTileMap.h"

#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zor {

// One exit of a level: an area standing on its point that leads to another level.
struct LevelExit {
    fpVector2 position;
    float halfWidth = 0.0f;  // pixels; the area is twice as wide and as high
    std::string targetLevel;
    // Empty, or an item the player must hold to pass.
    std::string requiredItem;
};

struct Level {
    // The town on the surface, where no return point is kept.
    static constexpr const char* TownName = "shalebury";

    explicit Level(std::string name) : name(std::move(name)) {}

    std::string name;
    bool isCave = false;
    bool atSurface = false;
    // Depth in tiles of the level's top row.
    std::int32_t startDepth = 0;
    // Entering the level restores its earth, and the actors that go with it.
    bool resetEarth = false;
    std::shared_ptr<PersistentTileMap> tileMap = std::make_shared<PersistentTileMap>(0, 0);
};

} // namespace zor
