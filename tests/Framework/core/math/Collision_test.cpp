#include "Framework/core/math/Collision.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

TEST(CollisionTest, RectPenetrationPicksTheShallowestSide) {
    const fpRect a(0, 0, 10, 10);
    struct Case {
        fpRect b;
        bool overlaps;
        fpVector2 out;
    };
    const Case cases[] = {
        {{8, 2, 10, 5}, true, {2, 0}},
        {{2, 8, 5, 10}, true, {0, 2}},
        {{-8, 2, 10, 5}, true, {-2, 0}},
        {{2, -8, 5, 10}, true, {0, -2}},
        {{8, 8, 10, 10}, true, {2, 0}},    // right and down tie: right first
        {{-8, -8, 10, 10}, true, {-2, 0}}, // left and up tie: left first
        {{8, -8, 10, 10}, true, {2, 0}},   // right and up tie
        {{10, 0, 5, 5}, false, {}},        // touching edges do not overlap
        {{0, -5, 10, 5}, false, {}},
        {{20, 20, 5, 5}, false, {}},
    };
    for (const Case& c : cases) {
        fpVector2 out(-99, -99);
        EXPECT_EQ(rectPenetration(a, c.b, out), c.overlaps) << c.b.x << "," << c.b.y;
        EXPECT_EQ(out, c.overlaps ? c.out : fpVector2(-99, -99)) << c.b.x << "," << c.b.y;
    }
}

TEST(CollisionTest, IntervalPenetrationAndRegions) {
    EXPECT_EQ(intervalPenetration(0, 10, 12, 20), 0.0f);
    EXPECT_EQ(intervalPenetration(0, 10, 5, 20), 5.0f);  // [c, d] lies further on
    EXPECT_EQ(intervalPenetration(0, 10, -5, 3), -3.0f); // [c, d] lies before
    EXPECT_EQ(intervalPenetration(0, 10, 2, 8), -8.0f);  // equal centres count as before

    const fpRect r(0, 0, 10, 10);
    struct Case {
        fpVector2 p;
        int region;
    };
    const Case cases[] = {
        {{-1, -1}, 0}, {{5, -1}, 1}, {{11, -1}, 2}, {{-1, 5}, 3}, {{5, 5}, 4}, {{11, 5}, 5},
        {{-1, 11}, 6}, {{5, 11}, 7}, {{11, 11}, 8},
        // Points on an edge belong to the outer region.
        {{0, 5}, 3}, {{10, 5}, 5}, {{5, 0}, 1}, {{5, 10}, 7}, {{0, 0}, 0}, {{10, 10}, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rectRegion(r, c.p), c.region) << c.p.x << "," << c.p.y;
}

TEST(CollisionTest, CirclePushedOutOfARectangle) {
    const fpRect r(0, 0, 10, 10);
    struct Case {
        fpVector3 circle;
        fpVector2 out;
    };
    const Case cases[] = {
        {{5, -2, 3}, {0, -1}},   // above, overlapping the top edge
        {{-2, 5, 3}, {-1, 0}},
        {{12, 5, 3}, {1, 0}},
        {{5, 12, 3}, {0, 1}},
        {{2, 5, 1}, {-3, 0}},    // inside: out along the shallower axis
        {{5, 8, 1}, {0, 3}},
        {{5, -4, 3}, {0, 0}},    // clear of each edge
        {{5, 14, 3}, {0, 0}},
        {{-4, 5, 3}, {0, 0}},
        {{14, 5, 3}, {0, 0}},
        {{-3, -4, 10}, {-3, -4}}, // corner regions: out along the corner-to-centre line
        {{13, -4, 10}, {3, -4}},
        {{-3, 14, 10}, {-3, 4}},
        {{13, 14, 10}, {3, 4}},
        {{-3, -4, 4}, {0, 0}},    // near a corner but clear of it
        {{-3, -4, 5}, {0, 0}},    // just touching
    };
    for (const Case& c : cases) {
        const fpVector2 out = rectCirclePenetration(r, c.circle);
        EXPECT_NEAR(out.x, c.out.x, 1e-5f) << c.circle.x << "," << c.circle.y << " r " << c.circle.z;
        EXPECT_NEAR(out.y, c.out.y, 1e-5f) << c.circle.x << "," << c.circle.y << " r " << c.circle.z;
    }

    // A centre exactly on a corner: out of the rectangle along its diagonal, by the radius.
    const fpVector2 corner = rectCirclePenetration(r, {0, 0, 2});
    EXPECT_NEAR(corner.x, -std::sqrt(2.0f), 1e-5f);
    EXPECT_NEAR(corner.y, -std::sqrt(2.0f), 1e-5f);
    const fpVector2 farCorner = rectCirclePenetration(fpRect(0, 0, 10, 4), {10, 4, 5});
    EXPECT_NEAR(farCorner.length(), 5.0f, 1e-5f);
    EXPECT_GT(farCorner.x, 0.0f);
    EXPECT_GT(farCorner.y, 0.0f);
}

TEST(CollisionTest, SegmentAgainstRectangle) {
    const fpRect r(0, 0, 10, 10);
    struct Case {
        fpSegment segment;
        bool side;        // rectSideTest
        bool intersects;  // rectIntersectsSegment
        fpVector2 out;    // (-99, -99): left untouched
    };
    const Case cases[] = {
        {{-5, 5, 5, 5}, true, true, {0, 5}},
        {{5, -5, 5, 15}, true, true, {5, 0}},
        {{5, 15, 5, -5}, true, true, {5, 0}},    // edges are tried top first, whatever the direction
        {{-5, 5, 15, 5}, true, true, {0, 5}},    // left before right
        {{15, 5, 5, 5}, true, true, {10, 5}},
        {{2, 2, 8, 8}, false, true, {-99, -99}}, // wholly inside: no edge crossed
        {{-5, 4, 4, -5}, false, true, {-99, -99}}, // bounds overlap, segment passes the corner
        {{20, 20, 30, 30}, false, false, {-99, -99}},
        {{10, -5, 10, 15}, false, false, {-99, -99}}, // along the right edge: bounds do not overlap
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rectSideTest(r, c.segment), c.side) << c.segment.start.x << "," << c.segment.start.y;
        fpVector2 out(-99, -99);
        EXPECT_EQ(rectIntersectsSegment(out, r, c.segment), c.intersects)
            << c.segment.start.x << "," << c.segment.start.y;
        EXPECT_EQ(out, c.out) << c.segment.start.x << "," << c.segment.start.y;
    }
}

} // namespace
} // namespace zor
