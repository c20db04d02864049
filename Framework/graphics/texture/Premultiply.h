#pragma once
// Premultiplication of RGBA pixels by their alpha, as loaded PNG textures get it.

#include <cstddef>
#include <cstdint>

namespace zor {

// A pixel with alpha 0 becomes all zero; otherwise each colour byte c becomes
// (c * (alpha + 1)) >> 8 and alpha stays, so alpha 255 leaves the colour exactly as it was.
void premultiplyAlpha(std::uint8_t* rgba, std::size_t pixelCount);

} // namespace zor
