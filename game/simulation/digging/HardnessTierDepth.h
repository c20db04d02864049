#pragma once
// Where a level's hardness curve reaches a tier: the map's tier markers.

#include "game/world/level/LevelDefinition.h"

#include <cstdint>

namespace zor {

// The depth in tiles (the scale of the row index) at which `tier` begins; 0 for every tier
// of a level without hardness multiplier. A curve that never reaches the tier there (a
// negative base under a fractional root, Power or Linear 0) gives +infinity: beyond the
// level.
float hardnessTierDepth(const LevelDefinition& level, std::int32_t tier);

} // namespace zor
