#pragma once
// Writes a texture set folder: named images packed into atlas pages ("page<n>.png" with
// their map files "page<n>.map") and the list "atlas.lst" naming the maps. Sprite set
// folders hold one; the world presentation's atlases are nothing else.

#include <string>
#include <vector>

#include "tools/spriteset_writer/writer/PngWriter.h"

namespace zor::spriteset {

struct NamedImage {
    std::string name;  // the name a texture set finds it by; no spaces
    RgbaImage image;
};

// `outputFolder` is created when missing. No images give a list without pages. Throws
// std::runtime_error when an image does not fit a page (naming its index in `images`) or
// a file cannot be written.
void writeAtlasFolder(const std::vector<NamedImage>& images, int pageSize, int padding,
                      const std::string& outputFolder);

// Writes the bytes to the path; throws std::runtime_error naming it when that fails.
void writeFileBytes(const std::string& path, const void* data, std::size_t size);

} // namespace zor::spriteset
