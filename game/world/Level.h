#pragma once
// The level being played (the record the level builder makes) and the exit record the
// World's exit objects stand for.

#include "game/world/level/Level.h"

#include "Framework/core/math/Vector.h"

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

} // namespace zor
