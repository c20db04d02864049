#include "Framework/core/math/Segment.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(SegmentTest, ParameterAndClosestPoint) {
    const fpSegment s(0, 0, 10, 0);
    struct Case {
        fpVector2 p;
        float parameter;
        fpVector2 closest;
    };
    const Case cases[] = {
        {{5, 3}, 0.5f, {5, 0}},
        {{-5, 7}, 0.0f, {0, 0}},
        {{0, -2}, 0.0f, {0, 0}},
        {{10, 4}, 1.0f, {10, 0}},
        {{15, -1}, 1.0f, {10, 0}},
        {{2.5f, 0}, 0.25f, {2.5f, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(segmentParameter(s, c.p), c.parameter) << c.p.x << "," << c.p.y;
        EXPECT_EQ(closestPointOnSegment(s, c.p), c.closest) << c.p.x << "," << c.p.y;
    }

    const fpSegment diagonal(0, 0, 4, 4);
    EXPECT_FLOAT_EQ(segmentParameter(diagonal, {4, 0}), 0.5f);
    EXPECT_EQ(closestPointOnSegment(diagonal, {4, 0}), fpVector2(2, 2));

    const fpSegment point(2, 3, 2, 3);
    EXPECT_EQ(segmentParameter(point, {9, 9}), 0.0f);
    EXPECT_EQ(closestPointOnSegment(point, {9, 9}), fpVector2(2, 3));
}

TEST(SegmentTest, IntersectionIncludesTheEnds) {
    struct Case {
        fpSegment first, second;
        bool crosses;
        fpVector2 at;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {0, 10, 10, 0}, true, {5, 5}},
        {{0, 0, 10, 0}, {10, -5, 10, 5}, true, {10, 0}},  // at the end of the first
        {{0, 0, 10, 0}, {4, 0, 4, 8}, true, {4, 0}},      // at the start of the second
        {{0, 0, 10, 0}, {2, -4, 6, 4}, true, {4, 0}},
        {{0, 0, 4, 4}, {0, 10, 10, 0}, false, {}},        // the lines meet beyond the first
        {{0, 0, 10, 10}, {0, 10, 4, 6}, false, {}},       // beyond the second
        {{0, 0, 10, 0}, {0, 1, 10, 1}, false, {}},        // parallel
        {{0, 0, 10, 0}, {5, 0, 15, 0}, false, {}},        // collinear overlap
        {{0, 0, 10, 0}, {3, 3, 3, 3}, false, {}},         // degenerate second
    };
    for (const Case& c : cases) {
        fpVector2 out(-99, -99);
        EXPECT_EQ(segmentIntersection(c.first, out, c.second), c.crosses);
        EXPECT_EQ(out, c.crosses ? c.at : fpVector2(-99, -99));
    }
}

TEST(SegmentTest, BoundsAreAtLeastOneWide) {
    EXPECT_EQ(segmentBounds({0, 5, 10, 5}), fpRect(0, 5, 10, 1));
    EXPECT_EQ(segmentBounds({3, 3, 3, 3}), fpRect(3, 3, 1, 1));
    EXPECT_EQ(segmentBounds({5, 8, 2, 1}), fpRect(2, 1, 3, 7));
    EXPECT_EQ(segmentBounds({0, 0, 0.5f, 20}), fpRect(0, 0, 1, 20));
}

} // namespace
} // namespace zor
