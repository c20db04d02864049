#include "Framework/core/io/Files.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/support/common/TempFolder.h"
#include "tools/font_writer/writer/FontWriter.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zor {
namespace {

using fontwriter::FontSource;
using fontwriter::RenderedFont;

const char* const DejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

FontSource dejaVuSource(int pixelSize) {
    FontSource source;
    source.trueTypePath = DejaVuSans;
    source.pixelSize = pixelSize;
    source.codePoints = fontwriter::parseCodePoints("32-126,0xE9,0x2026,0xFFFD");
    return source;
}

class FontRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { initFileSystem(folder.path().string()); }
    void TearDown() override {
        Texture::purgeCache();
        initFileSystem("BundlePC");
    }

    test::TempFolder folder;
};

TEST_F(FontRoundTrip, TheGameReadsBackEveryGlyphAndKerningPairTheToolWrote) {
    const RenderedFont written = fontwriter::renderFont(dejaVuSource(36), "trip.png");
    fontwriter::writeFontFiles(written, (folder.path() / "Fonts/trip.fnt").string());
    const Font font("Fonts/trip.fnt");

    const FontDefinition& expected = written.definition;
    EXPECT_EQ(font.lineHeight, expected.lineHeight);
    EXPECT_GE(font.lineHeight, 36);
    ASSERT_EQ(font.glyphs.size(), expected.glyphs.size());
    EXPECT_EQ(font.glyphs.size(), 95u + 3u);
    for (std::size_t i = 0; i < expected.glyphs.size(); ++i) {
        const Glyph& want = expected.glyphs[i];
        const Glyph& got = font.glyphs[i];
        SCOPED_TRACE(want.codePoint);
        EXPECT_EQ(got.codePoint, want.codePoint);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
        EXPECT_EQ(got.offsetX, want.offsetX);
        EXPECT_EQ(got.offsetY, want.offsetY);
        EXPECT_EQ(got.advance, want.advance);
        EXPECT_EQ(&font.findGlyph(want.codePoint), &got);
    }
    EXPECT_EQ(font.defaultGlyph.codePoint, std::uint32_t('?'));

    ASSERT_EQ(font.kerningPairs.size(), expected.kerning.size());
    ASSERT_FALSE(expected.kerning.empty());
    for (std::size_t i = 0; i < expected.kerning.size(); ++i) {
        EXPECT_EQ(font.kerningPairs[i].key, expected.kerning[i].key);
        EXPECT_EQ(font.kerningPairs[i].amount, expected.kerning[i].amount);
        if (i > 0) {
            EXPECT_LT(font.kerningPairs[i - 1].key, font.kerningPairs[i].key);
        }
    }
    // DejaVu Sans pulls these pairs together.
    EXPECT_LT(font.kerning('A', 'V'), 0.0f);
    EXPECT_LT(font.kerning('T', 'o'), 0.0f);
    EXPECT_EQ(font.kerning('o', 'o'), 0.0f);

    ASSERT_TRUE(font.texture);
    EXPECT_EQ(font.texture->cached()->pixelWidth, written.page.width);
    EXPECT_EQ(font.texture->cached()->pixelHeight, written.page.height);
}

TEST(FontWriterPage, EachGlyphHasItsOwnCoveredRectangleWithAnEmptyBorder) {
    const RenderedFont font = fontwriter::renderFont(dejaVuSource(24), "page.png");
    const fontwriter::GlyphPage& page = font.page;
    const auto alpha = [&](int x, int y) { return page.pixels[(std::size_t(y) * std::size_t(page.width) + std::size_t(x)) * 4 + 3]; };
    std::vector<int> owner(std::size_t(page.width) * std::size_t(page.height), -1);
    for (std::size_t i = 0; i < font.definition.glyphs.size(); ++i) {
        const Glyph& glyph = font.definition.glyphs[i];
        SCOPED_TRACE(glyph.codePoint);
        if (glyph.codePoint == ' ') {
            EXPECT_EQ(glyph.width, 0.0f);
            EXPECT_GT(glyph.advance, 0);
            continue;
        }
        const int x0 = int(glyph.x), y0 = int(glyph.y), w = int(glyph.width), h = int(glyph.height);
        ASSERT_GT(w, 0);
        ASSERT_TRUE(x0 >= 2 && y0 >= 2 && x0 + w + 2 <= page.width && y0 + h + 2 <= page.height);
        int covered = 0;
        for (int y = y0 - 2; y < y0 + h + 2; ++y) {
            for (int x = x0 - 2; x < x0 + w + 2; ++x) {
                int& cell = owner[std::size_t(y) * std::size_t(page.width) + std::size_t(x)];
                EXPECT_EQ(cell, -1) << "glyph cells overlap at " << x << "," << y;
                cell = int(i);
                const bool border = x < x0 || y < y0 || x >= x0 + w || y >= y0 + h;
                if (border) {
                    EXPECT_EQ(alpha(x, y), 0);
                } else {
                    covered += alpha(x, y) > 0;
                }
            }
        }
        EXPECT_GT(covered, 0);
    }
}

TEST(FontWriterPage, TheDefinitionFileStartsWithItsFieldsInOrder) {
    FontDefinition definition;
    definition.lineHeight = 0x1234;
    definition.defaultCodePoint = 0x3F;
    definition.textureName = "ab.png";
    definition.glyphs.push_back(Glyph{0x41, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7});
    definition.kerning.push_back({kerningKey('A', 'V'), -1.0f});
    const std::vector<std::uint8_t> bytes = fontwriter::encodeFontDefinition(definition);
    ASSERT_EQ(bytes.size(), 4u + 2 + 4 + 2 + 6 + 2 + 32 + 4 + 8);
    EXPECT_EQ(bytes[4], 0x34);
    EXPECT_EQ(bytes[5], 0x12);
    EXPECT_EQ(bytes[6], 0x3F);
    EXPECT_EQ(bytes[10], 6);
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 18), "ab.png");
    EXPECT_EQ(bytes[18], 1);
    EXPECT_EQ(bytes[20], 0x41);
    EXPECT_EQ(bytes[52], 1);  // the pair count after the one glyph
}

TEST(FontWriterOptions, CharacterListsAreNumbersAndInclusiveRanges) {
    EXPECT_EQ(fontwriter::parseCodePoints("65"), (std::vector<std::uint32_t>{65}));
    EXPECT_EQ(fontwriter::parseCodePoints("65-67,0x2026"), (std::vector<std::uint32_t>{65, 66, 67, 0x2026}));
    EXPECT_EQ(fontwriter::parseCodePoints("0x41-0x42"), (std::vector<std::uint32_t>{65, 66}));
    for (const char* bad : {"", "65,", "x", "67-65", "65-", "0x110000", "6 5"})
        EXPECT_THROW(fontwriter::parseCodePoints(bad), std::invalid_argument) << bad;
    EXPECT_NO_THROW(fontwriter::parseCodePoints(fontwriter::defaultCharacterList()));
}

TEST(FontWriterOptions, AFontWithoutTheDefaultCharacterOrAFileIsRefused) {
    FontSource noDefault = dejaVuSource(20);
    noDefault.codePoints = {'A', 'B'};
    EXPECT_THROW(fontwriter::renderFont(noDefault, "x.png"), std::runtime_error);
    FontSource missing = dejaVuSource(20);
    missing.trueTypePath = "/nowhere/font.ttf";
    EXPECT_THROW(fontwriter::renderFont(missing, "x.png"), std::runtime_error);
}

} // namespace
} // namespace zor
