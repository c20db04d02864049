#include "game/simulation/audio/ListenerMix.h"

#include <algorithm>
#include <cmath>

namespace zor {

ListenerMix listenerMix(const fpVector2& listener, const fpVector2& point, float range, float viewWidth) {
    const float reach = range > 0.0f ? range : 1.25f * viewWidth;
    const fpVector2 offset = point - listener;
    const float distance = offset.length();
    ListenerMix mix;
    const float side = offset.x > 0.0f ? 1.0f : (offset.x < 0.0f ? -1.0f : 0.0f);
    if (side != 0.0f) mix.pan = side * std::min(std::fabs(offset.x) / (0.25f * viewWidth), 1.0f);
    if (reach > 0.0f && distance <= reach) mix.volume = std::clamp(1.0f - 0.8f * distance / (0.5f * reach), 0.0f, 1.0f);
    return mix;
}

} // namespace zor
