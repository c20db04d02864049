#include "Framework/core/math/Angle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

TEST(AngleTest, WrapIntoZeroToTwoPi) {
    struct Case {
        float angle, wrapped;
    };
    const Case cases[] = {
        {-0.5f, 6.2831855f - 0.5f},
        {0.0f, 0.0f},
        {1.0f, 1.0f},
        {7.0f, 7.0f - 6.2831855f},
        {-7.0f, 2.0f * 6.2831855f - 7.0f},
        {6.2831855f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(wrapAngle(c.angle), c.wrapped, 2e-6f) << c.angle;
}

TEST(AngleTest, MapViewAngleIsTwiceTheArcTangentOfOneHalf) {
    // Set during static initialisation, so code run before main already reads it.
    EXPECT_FLOAT_EQ(kMapViewAngle, 0.9272952f);
}

TEST(AngleTest, DifferenceTakesTheShortWay) {
    struct Case {
        float a, b, difference;
    };
    const Case cases[] = {
        {0.1f, 6.2f, 6.2f - 0.1f - 6.2831855f}, // about -0.183, not 6.1
        {6.2f, 0.1f, 0.1f - 6.2f + 6.2831855f},
        {0.5f, 1.5f, 1.0f},
        {1.5f, 0.5f, -1.0f},
        {-0.5f, 0.5f, 1.0f},
        {1.0f, 1.0f + 4.0f * 6.2831855f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(angleDifference(c.a, c.b), c.difference, 1e-5f) << c.a << " -> " << c.b;
}

TEST(AngleTest, ArcMembership) {
    struct Case {
        float angle, centre, halfWidth;
        bool inside;
    };
    const Case cases[] = {
        {6.2f, 0.1f, 0.2f, true},   // across the wrap
        {6.2f, 0.1f, 0.1f, false},
        {1.0f, 0.5f, 0.5f, true},   // on the edge
        {1.0f, 0.5f, 0.499995f, true}, // within the 0.00001 allowance
        {1.0f, 0.5f, 0.49998f, false},
        {4.0f, 0.0f, 3.1415927f, true}, // half-width of pi or more holds everything
        {3.0f, 0.0f, 10.0f, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(angleInArc(c.angle, c.centre, c.halfWidth), c.inside) << c.angle << " in " << c.centre;
}

TEST(AngleTest, ClampToTheNearerArcEnd) {
    struct Case {
        float angle, centre, halfWidth, clamped;
    };
    const Case cases[] = {
        {0.2f, 0.0f, 0.5f, 0.2f},      // inside: unchanged, not wrapped
        {-0.2f, 0.0f, 0.5f, -0.2f},
        {1.0f, 0.0f, 0.5f, 0.5f},
        {-1.0f, 0.0f, 0.5f, -0.5f},
        {5.0f, 0.0f, 0.5f, -0.5f},     // 5 rad is nearer to -0.5 going round
        {2.0f, 3.0f, 0.5f, 2.5f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(clampAngleToArc(c.angle, c.centre, c.halfWidth), c.clamped, 1e-6f) << c.angle;
}

} // namespace
} // namespace zor
