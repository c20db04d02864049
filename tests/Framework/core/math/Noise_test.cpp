#include "Framework/core/math/Noise.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

TEST(NoiseTest, OneDimensionalKnownValues) {
    struct Case {
        float x, value;
    };
    const Case cases[] = {
        {0.3f, 0.63138485f}, {1.7f, 0.18122844f},  {2.5f, 0.12498047f},
        {-0.6f, 0.07522236f}, {-3.25f, 0.5445203f}, {10.1f, 0.0351638f},
        {0.0f, 0.0f},        {4.0f, 0.0f},          {-7.0f, 0.0f}, // zero at whole numbers
    };
    for (const Case& c : cases)
        EXPECT_NEAR(simplexNoise1D(c.x), c.value, 1e-5f) << c.x;
}

TEST(NoiseTest, TwoDimensionalKnownValues) {
    struct Case {
        float x, y, oneOctave, threeOctaves;
    };
    const Case cases[] = {
        {0.3f, 0.7f, 0.42925589f, 0.41522614f},
        {1.25f, -0.5f, 0.18099935f, 0.37092604f},
        {12.5f, 3.75f, 0.50887748f, 0.57064601f},
        {-7.2f, -1.1f, 0.77203825f, 0.59062001f},
        {0.0f, 0.0f, 0.5f, 0.5f},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(simplexNoise2D(1, c.x, c.y, 0.5f), c.oneOctave, 1e-5f) << c.x << "," << c.y;
        EXPECT_NEAR(simplexNoise2D(3, c.x, c.y, 0.5f), c.threeOctaves, 1e-5f) << c.x << "," << c.y;
    }
}

TEST(NoiseTest, OctavesDoubleTheFrequencyAndScaleTheAmplitude) {
    for (float x = -20.0f; x < 20.0f; x += 1.37f) {
        for (float y = -20.0f; y < 20.0f; y += 1.61f) {
            const float base = simplexNoise2D(1, x, y, 0.5f);
            EXPECT_EQ(simplexNoise2D(1, x, y, 0.9f), base);  // persistence does not touch one octave
            EXPECT_EQ(simplexNoise2D(4, x, y, 0.0f), base);  // silent higher octaves
            const float doubled = simplexNoise2D(1, 2 * x, 2 * y, 0.5f);
            EXPECT_NEAR(simplexNoise2D(2, x, y, 1.0f), (base + doubled) / 2, 1e-6f);
            EXPECT_NEAR(simplexNoise2D(2, x, y, 0.5f), (base + 0.5f * doubled) / 1.5f, 1e-6f);
        }
    }
    EXPECT_EQ(simplexNoise2D(0, 3.0f, 4.0f, 0.5f), 0.5f);
    EXPECT_EQ(simplexNoise2D(-2, 3.0f, 4.0f, 0.5f), 0.5f);
}

TEST(NoiseTest, StaysInRangeEverywhere) {
    for (float x = -300.0f; x < 300.0f; x += 0.731f) {
        const float one = simplexNoise1D(x);
        ASSERT_GE(one, -1.0f) << x;
        ASSERT_LE(one, 1.0f) << x;
        for (float y = -300.0f; y < 300.0f; y += 7.3f) {
            const float two = simplexNoise2D(3, x, y, 0.6f);
            ASSERT_GE(two, 0.0f) << x << "," << y;
            ASSERT_LE(two, 1.0f) << x << "," << y;
        }
    }
}

// Cells repeat every 256 in both skewed coordinates, so negative cells must
// read the same table entries as their positive counterparts.
TEST(NoiseTest, NegativeCellsRepeatThePositiveOnes) {
    const double unskew = 0.21132487;
    struct Shift {
        double dx, dy;
    };
    const Shift shifts[] = {
        {-256.0 * (1.0 - unskew), 256.0 * unskew},  // 256 cells back in i
        {256.0 * unskew, -256.0 * (1.0 - unskew)},  // 256 cells back in j
        {-256.0 + 512.0 * unskew, -256.0 + 512.0 * unskew},
    };
    for (const Shift& s : shifts) {
        for (float x = 0.25f; x < 40.0f; x += 0.917f) {
            for (float y = 0.25f; y < 40.0f; y += 1.131f) {
                const float there = simplexNoise2D(1, float(x + s.dx), float(y + s.dy), 0.5f);
                ASSERT_NEAR(there, simplexNoise2D(1, x, y, 0.5f), 1e-3f)
                    << x << "," << y << " shifted by " << s.dx << "," << s.dy;
            }
        }
    }
    for (float x = 0.1f; x < 30.0f; x += 0.77f)
        ASSERT_NEAR(simplexNoise1D(x - 256.0f), simplexNoise1D(x), 1e-4f) << x;
}

} // namespace
} // namespace zor
