#include "game/world/SharedConstants.h"

namespace zor {

const FloatColor& colorBlackFloat() {
    static const FloatColor black{0.0f, 0.0f, 0.0f, 1.0f};
    return black;
}

const PackedColor& redColor() {
    // A local static is initialised once even when two threads arrive together.
    static const PackedColor red = PackedColor::fromChannels(255, 0, 0, 255);
    return red;
}

const std::vector<std::uint16_t> defaultTileList = {0};

PackedColor lerpColor(PackedColor a, PackedColor b, float t) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float from = float((a.value >> shift) & 0xFF);
        const float to = float((b.value >> shift) & 0xFF);
        result |= std::uint32_t(std::uint8_t(from + (to - from) * t)) << shift;
    }
    return PackedColor(result);
}

} // namespace zor
