#pragma once
// Bitmap fonts for the game from TrueType fonts: FreeType renders each character at a
// pixel size onto one glyph page, which is written as a PNG (white, coverage in alpha)
// beside the binary font definition that describes it.

#include "Framework/graphics/font/FontFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor::fontwriter {

struct FontSource {
    std::string trueTypePath;
    int pixelSize = 0;
    // Characters the font offers; those the TrueType font lacks are left out.
    std::vector<std::uint32_t> codePoints;
    // Drawn for characters without a glyph; must be among the rendered ones.
    std::uint32_t defaultCodePoint = '?';
    // Empty pixels around each glyph on the page, so filtering never reaches a neighbour.
    int padding = 2;
};

// RGBA, rows top to bottom.
struct GlyphPage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

struct RenderedFont {
    FontDefinition definition;
    GlyphPage page;
};

// Renders the characters and their kerning pairs; the definition names `textureName` as
// its page. Throws std::runtime_error when the font cannot be read or lacks the default.
RenderedFont renderFont(const FontSource& source, const std::string& textureName);

// The bytes of a font definition file.
std::vector<std::uint8_t> encodeFontDefinition(const FontDefinition& definition);
std::vector<std::uint8_t> encodePng(const GlyphPage& page);

// Writes the definition to `fontPath` and the page beside it under the definition's
// texture name, creating the folder. Throws std::runtime_error naming a file it cannot write.
void writeFontFiles(const RenderedFont& font, const std::string& fontPath);

// "32-126,160-255,0x2026": decimal or 0x-prefixed numbers and inclusive ranges.
// Throws std::invalid_argument for anything else.
std::vector<std::uint32_t> parseCodePoints(const std::string& list);

// The characters of the game's fonts: ASCII, Latin-1, Latin Extended-A, the common
// punctuation of general typography and the replacement character.
const std::string& defaultCharacterList();

} // namespace zor::fontwriter
