#pragma once
// The text form of a texture map file: one sub-texture per line, "name = x y width height",
// the numbers decimal integers in atlas page pixels.

#include <string>
#include <vector>

#include "Framework/core/math/Rect.h"

namespace zor {

struct AtlasMapEntry {
    std::string name;
    fpRect rect;  // page pixels times the scale given to parseAtlasMap
};

// The entries of the map's lines in order; blank lines are skipped. The name is the text
// before the "=" less its last character (the blank written before the "="). Each number
// starts after the next blank, reads an optional sign and digits, and is multiplied by
// `scale`. A line without "=" or a name, or with fewer than four numbers, throws
// CheckReleaseError naming `mapPath` and the line number.
std::vector<AtlasMapEntry> parseAtlasMap(const std::vector<std::string>& lines, const std::string& mapPath,
                                         float scale);

} // namespace zor
