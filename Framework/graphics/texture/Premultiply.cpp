#include "Framework/graphics/texture/Premultiply.h"

namespace zor {

void premultiplyAlpha(std::uint8_t* rgba, std::size_t pixelCount) {
    for (std::size_t i = 0; i < pixelCount; ++i, rgba += 4) {
        const unsigned factor = rgba[3] + 1u;
        if (rgba[3] == 0) {
            rgba[0] = rgba[1] = rgba[2] = 0;
            continue;
        }
        rgba[0] = static_cast<std::uint8_t>((rgba[0] * factor) >> 8);
        rgba[1] = static_cast<std::uint8_t>((rgba[1] * factor) >> 8);
        rgba[2] = static_cast<std::uint8_t>((rgba[2] * factor) >> 8);
    }
}

} // namespace zor
