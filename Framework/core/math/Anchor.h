#pragma once
// Placing a box inside a rectangle by compass point.

#include <cstdint>
#include <string>

#include "Framework/core/math/Rect.h"

namespace zor {

// Numbers come from data; numbers outside 0-8 place nothing (see anchorPosition).
enum class CompassAnchor : std::int32_t {
    Centre = 0,
    North = 1,
    NorthEast = 2,
    East = 3,
    SouthEast = 4,
    South = 5,
    SouthWest = 6,
    West = 7,
    NorthWest = 8,
};

// "n", "ne", "e", "se", "s", "sw", "w", "nw" (exact case); anything else is Centre.
CompassAnchor parseAnchor(const std::string& text);
// Top-left corner of a box of the given size placed in rect at the anchor;
// the zero vector for an anchor number outside 0-8.
fpVector2 anchorPosition(const fpRect& rect, const fpVector2& size, CompassAnchor anchor);

} // namespace zor
