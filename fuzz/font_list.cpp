// Reads arbitrary text as the font list "Fonts/fonts.txt" of a folder that holds two good
// fonts. Every line either registers a font under its name without extension or stops the
// loading with CheckReleaseError; nothing else may escape.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_font_list
//   build-fuzz/fuzz/fuzz_font_list -max_total_time=60 build-fuzz/fuzz/corpus/font_list

#include "Framework/core/Errors.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/texture/Texture.h"
#include "fuzz/support/FuzzFolders.h"
#include "tools/font_writer/writer/FontWriter.h"

#include <cstdint>
#include <vector>

namespace {

void writeFonts() {
    zor::FontDefinition definition;
    definition.lineHeight = 12;
    definition.defaultCodePoint = '?';
    definition.textureName = "page.png";
    for (std::uint32_t c = 32; c < 127; ++c) {
        zor::Glyph glyph;
        glyph.codePoint = c;
        glyph.width = 6.0f;
        glyph.height = 9.0f;
        glyph.advance = 7;
        definition.glyphs.push_back(glyph);
    }
    const std::vector<std::uint8_t> bytes = zor::fontwriter::encodeFontDefinition(definition);
    for (const char* name : {"Fonts/debug.fnt", "Fonts/debug_small.fnt"})
        zor::fuzz::writeInput(zor::FileLocation::GameData, name, bytes.data(), bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool written = (writeFonts(), true);
    (void)written;
    zor::fuzz::writeInput(zor::FileLocation::GameData, "Fonts/fonts.txt", data, size);
    zor::FontSet fonts;
    try {
        fonts.load("Fonts");
    } catch (const zor::CheckReleaseError&) {
    }
    for (const auto& [name, font] : fonts) zor::fuzz::check(font && !font->glyphs.empty());
    zor::Texture::purgeCache();
    return 0;
}
