#pragma once
// Writes a sprite set folder: "spriteset.dat", the images packed into atlas pages
// ("page<n>.png" with their map files "page<n>.map") and the list "atlas.lst" naming them.

#include <string>

#include "tools/spriteset_writer/writer/SpriteSetDescription.h"

namespace zor::spriteset {

// Image files are read relative to `imageFolder`; `outputFolder` is created when missing.
// Throws std::runtime_error before writing anything when an image name repeats, a sprite
// names an image or a child names a sprite that is not described, sprites contain each
// other, or an image cannot be read or does not fit a page.
void writeSpriteSetFolder(const SpriteSetDescription& description, const std::string& imageFolder,
                          const std::string& outputFolder);

} // namespace zor::spriteset
