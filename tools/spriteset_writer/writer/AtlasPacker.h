#pragma once
// Places images on atlas pages: shelves of images sorted by height, as many pages as
// needed, each trimmed to the power-of-two size that holds what it got.

#include <cstddef>
#include <vector>

#include "Framework/core/math/Vector.h"

namespace zor::spriteset {

struct AtlasPlacement {
    int page = 0;
    int x = 0;  // top-left pixel of the image on its page
    int y = 0;
};

struct AtlasLayout {
    std::vector<iVector2> pageSizes;
    std::vector<AtlasPlacement> placements;  // one per image, in the order given
};

// `padding` transparent pixels separate the images from each other and from the page
// edges. Throws std::runtime_error naming the image index when an image cannot fit a page
// of `pageSize` pixels a side.
AtlasLayout packAtlas(const std::vector<iVector2>& imageSizes, int pageSize, int padding);

} // namespace zor::spriteset
