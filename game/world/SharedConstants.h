#pragma once
// Constants and small helpers the whole game shares; each constant is one object, and
// every user reads that object.

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Rect.h"

#include <cstdint>
#include <vector>

namespace zor {

// Opaque red; made safely on first use from any thread (log views run on the thread that
// writes the line).
const PackedColor& redColor();
// Opaque black (0xFF000000), the companion of colorWhite.
const PackedColor& colorBlack();
// The tile list that stands in for a tile set that is unnamed or holds no tiles: the
// empty tile 0 alone.
extern const std::vector<std::uint16_t> defaultTileList;

// Channel by channel a * (1 - t) + b * t, truncated toward zero and kept in its low 8 bits;
// t is not clamped, so a t outside 0 to 1 wraps a channel around (a channel that is not
// finite becomes 0).
PackedColor lerpColor(PackedColor a, PackedColor b, float t);

// Overlap with a positive area: touching edges do not overlap.
bool rectsOverlap(const fpRect& a, const fpRect& b);
// `inner` lies wholly inside `outer`, edges included.
bool rectInside(const fpRect& inner, const fpRect& outer);

} // namespace zor
