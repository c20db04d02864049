// spriteset_writer <description.xml> <output folder> [image folder]
// Writes a sprite set folder from its readable description; images are read from the
// image folder, by default the description's folder.

#include "tools/spriteset_writer/writer/SpriteSetDescription.h"
#include "tools/spriteset_writer/writer/SpriteSetFolderWriter.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: spriteset_writer <description.xml> <output folder> [image folder]\n";
        return 2;
    }
    const std::string description = argv[1];
    const std::string output = argv[2];
    const std::string images =
        argc == 4 ? std::string(argv[3]) : std::filesystem::path(description).parent_path().string();
    try {
        zor::spriteset::writeSpriteSetFolder(zor::spriteset::readSpriteSetDescription(description), images, output);
    } catch (const std::exception& error) {
        std::cerr << "spriteset_writer: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
