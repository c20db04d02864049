#include "tools/spriteset_writer/writer/AtlasPacker.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zor::spriteset {
namespace {

bool overlap(const AtlasPlacement& a, iVector2 sa, const AtlasPlacement& b, iVector2 sb, int gap) {
    return a.page == b.page && a.x < b.x + sb.x + gap && b.x < a.x + sa.x + gap && a.y < b.y + sb.y + gap &&
           b.y < a.y + sa.y + gap;
}

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

TEST(AtlasPacker, PlacesEveryImageApartInsideItsPage) {
    struct Case {
        int pageSize, padding;
        std::vector<iVector2> sizes;
        std::size_t pages;
    };
    const Case cases[] = {
        {64, 2, {{10, 10}, {20, 5}, {5, 30}, {60, 8}, {1, 1}, {17, 17}, {17, 16}}, 1},
        {32, 1, {{30, 30}, {30, 30}, {3, 3}}, 3},
        {16, 0, {{16, 16}, {8, 8}, {8, 8}, {8, 8}, {8, 8}}, 2},
        {1024, 2, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pageSize);
        const AtlasLayout layout = packAtlas(c.sizes, c.pageSize, c.padding);
        EXPECT_EQ(layout.pageSizes.size(), c.pages);
        ASSERT_EQ(layout.placements.size(), c.sizes.size());
        for (const iVector2& page : layout.pageSizes) {
            EXPECT_TRUE(powerOfTwo(page.x) && powerOfTwo(page.y));
            EXPECT_LE(page.x, c.pageSize);
            EXPECT_LE(page.y, c.pageSize);
        }
        for (std::size_t i = 0; i < c.sizes.size(); ++i) {
            const AtlasPlacement& p = layout.placements[i];
            ASSERT_LT(static_cast<std::size_t>(p.page), layout.pageSizes.size());
            const iVector2 page = layout.pageSizes[p.page];
            EXPECT_GE(p.x, c.padding);
            EXPECT_GE(p.y, c.padding);
            EXPECT_LE(p.x + c.sizes[i].x + c.padding, page.x) << i;
            EXPECT_LE(p.y + c.sizes[i].y + c.padding, page.y) << i;
            for (std::size_t j = 0; j < i; ++j) {
                EXPECT_FALSE(overlap(p, c.sizes[i], layout.placements[j], c.sizes[j], c.padding)) << i << " " << j;
            }
        }
    }
}

TEST(AtlasPacker, RefusesImagesLargerThanAPage) {
    for (const iVector2 size : {iVector2{61, 4}, iVector2{4, 61}, iVector2{0, 4}}) {
        try {
            packAtlas({{4, 4}, size}, 64, 2);
            ADD_FAILURE() << size.x << " x " << size.y << " accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Image 1 ", 0), 0u) << error.what();
        }
    }
    EXPECT_NO_THROW(packAtlas({{60, 60}}, 64, 2));
}

} // namespace
} // namespace zor::spriteset
