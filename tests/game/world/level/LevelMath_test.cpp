// Index draws and saturated truncation of level generation.

#include <limits>

#include <gtest/gtest.h>

#include "Framework/core/math/LegacyRandomizer.h"
#include "Framework/core/math/Randomizer.h"
#include "game/world/level/LevelMath.h"

namespace zor {
namespace {

TEST(LevelMathTest, ADrawAtTheBoundIndexesTheLastEntry) {
    // (w, z) = (0xFFFF0000, 0xFFFF0000) steps to output 0xFFFFFFFF: nextFloat is 1.0.
    LegacyRandomizer legacy(0xFFFF0000u, 0xFFFF0000u);
    RandomizerAdapter<Randomizer> adapter(0xFFFF0000u, 0xFFFF0000u);
    for (std::size_t size : {1u, 3u, 1000u}) {
        legacy.seed(0xFFFF0000u, 0xFFFF0000u);
        EXPECT_EQ(legacy.nextIntBelow(std::int32_t(size)), std::int32_t(size));  // the raw draw reaches the bound
        legacy.seed(0xFFFF0000u, 0xFFFF0000u);
        EXPECT_EQ(drawIndex(legacy, size), size - 1);
        adapter.seed(0xFFFF0000u, 0xFFFF0000u);
        EXPECT_EQ(drawIndex(adapter, size), size - 1);
    }
}

TEST(LevelMathTest, TruncationSaturates) {
    struct Case {
        double value;
        std::int32_t result;
    };
    const Case cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {1e12, std::numeric_limits<std::int32_t>::max()},
        {-1e12, std::numeric_limits<std::int32_t>::min()},
        {std::numeric_limits<double>::infinity(), std::numeric_limits<std::int32_t>::max()},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(truncToInt(c.value), c.result) << c.value;
    EXPECT_EQ(saturatingAdd(std::numeric_limits<std::int32_t>::max(), 2), std::numeric_limits<std::int32_t>::max());
}

} // namespace
} // namespace zor
