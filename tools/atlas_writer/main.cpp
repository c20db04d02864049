// atlas_writer <output folder> <page size> <padding> <name>=<image file>...
// Writes a texture set folder (atlas.lst, pages and their maps) in which each image is
// found by its name, which may hold "/" and "." (data names images by their paths).

#include "tools/spriteset_writer/writer/AtlasFolderWriter.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: atlas_writer <output folder> <page size> <padding> <name>=<image file>...\n";
        return 2;
    }
    try {
        const int pageSize = std::stoi(argv[2]);
        const int padding = std::stoi(argv[3]);
        std::vector<zor::spriteset::NamedImage> images;
        for (int i = 4; i < argc; ++i) {
            const std::string argument = argv[i];
            const std::size_t split = argument.find('=');
            if (split == std::string::npos || split == 0 || argument.find(' ') < split)
                throw std::runtime_error("'" + argument + "' is not <name>=<image file>");
            images.push_back({argument.substr(0, split), zor::spriteset::readPngFile(argument.substr(split + 1))});
        }
        zor::spriteset::writeAtlasFolder(images, pageSize, padding, argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "atlas_writer: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
