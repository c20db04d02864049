#include "Framework/graphics/font/Font.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/localization/LocalizedFileName.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/texture/Texture.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zor {

namespace {

const std::string ReadErrorPrefix = "Could not read font definition ";

// Font pages are drawn scaled, so they are filtered linearly and never wrap into the
// neighbouring glyph at the page's edge.
const TextureSampling FontSampling{1, 1, 0, 0};

void scaleGlyph(Glyph& glyph, float scale) {
    glyph.x *= scale;
    glyph.y *= scale;
    glyph.width *= scale;
    glyph.height *= scale;
    glyph.offsetX *= scale;
    glyph.offsetY *= scale;
    glyph.advance = static_cast<std::int32_t>(std::lround(static_cast<float>(glyph.advance) * scale));
}

} // namespace

Font::Font(const std::string& path) {
    ByteArray data;
    const std::size_t size = readFile(data, localizedFileName(path), FileLocation::GameData, false);
    if (size == 0) throw CheckReleaseError(ReadErrorPrefix + path);
    FontDefinition definition = readFontDefinition(data, size);
    const std::string textureName = joinPath(directoryOf(path), definition.textureName);
    adopt(std::move(definition), textureScale, path);
    texture = std::make_shared<Texture>(textureName, false, FontSampling);
}

Font::Font(FontDefinition definition, std::shared_ptr<Texture> fontTexture) : texture(std::move(fontTexture)) {
    adopt(std::move(definition), 1.0f, "font tables");
}

void Font::adopt(FontDefinition definition, float scale, const std::string& source) {
    if (definition.glyphs.empty()) throw CheckReleaseError(ReadErrorPrefix + source + ": it holds no glyph");
    const std::string fault = fontDefinitionFault(definition);
    if (!fault.empty()) throw CheckReleaseError(ReadErrorPrefix + source + ": " + fault);
    lineHeight = definition.lineHeight;
    glyphs = std::move(definition.glyphs);
    kerningPairs = std::move(definition.kerning);
    if (scale != 1.0f) {
        lineHeight = static_cast<std::int32_t>(std::floor(static_cast<float>(lineHeight) * scale));
        for (Glyph& glyph : glyphs) scaleGlyph(glyph, scale);
        for (KerningPair& pair : kerningPairs) pair.amount *= scale;
    }
    // Taken after scaling, so the stand-in is drawn like every other glyph. A default
    // code point above the whole table takes the last glyph.
    const auto found = std::lower_bound(glyphs.begin(), glyphs.end(), definition.defaultCodePoint,
                                        [](const Glyph& glyph, std::uint32_t code) { return glyph.codePoint < code; });
    defaultGlyph = found == glyphs.end() ? glyphs.back() : *found;
    buildLookups();
}

void Font::buildLookups() {
    m_latin.fill(&defaultGlyph);
    std::array<bool, 256> latinSeen{};
    m_otherGlyphs = KeyTable<const Glyph*>(glyphs.size());
    for (const Glyph& glyph : glyphs) {
        if (glyph.codePoint >= m_latin.size()) {
            m_otherGlyphs.add(glyph.codePoint, &glyph);
        } else if (!latinSeen[glyph.codePoint]) {
            latinSeen[glyph.codePoint] = true;
            m_latin[glyph.codePoint] = &glyph;
        }
    }
    m_kerning = KeyTable<float>(kerningPairs.size());
    m_latinPairs.fill(0);
    for (const KerningPair& pair : kerningPairs) {
        m_kerning.add(pair.key, pair.amount);
        if ((pair.key & 0xFF00FF00u) == 0) {
            const std::uint32_t bit = (pair.key >> 8) | (pair.key & 0xFFu);
            m_latinPairs[bit >> 6] |= std::uint64_t(1) << (bit & 63u);
        }
    }
}

} // namespace zor
