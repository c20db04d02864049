#include "tools/spriteset_writer/writer/AtlasPacker.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>

namespace zor::spriteset {
namespace {

int powerOfTwoAtLeast(int value) {
    int size = 1;
    while (size < value) size *= 2;
    return size;
}

} // namespace

AtlasLayout packAtlas(const std::vector<iVector2>& imageSizes, int pageSize, int padding) {
    AtlasLayout layout;
    layout.placements.resize(imageSizes.size());
    std::vector<std::size_t> order(imageSizes.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&imageSizes](std::size_t a, std::size_t b) { return imageSizes[a].y > imageSizes[b].y; });

    int shelfX = padding, shelfY = padding, shelfHeight = 0;
    iVector2 used;  // extent of the current page, padding included
    const auto finishPage = [&] {
        layout.pageSizes.push_back({std::min(pageSize, powerOfTwoAtLeast(used.x)),
                                    std::min(pageSize, powerOfTwoAtLeast(used.y))});
    };
    for (std::size_t index : order) {
        const iVector2 size = imageSizes[index];
        if (size.x <= 0 || size.y <= 0 || size.x + 2 * padding > pageSize || size.y + 2 * padding > pageSize) {
            throw std::runtime_error("Image " + std::to_string(index) + " (" + std::to_string(size.x) + " x " +
                                     std::to_string(size.y) + ") does not fit an atlas page of " +
                                     std::to_string(pageSize) + " pixels with padding " + std::to_string(padding));
        }
        if (shelfX + size.x + padding > pageSize) {  // next shelf
            shelfX = padding;
            shelfY += shelfHeight + padding;
            shelfHeight = 0;
        }
        if (shelfY + size.y + padding > pageSize) {  // next page
            finishPage();
            shelfX = shelfY = padding;
            shelfHeight = 0;
            used = iVector2();
        }
        layout.placements[index] = {static_cast<int>(layout.pageSizes.size()), shelfX, shelfY};
        shelfX += size.x + padding;
        shelfHeight = std::max(shelfHeight, size.y);
        used.x = std::max(used.x, shelfX);
        used.y = std::max(used.y, shelfY + size.y + padding);
    }
    if (!imageSizes.empty()) finishPage();
    return layout;
}

} // namespace zor::spriteset
