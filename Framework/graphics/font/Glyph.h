#pragma once
// The records of a bitmap font, laid out as they are stored in a font file.

#include <cstdint>

namespace zor {

// One character of the font texture. Positions are in the texture's layout units.
struct Glyph {
    std::uint32_t codePoint = 0;
    // Source rectangle in the font texture.
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    // Where the quad's top-left corner goes, from the pen position at the line's top.
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    // How far the pen moves on.
    std::int32_t advance = 0;
};
static_assert(sizeof(Glyph) == 32, "a glyph record is 32 bytes in the file");

// The extra distance between two characters, added to the second one's position.
struct KerningPair {
    // First code point's low 16 bits in the high half, the second's in the low half.
    std::uint32_t key = 0;
    float amount = 0.0f;
};
static_assert(sizeof(KerningPair) == 8, "a kerning pair is 8 bytes in the file");

constexpr std::uint32_t kerningKey(std::uint32_t previous, std::uint32_t codePoint) {
    return (previous << 16) + (codePoint & 0xFFFFu);
}

} // namespace zor
