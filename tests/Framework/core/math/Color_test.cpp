#include "Framework/core/math/Color.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(ColorTest, SharedFloatColorsAndEquality) {
    EXPECT_EQ(&colorWhiteFloat(), &colorWhiteFloat());
    EXPECT_EQ(&colorRedFloat(), &colorRedFloat());
    EXPECT_TRUE(colorEquals(colorWhiteFloat(), FloatColor{1, 1, 1, 1}));
    EXPECT_TRUE(colorEquals(colorRedFloat(), FloatColor{1, 0, 0, 1}));
    EXPECT_TRUE(colorEquals(colorBlackFloat(), FloatColor{0, 0, 0, 1}));

    // Each channel on its own decides; a NaN channel never equals, not even itself.
    const FloatColor base{0.25f, 0.5f, 0.75f, 1.0f};
    struct Case {
        FloatColor other;
        bool equal;
    };
    const Case cases[] = {{{0.25f, 0.5f, 0.75f, 1.0f}, true},  {{0.0f, 0.5f, 0.75f, 1.0f}, false},
                          {{0.25f, 0.0f, 0.75f, 1.0f}, false}, {{0.25f, 0.5f, 0.0f, 1.0f}, false},
                          {{0.25f, 0.5f, 0.75f, 0.0f}, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(colorEquals(base, c.other), c.equal);
        EXPECT_EQ(colorEquals(c.other, base), c.equal);
    }
    const FloatColor notANumber{std::nanf(""), 0.0f, 0.0f, 1.0f};
    EXPECT_FALSE(colorEquals(notANumber, notANumber));
}

} // namespace
} // namespace zor
