#pragma once
// How loud and where a sound at a point is heard by the listener.

#include "Framework/core/math/Vector.h"

namespace zor {

struct ListenerMix {
    float volume = 0.0f;  // 0 to 1
    float pan = 0.0f;     // -1 left to 1 right
};

// For a view `viewWidth` wide: the range is `range` when positive, else 1.25 view widths;
// the volume falls linearly from 1 at the listener to 0 at 0.625 ranges and is 0 beyond
// the range; the pan is full left or right a quarter of a view width to the side.
ListenerMix listenerMix(const fpVector2& listener, const fpVector2& point, float range, float viewWidth);

} // namespace zor
