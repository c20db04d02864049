#include "Framework/core/math/Scalar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

TEST(ScalarTest, Sign) {
    EXPECT_EQ(sign(3.5f), 1.0f);
    EXPECT_EQ(sign(-1e-30f), -1.0f);
    EXPECT_EQ(sign(0.0f), 0.0f);
    EXPECT_EQ(sign(-0.0f), 0.0f);
    EXPECT_EQ(sign(std::nanf("")), 0.0f);
}

TEST(ScalarTest, RoundHalfAwayFromZero) {
    struct Case {
        float x, rounded;
    };
    const Case cases[] = {{2.5f, 3}, {-2.5f, -3}, {0.5f, 1}, {-0.5f, -1}, {2.4f, 2},
                          {-2.4f, -2}, {2.6f, 3}, {-2.6f, -3}, {0.0f, 0}, {7.0f, 7}};
    for (const Case& c : cases)
        EXPECT_EQ(roundHalfAway(c.x), c.rounded) << c.x;
}

TEST(ScalarTest, Clamp01) {
    struct Case {
        float x, clamped;
    };
    const Case cases[] = {{-1.0f, 0.0f},  {-0.0f, 0.0f},    {0.0f, 0.0f},       {0.25f, 0.25f},
                          {1.0f, 1.0f},   {1.0001f, 1.0f},  {-INFINITY, 0.0f},  {INFINITY, 1.0f},
                          {1e-30f, 1e-30f}, {std::nanf(""), 0.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(clamp01(c.x), c.clamped) << c.x;
}

TEST(ScalarTest, Log2Floor) {
    struct Case {
        std::uint32_t n;
        std::int32_t log;
    };
    const Case cases[] = {{0, -1},           {1, 0},           {2, 1},          {3, 1},
                          {255, 7},          {256, 8},         {257, 8},        {65535, 15},
                          {65536, 16},       {0x00FFFFFF, 23}, {0x01000000, 24}, {0x80000000u, 31},
                          {0xFFFFFFFFu, 31}, {0x00010001, 16}};
    for (const Case& c : cases)
        EXPECT_EQ(log2Floor(c.n), c.log) << c.n;
    for (int bit = 0; bit < 32; ++bit) {
        EXPECT_EQ(log2Floor(1u << bit), bit);
        if (bit > 1) {
            EXPECT_EQ(log2Floor((1u << bit) - 1), bit - 1);
        }
    }
}

} // namespace
} // namespace zor
