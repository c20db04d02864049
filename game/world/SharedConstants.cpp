#include "game/world/SharedConstants.h"

#include <cmath>

namespace zor {

namespace {

std::uint32_t lowByte(float channel) {
    if (!std::isfinite(channel)) return 0;
    // The remainder keeps the sign and the low bits of the whole part at any magnitude.
    return std::uint32_t(std::int64_t(std::fmod(channel, 256.0f))) & 0xFFu;
}

} // namespace

const PackedColor& redColor() {
    // A local static is initialised once even when two threads arrive together.
    static const PackedColor red = PackedColor::fromChannels(255, 0, 0, 255);
    return red;
}

const PackedColor& colorBlack() {
    static const PackedColor black(0xFF000000u);
    return black;
}

const std::vector<std::uint16_t> defaultTileList = {0};

PackedColor lerpColor(PackedColor a, PackedColor b, float t) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float from = float((a.value >> shift) & 0xFF);
        const float to = float((b.value >> shift) & 0xFF);
        result |= lowByte(from * (1.0f - t) + to * t) << shift;
    }
    return PackedColor(result);
}

bool rectsOverlap(const fpRect& a, const fpRect& b) {
    return a.x < b.x + b.w && a.y < b.y + b.h && b.x < a.x + a.w && b.y < a.y + a.h;
}

bool rectInside(const fpRect& inner, const fpRect& outer) {
    // Each sum rounded to float before it is compared, whatever the evaluation precision.
    const float innerRight = inner.x + inner.w;
    const float innerBottom = inner.y + inner.h;
    const float outerRight = outer.x + outer.w;
    const float outerBottom = outer.y + outer.h;
    return inner.x >= outer.x && inner.y >= outer.y && innerRight <= outerRight && innerBottom <= outerBottom;
}

} // namespace zor
