#include "Framework/core/math/Anchor.h"

namespace zor {

CompassAnchor parseAnchor(const std::string& text) {
    static const char* const names[] = {"n", "ne", "e", "se", "s", "sw", "w", "nw"};
    for (std::int32_t i = 0; i < 8; ++i) {
        if (text == names[i])
            return static_cast<CompassAnchor>(i + 1);
    }
    return CompassAnchor::Centre;
}

fpVector2 anchorPosition(const fpRect& rect, const fpVector2& size, CompassAnchor anchor) {
    const float left = rect.x;
    const float centreX = rect.x + (rect.w - size.x) / 2.0f;
    const float right = rect.x + rect.w - size.x;
    const float top = rect.y;
    const float centreY = rect.y + (rect.h - size.y) / 2.0f;
    const float bottom = rect.y + rect.h - size.y;
    switch (anchor) {
    case CompassAnchor::Centre: return {centreX, centreY};
    case CompassAnchor::North: return {centreX, top};
    case CompassAnchor::NorthEast: return {right, top};
    case CompassAnchor::East: return {right, centreY};
    case CompassAnchor::SouthEast: return {right, bottom};
    case CompassAnchor::South: return {centreX, bottom};
    case CompassAnchor::SouthWest: return {left, bottom};
    case CompassAnchor::West: return {left, centreY};
    case CompassAnchor::NorthWest: return {left, top};
    }
    return fpVector2::zero();
}

} // namespace zor
