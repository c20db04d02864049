#pragma once
// PNG decoding into the layouts textures upload: 1 channel (a grey image used as an alpha
// mask), 3 channels (RGB or palette without transparency) or 4 channels (everything with
// alpha or a transparency chunk, grey with alpha expanded to RGBA). Plain memory work,
// safe on any thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor {

using PixelBuffer = std::shared_ptr<std::vector<std::uint8_t>>;

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    bool alpha = false;
    // Rows top to bottom, width * channels bytes each, no padding; RGBA byte order.
    PixelBuffer pixels;
};

// Images beyond these are refused rather than allocated: no texture of the game comes near.
constexpr std::uint32_t kMaxPngSide = 16384;
constexpr std::uint64_t kMaxPngPixels = std::uint64_t{8192} * 8192;

// Decodes a whole PNG file held in memory. On failure returns false, leaves `out` empty and
// puts the reason into `error`.
bool decodePNG(const std::uint8_t* data, std::size_t size, DecodedImage& out, std::string& error);

} // namespace zor
