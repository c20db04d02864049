// font_writer <TrueType font> <pixel size> <output .fnt> [characters] [default character]
// Writes a bitmap font definition and its glyph page (same name, ".png") from a TrueType
// font. Characters are a list like "32-126,0x2026"; by default ASCII, Latin-1, Latin
// Extended-A and common punctuation. The default character (by default "?" = 63) stands
// in for characters the font lacks.

#include "tools/font_writer/writer/FontWriter.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 4 || argc > 6) {
        std::cerr << "usage: font_writer <font.ttf> <pixel size> <output.fnt> [characters] [default character]\n";
        return 2;
    }
    namespace fw = zor::fontwriter;
    try {
        fw::FontSource source;
        source.trueTypePath = argv[1];
        source.pixelSize = std::stoi(argv[2]);
        source.codePoints = fw::parseCodePoints(argc >= 5 ? argv[4] : fw::defaultCharacterList());
        if (argc == 6) source.defaultCodePoint = fw::parseCodePoints(argv[5]).front();
        const std::filesystem::path output(argv[3]);
        const std::string textureName = output.stem().string() + ".png";
        fw::writeFontFiles(fw::renderFont(source, textureName), output.string());
    } catch (const std::exception& error) {
        std::cerr << "font_writer: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
