#pragma once
// The binary font definition file (little-endian):
//   uint32   not read
//   uint16   line height
//   uint32   default code point
//   string   texture file name (uint16 byte count, then the bytes), beside the font file
//   uint16   glyph count G, then G glyph records of 32 bytes, by ascending code point
//   uint32   kerning pair count K, then K pairs of 8 bytes, by ascending key

#include "Framework/core/io/ByteArray.h"
#include "Framework/graphics/font/Glyph.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zor {

struct FontDefinition {
    std::uint16_t lineHeight = 0;
    std::uint32_t defaultCodePoint = 0;
    std::string textureName;
    std::vector<Glyph> glyphs;
    std::vector<KerningPair> kerning;
};

// What text layout can hold: every value finite, source rectangles within
// kMaxFontTextureExtent, and offsets, advances and kerning amounts within kMaxFontStep, so
// that the 32-bit pen of a line stays in range for lines of up to 2^18 glyphs.
constexpr float kMaxFontTextureExtent = 65536.0f;
constexpr float kMaxFontStep = 4096.0f;

// The first value of the definition outside those limits, described ("glyph 65: advance
// 2000000000 is beyond 4096"), or an empty text when all are within them.
std::string fontDefinitionFault(const FontDefinition& font);

// The fields in file order. A file that ends early keeps what was read so far: a table
// whose count promises more bytes than remain stays empty, so no count sizes a table
// before its bytes are known to be there.
FontDefinition readFontDefinition(const ByteArray& data, std::size_t size);

} // namespace zor
