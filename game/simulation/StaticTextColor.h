#pragma once
// The colour of the floating texts the simulation puts into the world.

#include "Framework/core/math/Color.h"

namespace zor {

// Opaque yellow.
const PackedColor& staticTextColor();

} // namespace zor
