// Feeds arbitrary bytes to the font file reader: every input either has no glyph or makes
// a font whose tables hold no more than the bytes could; a font that is accepted lays text
// out without overflowing its pen.
#include "Framework/core/Errors.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/font/FontFile.h"
#include "Framework/graphics/text/TextLayout.h"
#include "Framework/graphics/text/TextMesh.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zor::ByteArray bytes(new std::uint8_t[size + 1]);
    if (size > 0) std::memcpy(bytes.get(), data, size);
    zor::FontDefinition definition = zor::readFontDefinition(bytes, size);
    if ((definition.glyphs.size() * 32 + definition.kerning.size() * 8) > size) std::abort();
    if (definition.glyphs.empty()) return 0;

    // The input's own bytes, taken as text, exercise the lookups with its code points.
    const std::string text(reinterpret_cast<const char*>(data), size < 64 ? size : 64);
    std::unique_ptr<zor::Font> loaded;
    try {
        loaded = std::make_unique<zor::Font>(std::move(definition), nullptr);
    } catch (const zor::CheckReleaseError&) {
        // Values layout cannot hold are refused.
        return 0;
    }
    const zor::Font& font = *loaded;
    const zor::fpRect box(0, 0, 200, 100);
    std::string remainder = "...";
    zor::Font::buildTextLine(font, text, box, zor::CompassAnchor::Centre);
    zor::Font::buildTextMesh(font, text, box, zor::CompassAnchor::SouthEast);
    zor::Font::buildWrappedText(&remainder, font, text, box, zor::CompassAnchor::NorthWest, 1);
    if (remainder.size() > text.size() * 3) std::abort();
    zor::measureText(text, font);
    return 0;
}
