#include "Framework/core/memory/Polygon.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

Polygon square(float size) {
    Polygon polygon;
    polygon.vertices = {{0, 0}, {size, 0}, {size, size}, {0, size}};
    return polygon;
}

TEST(Polygon, ContainsByTheEvenOddRuleWithEdgesCountingUpToTheirUpperEnd) {
    const Polygon box = square(10);
    struct Case {
        fpVector2 point;
        bool inside;
    };
    const Case cases[] = {
        {{5, 5}, true},
        {{15, 5}, false},
        {{-1, 5}, false},
        {{5, 0}, false},   // level with the lowest vertices
        {{5, 10}, true},   // level with the highest ones
        {{5, 10.5f}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(box.contains(c.point), c.inside) << c.point.x << ", " << c.point.y;
    }
    EXPECT_FALSE(Polygon().contains({0, 0}));
}

TEST(Polygon, ContainsTestsTheWorldOutlineAfterScaleRotationAndPosition) {
    Polygon box = square(10);
    box.position = {100, 50};
    box.scale = {2, 1};
    EXPECT_TRUE(box.contains({119, 55}));   // x reaches 100 + 2 * 10
    EXPECT_FALSE(box.contains({5, 5}));

    box.angle = 3.14159265f / 2;  // a quarter turn: x' = -y, y' = x
    EXPECT_TRUE(box.contains({95, 55}));
    EXPECT_FALSE(box.contains({105, 55}));
}

TEST(Polygon, ConcaveOutlinesLeaveTheirNotchOut) {
    Polygon u;
    u.vertices = {{0, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}};
    EXPECT_TRUE(u.contains({0.5f, 2}));
    EXPECT_FALSE(u.contains({1.5f, 2}));
    EXPECT_TRUE(u.contains({2.5f, 2}));
}

TEST(Polygon, BoundsInLocalUnits) {
    Polygon triangle;
    triangle.vertices = {{-4, -6}, {-1, -2}, {-3, -1}};  // all negative: the maximum must not start at 0
    struct Case {
        const char* name;
        float polygonAngle;
        float rotation;
        fpRect expected;
    };
    const float quarter = 3.14159265f / 2;
    const Case cases[] = {
        {"own angle 0 ignores the rotation", 0.0f, quarter, {-4, -6, 3, 5}},
        {"own angle set: rotated by the given angle", 0.3f, quarter, {1, -4, 5, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        triangle.angle = c.polygonAngle;
        const fpRect r = triangle.bounds(c.rotation);
        EXPECT_NEAR(r.x, c.expected.x, 1e-5f);
        EXPECT_NEAR(r.y, c.expected.y, 1e-5f);
        EXPECT_NEAR(r.w, c.expected.w, 1e-5f);
        EXPECT_NEAR(r.h, c.expected.h, 1e-5f);
    }

    Polygon one;
    one.vertices = {{3, -2}};
    one.angle = 1.0f;
    const fpRect point = one.bounds(1.0f);
    EXPECT_EQ(point.x, 3);
    EXPECT_EQ(point.y, -2);
    EXPECT_EQ(point.w, 0);
    EXPECT_EQ(point.h, 0);
    const fpRect none = Polygon().bounds(0);
    EXPECT_EQ(none.w, 0);
    EXPECT_EQ(none.h, 0);
}

} // namespace
} // namespace zor
