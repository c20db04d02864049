#include "Framework/core/math/Color.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zor {
namespace {

TEST(ColorTest, ChannelsSitRedLowestAlphaHighest) {
    const PackedColor red(0xFF0000FFu);
    EXPECT_EQ(red.red(), 255);
    EXPECT_EQ(red.green(), 0);
    EXPECT_EQ(red.blue(), 0);
    EXPECT_EQ(red.alpha(), 255);

    const PackedColor c = PackedColor::fromChannels(1, 2, 3, 4);
    EXPECT_EQ(c.value, 0x04030201u);
    unsigned char bytes[4];
    static_assert(sizeof(PackedColor) == 4, "vertices hold the colour as four bytes");
    std::memcpy(bytes, &c, 4);
    EXPECT_EQ(bytes[0], 1); // red, green, blue, alpha in memory order
    EXPECT_EQ(bytes[3], 4);

    const PackedColor half = PackedColor::fromChannels(255, 0, 51, 128);
    EXPECT_EQ(half.redFloat(), 1.0f);
    EXPECT_EQ(half.greenFloat(), 0.0f);
    EXPECT_FLOAT_EQ(half.blueFloat(), 0.2f);
    EXPECT_FLOAT_EQ(half.alphaFloat(), 128.0f / 255.0f);
    EXPECT_EQ(PackedColor(0xFFFFFFFFu), PackedColor::fromChannels(255, 255, 255, 255));
    EXPECT_EQ(colorWhite(), PackedColor::fromChannels(255, 255, 255, 255));
}

} // namespace
} // namespace zor
