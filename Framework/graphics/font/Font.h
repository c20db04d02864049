#pragma once
// A bitmap font: one texture, its glyph records and per-pair kerning. Fonts are loaded
// once at start-up into the FontSet and never changed; text meshes keep plain pointers
// to them, so a font must outlive every mesh laid out with it.

#include "Framework/core/math/Anchor.h"
#include "Framework/core/math/Rect.h"
#include "Framework/graphics/font/FontFile.h"
#include "Framework/graphics/font/Glyph.h"
#include "Framework/graphics/font/KeyTable.h"

#include <boost/intrusive_ptr.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor {

class Texture;
class TextMesh;
using TextMeshPtr = boost::intrusive_ptr<TextMesh>;

// Not copied or moved: the lookup tables point into the font's own glyph table.
class Font {
public:
    // Loads the font definition file `path` (its localised name) from the game data, and
    // the texture it names from the same folder. Metrics are scaled by textureScale.
    // Throws CheckReleaseError "Could not read font definition <path>" when the file is
    // missing or empty, and also (with the reason) when it holds no glyph or a value that
    // layout cannot hold (fontDefinitionFault).
    explicit Font(const std::string& path);
    // A font from tables already in layout units (no scaling). The texture may be null
    // for fonts that only lay text out. Throws CheckReleaseError as above.
    Font(FontDefinition definition, std::shared_ptr<Texture> fontTexture);

    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The glyph of the code point, or the default glyph: the first record of the code
    // point in the table, as a search of the sorted table finds it. Code points below 256
    // are looked up directly, the others in a hash table.
    const Glyph& findGlyph(std::uint32_t codePoint) const {
        if (codePoint < m_latin.size()) return *m_latin[codePoint];
        const Glyph* const* found = m_otherGlyphs.find(codePoint);
        return found ? **found : defaultGlyph;
    }
    // The amount the pair moves the second glyph; 0 for no pair. The pair's key (see
    // kerningKey) is looked up in a hash table, after a bit set of the pairs of code points
    // below 256, which mostly answers "no pair" at once. A previous code point of -1 (line
    // start) matches no pair.
    float kerning(std::int32_t previous, std::uint32_t codePoint) const {
        const auto first = static_cast<std::uint32_t>(previous);
        if ((first | codePoint) < 256 && !((m_latinPairs[(first << 2) | (codePoint >> 6)] >> (codePoint & 63u)) & 1u))
            return 0.0f;
        const float* amount = m_kerning.find(kerningKey(first, codePoint));
        return amount ? *amount : 0.0f;
    }

    // The layouts (text/TextLayout.cpp). Invalid UTF-8 is shown as U+FFFD.
    // One line; line feeds are not recognised.
    static TextMeshPtr buildTextLine(const Font& font, const std::string& text, const fpRect& box,
                                     CompassAnchor anchor);
    // Lines filling the box, wrapped at whichever glyph would pass its right edge.
    static TextMeshPtr buildTextMesh(const Font& font, const std::string& text, const fpRect& box,
                                     CompassAnchor anchor);
    // Lines filling the box, wrapped at blanks (in languages that break there). With a
    // remainder, its content is the continuation marker drawn after the last line when
    // the text does not fit; it is replaced by the text left over (empty when all fit).
    static TextMeshPtr buildWrappedText(std::string* remainder, const Font& font, const std::string& text,
                                        const fpRect& box, CompassAnchor anchor, int mode);

    std::shared_ptr<Texture> texture;
    std::int32_t lineHeight = 0;
    // Stands in for code points without a glyph.
    Glyph defaultGlyph;
    std::vector<Glyph> glyphs;  // by ascending code point
    std::vector<KerningPair> kerningPairs;  // by ascending key

private:
    void adopt(FontDefinition definition, float scale, const std::string& source);
    void buildLookups();

    std::array<const Glyph*, 256> m_latin{};
    KeyTable<const Glyph*> m_otherGlyphs;
    KeyTable<float> m_kerning;
    // Bit a x 256 + b: a pair (a, b) of code points below 256 is kerned.
    std::array<std::uint64_t, 1024> m_latinPairs{};
};

} // namespace zor
