#include "Framework/graphics/texture/PngDecoder.h"
#include "Framework/graphics/texture/Premultiply.h"
#include "tests/Framework/graphics/texture/PngFixtures.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::PngSpec;
using test::writePng;
using Bytes = std::vector<std::uint8_t>;

struct DecodeCase {
    const char* name;
    PngSpec spec;
    int channels;
    bool alpha;
    Bytes pixels;
};

png_color_16 grayKey(png_uint_16 gray) {
    png_color_16 c{};
    c.gray = gray;
    return c;
}

png_color_16 rgbKey(png_uint_16 r, png_uint_16 g, png_uint_16 b) {
    png_color_16 c{};
    c.red = r;
    c.green = g;
    c.blue = b;
    return c;
}

// Odd widths everywhere: rows whose size is not a multiple of 4 catch row-size mistakes.
std::vector<DecodeCase> decodeCases() {
    std::vector<DecodeCase> cases;
    cases.push_back({"rgba", {3, 1, PNG_COLOR_TYPE_RGBA, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}}, 4, true,
                     {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}});
    cases.push_back({"rgb", {3, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, 3, false,
                     {1, 2, 3, 4, 5, 6, 7, 8, 9}});
    {
        PngSpec s{3, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6, 1, 2, 3}};
        s.transparentColor = rgbKey(4, 5, 6);
        cases.push_back({"rgb with a transparent colour", s, 4, true, {1, 2, 3, 255, 4, 5, 6, 0, 1, 2, 3, 255}});
    }
    {
        PngSpec s{3, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2}};
        s.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
        cases.push_back({"palette", s, 3, false, {10, 20, 30, 40, 50, 60, 70, 80, 90}});
        s.paletteAlpha = {0, 128};  // entries past the chunk are opaque
        cases.push_back({"palette with transparency", s, 4, true,
                         {10, 20, 30, 0, 40, 50, 60, 128, 70, 80, 90, 255}});
    }
    {
        // 4-bit indices 2, 0, 1 packed high nibble first.
        PngSpec s{3, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x20, 0x10}};
        s.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
        s.paletteAlpha = {255, 64, 0};
        cases.push_back({"4-bit palette with transparency", s, 4, true,
                         {70, 80, 90, 0, 10, 20, 30, 255, 40, 50, 60, 64}});
    }
    cases.push_back({"grey", {3, 2, PNG_COLOR_TYPE_GRAY, 8, {0, 100, 255, 7, 8, 9}}, 1, true,
                     {0, 100, 255, 7, 8, 9}});
    cases.push_back({"1-bit grey", {3, 1, PNG_COLOR_TYPE_GRAY, 1, {0xA0}}, 1, true, {255, 0, 255}});
    {
        PngSpec s{3, 2, PNG_COLOR_TYPE_GRAY, 8, {10, 20, 30, 20, 20, 40}};
        s.transparentColor = grayKey(20);
        cases.push_back({"grey with a transparent value", s, 4, true,
                         {10, 10, 10, 255, 20, 20, 20, 0, 30, 30, 30, 255,
                          20, 20, 20, 0, 20, 20, 20, 0, 40, 40, 40, 255}});
    }
    {
        PngSpec s{3, 1, PNG_COLOR_TYPE_GRAY, 2, {0x1B}};  // values 0, 1, 2 (and padding)
        s.transparentColor = grayKey(1);
        cases.push_back({"2-bit grey with a transparent value", s, 4, true,
                         {0, 0, 0, 255, 85, 85, 85, 0, 170, 170, 170, 255}});
    }
    cases.push_back({"grey with alpha", {3, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {1, 2, 3, 4, 5, 6}}, 4, true,
                     {1, 1, 1, 2, 3, 3, 3, 4, 5, 5, 5, 6}});
    // Little-endian 16-bit samples: the high bytes survive.
    cases.push_back({"16-bit rgba", {1, 1, PNG_COLOR_TYPE_RGBA, 16, {0xFF, 0x10, 0x00, 0x20, 0x00, 0x30, 0x00, 0xFF}},
                     4, true, {0x10, 0x20, 0x30, 0xFF}});
    {
        PngSpec s{5, 5, PNG_COLOR_TYPE_RGB, 8, {}};
        for (int i = 0; i < 75; ++i) s.data.push_back(static_cast<std::uint8_t>(i * 3));
        s.interlaced = true;
        cases.push_back({"interlaced rgb", s, 3, false, s.data});
    }
    return cases;
}

TEST(PngDecoder, DecodesEveryLayoutIntoOneOfTheTextureLayouts) {
    for (const DecodeCase& c : decodeCases()) {
        SCOPED_TRACE(c.name);
        const Bytes file = writePng(c.spec);
        DecodedImage image;
        std::string error;
        ASSERT_TRUE(decodePNG(file.data(), file.size(), image, error)) << error;
        EXPECT_EQ(image.width, static_cast<int>(c.spec.width));
        EXPECT_EQ(image.height, static_cast<int>(c.spec.height));
        EXPECT_EQ(image.channels, c.channels);
        EXPECT_EQ(image.alpha, c.alpha);
        ASSERT_TRUE(image.pixels);
        EXPECT_EQ(*image.pixels, c.pixels);
    }
}

TEST(PngDecoder, RefusesBrokenAndOversizedFilesWithAReason) {
    const Bytes good = writePng({4, 4, PNG_COLOR_TYPE_RGBA, 8, Bytes(64, 200)});
    Bytes badSignature = good;
    badSignature[1] = 'Q';
    const Bytes truncated(good.begin(), good.end() - 20);
    Bytes badChecksum = good;
    badChecksum[good.size() - 20] ^= 0xFF;  // inside the image data chunk
    const Bytes headerOnly(good.begin(), good.begin() + 33);

    const struct {
        const char* name;
        Bytes file;
        const char* reason;
    } cases[] = {
        {"empty", {}, "not a PNG"},
        {"signature only", Bytes(good.begin(), good.begin() + 8), ""},
        {"bad signature", badSignature, "not a PNG"},
        {"truncated", truncated, ""},
        {"damaged data", badChecksum, ""},
        {"header without image data", headerOnly, ""},
        {"wider than any texture", test::withHeaderSize(good, 20000, 1), "IHDR"},
        {"too many pixels", test::withHeaderSize(good, 16000, 16000), "too large"},
        {"zero width", test::withHeaderSize(good, 0, 4), "IHDR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedImage image;
        std::string error;
        EXPECT_FALSE(decodePNG(c.file.data(), c.file.size(), image, error));
        EXPECT_FALSE(image.pixels);
        EXPECT_FALSE(error.empty());
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(Premultiply, ScalesColourByAlphaPlusOneAndClearsInvisiblePixels) {
    const struct {
        Bytes in, out;
    } cases[] = {
        {{200, 100, 50, 128}, {100, 50, 25, 128}},
        {{10, 20, 30, 0}, {0, 0, 0, 0}},
        {{10, 20, 30, 255}, {10, 20, 30, 255}},
        {{255, 255, 255, 1}, {1, 1, 1, 1}},
        {{255, 128, 0, 254}, {254, 127, 0, 254}},
    };
    for (const auto& c : cases) {
        Bytes pixel = c.in;
        premultiplyAlpha(pixel.data(), 1);
        EXPECT_EQ(pixel, c.out) << int(c.in[0]) << "," << int(c.in[1]) << "," << int(c.in[2]) << ","
                                << int(c.in[3]);
    }
}

} // namespace
} // namespace zor
