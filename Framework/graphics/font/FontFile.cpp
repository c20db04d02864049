#include "Framework/graphics/font/FontFile.h"

#include "Framework/core/io/ByteReader.h"

#include <cmath>
#include <sstream>
#include <utility>

namespace zor {

namespace {

constexpr std::size_t GlyphBytes = sizeof(Glyph);
constexpr std::size_t KerningBytes = sizeof(KerningPair);

Glyph readGlyph(ByteReader& reader) {
    Glyph glyph;
    glyph.codePoint = reader.readU32();
    reader.readFloat(glyph.x);
    reader.readFloat(glyph.y);
    reader.readFloat(glyph.width);
    reader.readFloat(glyph.height);
    reader.readFloat(glyph.offsetX);
    reader.readFloat(glyph.offsetY);
    glyph.advance = reader.readS32();
    return glyph;
}

KerningPair readKerningPair(ByteReader& reader) {
    KerningPair pair;
    pair.key = reader.readU32();
    reader.readFloat(pair.amount);
    return pair;
}

// Empty when the value is finite and its magnitude within the limit.
std::string valueFault(const std::string& what, float value, float limit) {
    if (std::isfinite(value) && std::fabs(value) <= limit) return {};
    std::ostringstream text;
    text << what << " " << value << " is beyond " << limit;
    return text.str();
}

std::string glyphFault(const Glyph& glyph) {
    const std::pair<const char*, float> extents[] = {
        {"x", glyph.x}, {"y", glyph.y}, {"width", glyph.width}, {"height", glyph.height}};
    const std::pair<const char*, float> steps[] = {{"x offset", glyph.offsetX},
                                                   {"y offset", glyph.offsetY},
                                                   {"advance", static_cast<float>(glyph.advance)}};
    for (const auto& [what, value] : extents)
        if (std::string fault = valueFault(what, value, kMaxFontTextureExtent); !fault.empty()) return fault;
    for (const auto& [what, value] : steps)
        if (std::string fault = valueFault(what, value, kMaxFontStep); !fault.empty()) return fault;
    return {};
}

} // namespace

std::string fontDefinitionFault(const FontDefinition& font) {
    for (const Glyph& glyph : font.glyphs)
        if (std::string fault = glyphFault(glyph); !fault.empty())
            return "glyph " + std::to_string(glyph.codePoint) + ": " + fault;
    for (const KerningPair& pair : font.kerning)
        if (std::string fault = valueFault("amount", pair.amount, kMaxFontStep); !fault.empty())
            return "kerning pair " + std::to_string(pair.key) + ": " + fault;
    return {};
}

FontDefinition readFontDefinition(const ByteArray& data, std::size_t size) {
    FontDefinition font;
    ByteReader reader(data, size);
    reader.readU32();
    font.lineHeight = reader.readU16();
    font.defaultCodePoint = reader.readU32();
    reader.readString(font.textureName);

    const std::size_t glyphCount = reader.readU16();
    if (reader.overflow() || reader.remaining() < glyphCount * GlyphBytes) return font;
    font.glyphs.reserve(glyphCount);
    for (std::size_t i = 0; i < glyphCount; ++i) font.glyphs.push_back(readGlyph(reader));

    // Compared in 64 bits: a count near 2^32 must not wrap into a small byte total.
    const std::uint64_t pairCount = reader.readU32();
    if (reader.overflow() || reader.remaining() < pairCount * KerningBytes) return font;
    font.kerning.reserve(static_cast<std::size_t>(pairCount));
    for (std::uint64_t i = 0; i < pairCount; ++i) font.kerning.push_back(readKerningPair(reader));
    return font;
}

} // namespace zor
