#pragma once
// Small fonts made from tables, for layout tests: every printable ASCII character is 6 x 8
// units and advances 7, the blank advances 4 and has no area, Japanese kana are 9 x 9 and
// advance 10. Lines are 10 high; "?" stands in for what is missing. The pairs "AV" (-2)
// and "To" (-1.5) are kerned.

#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/texture/Texture.h"

#include <memory>

namespace zor::test {

constexpr std::uint32_t HiraganaA = 0x3042;  // あ

inline Glyph tableGlyph(std::uint32_t codePoint, float width, float height, std::int32_t advance, float column) {
    Glyph glyph;
    glyph.codePoint = codePoint;
    glyph.x = column;
    glyph.y = 0.0f;
    glyph.width = width;
    glyph.height = height;
    glyph.offsetX = 0.0f;
    glyph.offsetY = 1.0f;
    glyph.advance = advance;
    return glyph;
}

inline FontDefinition tableFontDefinition() {
    FontDefinition definition;
    definition.lineHeight = 10;
    definition.defaultCodePoint = '?';
    definition.textureName = "table.png";
    float column = 0.0f;
    definition.glyphs.push_back(tableGlyph(' ', 0.0f, 0.0f, 4, 0.0f));
    for (std::uint32_t c = 33; c <= 126; ++c, column += 8.0f) definition.glyphs.push_back(tableGlyph(c, 6, 8, 7, column));
    for (std::uint32_t c = 0x3041; c <= 0x3096; ++c, column += 11.0f)
        definition.glyphs.push_back(tableGlyph(c, 9, 9, 10, column));
    definition.glyphs.push_back(tableGlyph(0xFFFD, 6, 8, 7, column));
    definition.kerning = {{kerningKey('A', 'V'), -2.0f}, {kerningKey('T', 'o'), -1.5f}};
    return definition;
}

// A texture record of the given size with a made-up GL name and no GL object, for
// drawing into batches that never reach OpenGL.
inline std::shared_ptr<Texture> fakeFontTexture(float width, float height) {
    auto record = std::make_shared<Texture::CachedTexture>();
    record->name = "font page";
    record->glTexture = 77;
    record->width = width;
    record->height = height;
    record->pixelWidth = static_cast<std::int32_t>(width);
    record->pixelHeight = static_cast<std::int32_t>(height);
    record->reciprocalWidth = 1.0f / width;
    record->reciprocalHeight = 1.0f / height;
    record->channels = 4;
    record->alpha = true;
    return std::make_shared<Texture>(std::move(record));
}

inline std::unique_ptr<Font> tableFont() {
    return std::make_unique<Font>(tableFontDefinition(), fakeFontTexture(2048.0f, 16.0f));
}

} // namespace zor::test
