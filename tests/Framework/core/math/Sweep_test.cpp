#include "Framework/core/math/Sweep.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

const fpVector2 kXAxis(1, 0);
const fpVector2 kYAxis(0, 1);

TEST(SweepTest, AxisOverlapOrContactFraction) {
    const fpRect fixed(10, 0, 10, 10);
    struct Case {
        fpVector2 axis;
        fpRect moving;
        fpVector2 target;
        float result;
    };
    const Case cases[] = {
        {kXAxis, {0, 0, 5, 5}, {20, 0}, -0.25f},   // touches after a quarter of the move
        {kXAxis, {30, 0, 5, 5}, {0, 0}, -1.0f / 3.0f},
        {kXAxis, {0, 0, 5, 5}, {-20, 0}, -1.0f},   // moving away
        {kXAxis, {0, 0, 5, 5}, {4, 0}, -1.0f},     // stops short
        {kXAxis, {0, 0, 5, 5}, {5, 0}, -1.0f},     // stops touching
        {kXAxis, {0, 0, 5, 5}, {0, 30}, -1.0f},    // no move on this axis
        {kXAxis, {0, 0, 5, 5}, {0.000001f, 0}, -1.0f},
        {kXAxis, {12, 0, 5, 5}, {50, 0}, 5.0f},     // already overlapping: the overlap
        {kXAxis, {5, 0, 20, 5}, {0, 0}, 10.0f},     // limited by the fixed extent
        {kXAxis, {18, 0, 20, 5}, {0, 0}, 2.0f},
        {kYAxis, {12, -20, 5, 5}, {12, 20}, -0.375f},
        {kYAxis, {12, 0, 5, 5}, {12, 20}, 5.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(sweepAxis(fixed, c.axis, c.moving, c.target), c.result)
            << c.moving.x << "," << c.moving.y << " -> " << c.target.x << "," << c.target.y;
    }
}

TEST(SweepTest, RectStopsAtTheContact) {
    const fpRect fixed(10, 0, 10, 10);
    const float diagonal = 1.0f / std::sqrt(2.0f);
    struct Case {
        fpRect moving;
        fpVector2 target;
        bool free;
        fpVector2 end;
        fpVector2 normal;
    };
    const Case cases[] = {
        {{0, 0, 5, 5}, {20, 0}, false, {5, 0}, {-1, 0}},
        {{30, 0, 5, 5}, {0, 0}, false, {20, 0}, {1, 0}},
        {{12, -20, 5, 5}, {12, 20}, false, {12, -5}, {0, -1}},
        {{12, 30, 5, 5}, {12, 0}, false, {12, 10}, {0, 1}},
        {{0, -10, 5, 5}, {10, 0}, false, {5, -5}, {-diagonal, -diagonal}}, // corner on: both axes at once
        {{0, 20, 5, 5}, {30, 20}, true, {30, 20}, {7, 7}},                 // passes below
        {{0, 0, 5, 5}, {0, 0}, true, {0, 0}, {7, 7}},                      // no move, no overlap
        {{0, 0, 5, 5}, {3, 2}, true, {3, 2}, {7, 7}},                      // stops short
        {{5, 0, 5, 5}, {10, 3}, false, {5, 0}, {-1, 0}},                   // touching, moving in: at once
        {{5, 0, 5, 5}, {5, 20}, true, {5, 20}, {7, 7}},                    // touching, sliding along
    };
    for (const Case& c : cases) {
        fpRect moving = c.moving;
        fpVector2 normal(7, 7);
        EXPECT_EQ(sweepRect(c.target, moving, fixed, normal), c.free) << c.moving.x << "," << c.moving.y;
        EXPECT_NEAR(moving.x, c.end.x, 1e-5f);
        EXPECT_NEAR(moving.y, c.end.y, 1e-5f);
        EXPECT_EQ(moving.w, c.moving.w);
        EXPECT_EQ(moving.h, c.moving.h);
        EXPECT_NEAR(normal.x, c.normal.x, 1e-6f);
        EXPECT_NEAR(normal.y, c.normal.y, 1e-6f);
    }
}

TEST(SweepTest, AlreadyOverlappingChangesNothing) {
    const fpRect fixed(10, 0, 10, 10);
    fpRect moving(12, 2, 5, 5);
    fpVector2 normal(7, 7);
    EXPECT_FALSE(sweepRect({50, 50}, moving, fixed, normal));
    EXPECT_EQ(moving, fpRect(12, 2, 5, 5));
    EXPECT_EQ(normal, fpVector2(7, 7));
}

} // namespace
} // namespace zor
