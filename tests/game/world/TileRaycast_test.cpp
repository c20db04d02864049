// The ray march through the byte grid: where it stops, which cells it walks through, and
// agreement with a slab-by-slab reference on random grids.

#include "game/world/PersistentTileMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace zor {
namespace {

PersistentTileMap gridWithSolid(std::int32_t width, std::int32_t height, const std::vector<iVector2>& solid) {
    PersistentTileMap map(width, height);
    for (const iVector2& cell : solid) *map.cellAt(cell) = TileBits::Solid;
    return map;
}

TEST(TileRaycast, StopsAtTheBorderOfTheFirstSolidCell) {
    const PersistentTileMap map = gridWithSolid(10, 10, {{5, 2}, {7, 2}});
    PersistentTileMap::RayHit hit;
    ASSERT_TRUE(map.raycast({2.5f, 2.5f}, {1.0f, 0.0f}, 10.0f, hit));
    EXPECT_EQ(hit.point, fpVector2(5.0f, 2.5f));
    EXPECT_EQ(hit.cell, iVector2(5, 2));
}

TEST(TileRaycast, StartCellIsTestedFirstAndFromTheLowerSideOfABorder) {
    struct Case {
        fpVector2 start;
        fpVector2 direction;
        iVector2 solid;
        bool hits;
    };
    const Case cases[] = {
        {{3.0f, 1.5f}, {-1.0f, 0.0f}, {2, 1}, true},   // on a border, moving left: cell 2
        {{3.0f, 1.5f}, {1.0f, 0.0f}, {2, 1}, false},   // moving right: cell 3 onward
        {{1.5f, 4.0f}, {0.0f, -1.0f}, {1, 3}, true},   // on a border, moving up: row 3
        {{1.5f, 4.0f}, {0.0f, 1.0f}, {1, 3}, false},
        {{6.2f, 6.7f}, {0.0f, 0.0f}, {6, 6}, true},    // no direction: only the start cell
        {{6.2f, 6.7f}, {0.0f, 0.0f}, {7, 6}, false},
    };
    for (const Case& c : cases) {
        const PersistentTileMap map = gridWithSolid(10, 10, {c.solid});
        PersistentTileMap::RayHit hit;
        const bool hits = map.raycast(c.start, c.direction, 3.0f, hit);
        EXPECT_EQ(hits, c.hits) << c.start << " along " << c.direction;
        if (hits && c.hits) {
            EXPECT_EQ(hit.cell, c.solid);
            EXPECT_EQ(hit.point, c.start);
        }
    }
}

TEST(TileRaycast, PassesCornersDiagonallyInEveryQuadrant) {
    // From the middle of cell (5, 5) toward each corner: the side neighbours of the corner
    // are solid and must be skipped; the diagonal cell is hit at the corner.
    struct Case {
        fpVector2 direction;
        fpVector2 corner;
        iVector2 diagonal;
    };
    const Case cases[] = {
        {{1.0f, 1.0f}, {6.0f, 6.0f}, {6, 6}},
        {{-1.0f, 1.0f}, {5.0f, 6.0f}, {4, 6}},
        {{1.0f, -1.0f}, {6.0f, 5.0f}, {6, 4}},
        {{-1.0f, -1.0f}, {5.0f, 5.0f}, {4, 4}},
        {{-2.0f, -2.0f}, {5.0f, 5.0f}, {4, 4}},  // not normalised: same cells
    };
    for (const Case& c : cases) {
        PersistentTileMap map(10, 10);
        *map.cellAt(c.diagonal) = TileBits::Solid;
        PersistentTileMap blocked = map;
        *blocked.cellAt({c.diagonal.x, 5}) = TileBits::Solid;
        *blocked.cellAt({5, c.diagonal.y}) = TileBits::Solid;
        for (const PersistentTileMap* grid : {&map, &blocked}) {
            PersistentTileMap::RayHit hit;
            ASSERT_TRUE(grid->raycast({5.5f, 5.5f}, c.direction, 4.0f, hit)) << c.direction;
            EXPECT_EQ(hit.cell, c.diagonal) << c.direction;
            EXPECT_EQ(hit.point, c.corner) << c.direction;
        }
    }
}

TEST(TileRaycast, LengthCountsMultiplesOfTheDirection) {
    const PersistentTileMap map = gridWithSolid(10, 10, {{5, 2}});
    struct Case {
        fpVector2 direction;
        float length;
        bool hits;
    };
    const Case cases[] = {
        {{1.0f, 0.0f}, 2.4f, false},  // the border of cell 5 lies 2.5 away
        {{1.0f, 0.0f}, 2.6f, true},
        {{2.0f, 0.0f}, 1.2f, false},  // 2.5 cells is 1.25 multiples of (2, 0)
        {{2.0f, 0.0f}, 1.3f, true},
        {{1.0f, 0.0f}, 0.0f, false},
        {{1.0f, 0.0f}, -5.0f, false},
    };
    for (const Case& c : cases) {
        PersistentTileMap::RayHit hit;
        EXPECT_EQ(map.raycast({2.5f, 2.5f}, c.direction, c.length, hit), c.hits)
            << c.direction << " length " << c.length;
    }
    // A length of 0 tests nothing, not even a solid start cell.
    PersistentTileMap::RayHit hit;
    EXPECT_FALSE(map.raycast({5.5f, 2.5f}, {1.0f, 0.0f}, 0.0f, hit));
}

TEST(TileRaycast, CellsOutsideTheGridAreEmpty) {
    const PersistentTileMap map(4, 4, TileBits::Solid);
    PersistentTileMap::RayHit hit;
    EXPECT_FALSE(map.raycast({-0.5f, 1.5f}, {-1.0f, 0.0f}, 100.0f, hit));
    EXPECT_FALSE(map.raycast({1.5f, 4.5f}, {0.3f, 1.0f}, 100.0f, hit));
    // Coming in from outside, the first grid cell stops it where the ray enters.
    ASSERT_TRUE(map.raycast({-3.5f, 1.5f}, {1.0f, 0.0f}, 100.0f, hit));
    EXPECT_EQ(hit.cell, iVector2(0, 1));
    EXPECT_EQ(hit.point, fpVector2(0.0f, 1.5f));
}

// The first solid cell by the distance at which the ray enters its square, in doubles.
bool referenceHit(const PersistentTileMap& map, const fpVector2& start, const fpVector2& direction, float length,
                  PersistentTileMap::RayHit& result) {
    double best = std::numeric_limits<double>::infinity();
    for (std::int32_t row = 0; row < map.height(); ++row)
        for (std::int32_t column = 0; column < map.width(); ++column) {
            if (!(*map.cell(column, row) & TileBits::Solid)) continue;
            double enter = -std::numeric_limits<double>::infinity();
            double leave = std::numeric_limits<double>::infinity();
            const double lows[2] = {double(column), double(row)};
            const double origin[2] = {start.x, start.y};
            const double along[2] = {direction.x, direction.y};
            for (int axis = 0; axis < 2; ++axis) {
                const double a = (lows[axis] - origin[axis]) / along[axis];
                const double b = (lows[axis] + 1.0 - origin[axis]) / along[axis];
                enter = std::max(enter, std::min(a, b));
                leave = std::min(leave, std::max(a, b));
            }
            if (enter >= leave || leave <= 0.0) continue;
            enter = std::max(enter, 0.0);
            if (enter < length && enter < best) {
                best = enter;
                result.cell = iVector2(column, row);
                result.point = fpVector2(float(start.x + enter * direction.x), float(start.y + enter * direction.y));
            }
        }
    return best < std::numeric_limits<double>::infinity();
}

TEST(TileRaycast, AgreesWithASlabReferenceOnRandomGrids) {
    std::mt19937 random(20261211);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::int32_t hits = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const std::int32_t width = 4 + std::int32_t(random() % 20);
        const std::int32_t height = 4 + std::int32_t(random() % 20);
        PersistentTileMap map(width, height);
        const float density = 0.05f + 0.3f * unit(random);
        for (std::int32_t row = 0; row < height; ++row)
            for (std::int32_t column = 0; column < width; ++column)
                if (unit(random) < density) *map.cell(column, row) = TileBits::Solid;
        const fpVector2 start(-2.0f + (width + 4) * unit(random), -2.0f + (height + 4) * unit(random));
        const float angle = 6.2831853f * unit(random);
        const float scale = 0.5f + 2.0f * unit(random);
        const fpVector2 direction(scale * std::cos(angle), scale * std::sin(angle));
        const float length = 30.0f * unit(random);

        PersistentTileMap::RayHit marched;
        PersistentTileMap::RayHit expected;
        const bool got = map.raycast(start, direction, length, marched);
        const bool want = referenceHit(map, start, direction, length, expected);
        ASSERT_EQ(got, want) << "trial " << trial << " from " << start << " along " << direction;
        if (!got) continue;
        ++hits;
        EXPECT_EQ(marched.cell, expected.cell) << "trial " << trial;
        EXPECT_NEAR(marched.point.x, expected.point.x, 1e-3f) << "trial " << trial;
        EXPECT_NEAR(marched.point.y, expected.point.y, 1e-3f) << "trial " << trial;
    }
    EXPECT_GT(hits, 100);  // the trials exercise hits, not only misses
}

} // namespace
} // namespace zor
