#pragma once
// Constants and small helpers the whole game shares; each constant is one object, and
// every user reads that object.

#include "Framework/core/math/Color.h"

#include <cstdint>
#include <vector>

namespace zor {

struct FloatColor {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;
};

// Opaque black, (0, 0, 0, 1). Main thread.
const FloatColor& colorBlackFloat();
// Opaque red; made safely on first use from any thread (log views run on the thread that
// writes the line).
const PackedColor& redColor();
// The tile list that stands in for a tile set that is unnamed or holds no tiles: the
// empty tile 0 alone.
extern const std::vector<std::uint16_t> defaultTileList;

// Channel by channel a + (b - a) * t, truncated to bytes.
PackedColor lerpColor(PackedColor a, PackedColor b, float t);

} // namespace zor
