#include "Framework/core/math/Curve.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

CurveType curve(int number) { return static_cast<CurveType>(number); }

TEST(CurveTest, ValuesOfEveryCurveInAndOutsideTheUnitRange) {
    // Columns: t = -1, 0, 0.5, 1, 2 (t is never clamped).
    struct Case {
        int number;
        float values[5];
    };
    const Case cases[] = {
        {0, {-1, 0, 0.5f, 1, 2}},
        {1, {1, 0, 0.25f, 1, 4}},
        {2, {-3, 0, 0.75f, 1, 0}},
        {3, {-7, 0, 0.875f, 1, 2}},
        {4, {5, 0, 0.5f, 1, -4}},
        {5, {2, 1, 0.5f, 0, -1}},
        {6, {0, 1, 0.75f, 0, -3}},
        {7, {4, 1, 0.25f, 0, 1}},
        {8, {2, 1, 0.875f, 0, -7}}, // 1 - t^3, not the mirror of Cubic
        {9, {-4, 1, 0.5f, 0, 5}},
        {10, {1, 1, 1, 1, 1}},
        {11, {0, 0, 0, 0, 0}},
        {12, {0, 0, 0, 0, 0}},
        {-1, {0, 0, 0, 0, 0}},
    };
    const float ts[5] = {-1, 0, 0.5f, 1, 2};
    for (const Case& c : cases) {
        for (int i = 0; i < 5; ++i)
            EXPECT_FLOAT_EQ(evaluateCurve(curve(c.number), ts[i]), c.values[i]) << c.number << " at " << ts[i];
    }
}

TEST(CurveTest, ParseAndInvert) {
    const char* names[] = {"Linear",       "Quadratic",          "SmoothQuadratic", "Cubic",
                           "SmoothStep",   "InvLinear",          "InvQuadratic",    "InvSmoothQuadratic",
                           "InvCubic",     "InvSmoothStep",      "One",             "Zero"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(parseCurveType(names[i]), curve(i)) << names[i];
    for (const char* other : {"linear", "Linear ", "", "Smoothstep", "12"})
        EXPECT_EQ(parseCurveType(other), CurveType::Zero) << other;

    struct Case {
        int from, to;
    };
    const Case inversions[] = {{0, 5}, {1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 0}, {6, 1},
                               {7, 2}, {8, 3}, {9, 4}, {10, 11}, {11, 10}, {12, 11}, {-1, 11}};
    for (const Case& c : inversions)
        EXPECT_EQ(invertCurve(curve(c.from)), curve(c.to)) << c.from;
}

TEST(CurveTest, TimerClampsProgressAndGuardsTheDuration) {
    struct Case {
        float elapsed, duration;
        int number;
        float value;
    };
    const Case cases[] = {
        {0.5f, 1, 1, 0.25f},
        {3, 4, 0, 0.75f},
        {2, 1, 0, 1},       // past the end
        {-1, 1, 5, 1},      // before the start: InvLinear at 0
        {1, 0, 11, 1},      // no duration: 1 whatever the curve
        {1, -2, 12, 1},
        {0.5f, 1, 12, 0},   // unknown curve
    };
    for (const Case& c : cases) {
        const CurveTimer timer{c.elapsed, c.duration, curve(c.number)};
        EXPECT_FLOAT_EQ(timer.value(), c.value) << c.elapsed << "/" << c.duration << " curve " << c.number;
    }
}

TEST(CurveTest, EnvelopeRisesToThePeakAndFalls) {
    struct Case {
        int rise, fall;
        float x, start, peak, end, value;
    };
    const Case cases[] = {
        {0, 5, -1, 0, 0.25f, 1, 0},
        {0, 5, 0.125f, 0, 0.25f, 1, 0.5f},
        {0, 5, 0.25f, 0, 0.25f, 1, 1},     // the peak belongs to the fall
        {0, 5, 0.625f, 0, 0.25f, 1, 0.5f},
        {0, 5, 1, 0, 0.25f, 1, 0},
        {0, 5, 7, 0, 0.25f, 1, 0},
        {2, 6, 0.175f, 0, 0.35f, 1, 0.75f},
        {0, 5, 0.125f, 1, 0.25f, 0, 0.5f}, // start and end are ordered first
        {0, 5, 0.5f, 0, 3, 1, 0.5f},       // peak clamped to the end
        {0, 5, 0.5f, 0, -3, 1, 0.5f},      // peak clamped to the start
        {0, 0, 1, 2, 3, 4, 2},             // below the range: the rise curve at the low end
        {0, 0, 5, 2, 3, 4, 4},             // past it: the fall curve at the high end
        {12, 5, 0.125f, 0, 0.25f, 1, 0},   // unknown rise curve
        {0, 12, 0.625f, 0, 0.25f, 1, 0},   // unknown fall curve
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(curveEnvelope(curve(c.rise), curve(c.fall), c.x, c.start, c.peak, c.end), c.value)
            << c.rise << "/" << c.fall << " x=" << c.x;
    }
}

} // namespace
} // namespace zor
