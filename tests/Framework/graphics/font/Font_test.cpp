#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/sprite/NamedShared.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/Framework/graphics/font/TestFonts.h"
#include "tests/support/common/TempFolder.h"
#include "tools/font_writer/writer/FontWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace zor {
namespace {

using Bytes = std::vector<std::uint8_t>;

FontDefinition asciiDefinition(std::uint32_t defaultCodePoint) {
    FontDefinition definition;
    definition.lineHeight = 12;
    definition.defaultCodePoint = defaultCodePoint;
    definition.textureName = "page.png";
    for (std::uint32_t c = 32; c <= 126; ++c) definition.glyphs.push_back(test::tableGlyph(c, 5, 9, 6, float(c)));
    return definition;
}

void putU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

// What a search of the sorted tables answers: the first record of the code point (or key),
// else the default glyph (or no kerning).
const Glyph& searchedGlyph(const Font& font, std::uint32_t codePoint) {
    const auto found = std::lower_bound(font.glyphs.begin(), font.glyphs.end(), codePoint,
                                        [](const Glyph& glyph, std::uint32_t code) { return glyph.codePoint < code; });
    return found != font.glyphs.end() && found->codePoint == codePoint ? *found : font.defaultGlyph;
}

float searchedKerning(const Font& font, std::int32_t previous, std::uint32_t codePoint) {
    const std::uint32_t key = kerningKey(static_cast<std::uint32_t>(previous), codePoint);
    const auto found = std::lower_bound(font.kerningPairs.begin(), font.kerningPairs.end(), key,
                                        [](const KerningPair& pair, std::uint32_t k) { return pair.key < k; });
    return found != font.kerningPairs.end() && found->key == key ? found->amount : 0.0f;
}

void expectLookupsAsSearched(const Font& font, const std::string& name) {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t c = 0; c < 0x3200; ++c) codes.push_back(c);
    for (const Glyph& glyph : font.glyphs)
        for (std::uint32_t c : {glyph.codePoint - 1, glyph.codePoint, glyph.codePoint + 1}) codes.push_back(c);
    for (std::uint32_t c : {0xFFFDu, 0x10000u, 0x1F600u, 0x10FFFFu, 0xFFFFFFFFu}) codes.push_back(c);
    for (std::uint32_t c : codes)
        ASSERT_EQ(&font.findGlyph(c), &searchedGlyph(font, c)) << name << ": code point " << c;

    std::vector<std::int32_t> previous = {-1};
    for (std::int32_t c = 0; c < 300; ++c) previous.push_back(c);
    std::vector<std::uint32_t> following;
    for (std::uint32_t c = 0; c < 300; ++c) following.push_back(c);
    for (const KerningPair& pair : font.kerningPairs) {
        previous.push_back(static_cast<std::int32_t>(pair.key >> 16));
        previous.push_back(static_cast<std::int32_t>((pair.key >> 16) | 0x10000u));  // high bits shift out
        following.push_back(pair.key & 0xFFFFu);
        following.push_back((pair.key & 0xFFFFu) | 0x20000u);  // high half is ignored
    }
    for (std::int32_t a : previous)
        for (std::uint32_t b : following)
            ASSERT_EQ(font.kerning(a, b), searchedKerning(font, a, b)) << name << ": pair " << a << ", " << b;
}

TEST(FontLookup, TablesAnswerAsASearchOfTheSortedRecords) {
    expectLookupsAsSearched(*test::tableFont(), "table font");

    // Repeated code points and keys: the first record is the one found.
    FontDefinition repeated = asciiDefinition('?');
    repeated.glyphs.insert(repeated.glyphs.begin() + 11, test::tableGlyph(32 + 10, 1, 1, 1, 999.0f));
    repeated.glyphs.push_back(test::tableGlyph(0x3042, 9, 9, 10, 1.0f));
    repeated.glyphs.push_back(test::tableGlyph(0x3042, 9, 9, 10, 2.0f));
    repeated.kerning = {{kerningKey('A', 'V'), -2.0f}, {kerningKey('A', 'V'), -5.0f}, {kerningKey(0x3042, 0x3042), 3.0f},
                        {kerningKey(0x3042, 0x3042), 4.0f}, {kerningKey(0xFFFF, 'A'), 0.5f}};
    const Font font(repeated, nullptr);
    EXPECT_EQ(font.findGlyph(32 + 10).x, float(32 + 10));
    EXPECT_EQ(font.findGlyph(0x3042).x, 1.0f);
    EXPECT_EQ(font.kerning('A', 'V'), -2.0f);
    EXPECT_EQ(font.kerning(0x3042, 0x3042), 3.0f);
    EXPECT_EQ(font.kerning(-1, 'A'), 0.5f) << "a line start's key is 0xFFFF in the high half";
    expectLookupsAsSearched(font, "repeated records");

    initFileSystem("BundlePC");
    FontSet fonts;
    fonts.load("Fonts");
    for (const char* name : {"medium", "debug", "debug_small"}) expectLookupsAsSearched(fonts.require(name), name);
}

// Byte positions in an encoded file with the texture name "page.png".
constexpr std::size_t GlyphCountAt = 4 + 2 + 4 + 2 + 8;
constexpr std::size_t GlyphsAt = GlyphCountAt + 2;

// Fonts read from a scratch game data folder.
class FontFileTest : public ::testing::Test {
protected:
    void SetUp() override { initFileSystem(folder.path().string()); }
    void TearDown() override {
        textureScale = 1.0f;
        Texture::purgeCache();
        initFileSystem("BundlePC");
    }

    void write(const std::string& name, const Bytes& bytes) { folder.write(name, std::string(bytes.begin(), bytes.end())); }

    test::TempFolder folder;
};

TEST(FontLookup, CodePointsWithoutGlyphGetTheDefaultGlyph) {
    const Font font(asciiDefinition('?'), nullptr);
    EXPECT_EQ(font.findGlyph('A').codePoint, std::uint32_t('A'));
    EXPECT_EQ(font.findGlyph(126).codePoint, 126u);
    for (const std::uint32_t missing : {0u, 31u, 127u, 233u, 0x10FFFFu}) {
        EXPECT_EQ(font.findGlyph(missing).codePoint, std::uint32_t('?')) << missing;
        EXPECT_EQ(&font.findGlyph(missing), &font.defaultGlyph);
    }
}

TEST(FontLookup, TheDefaultIsTheFirstGlyphAtOrAboveItsCodeAndTheLastAboveAll) {
    struct Case {
        std::uint32_t defaultCodePoint;
        std::uint32_t expected;
    } cases[] = {{'?', '?'}, {0, 32}, {32, 32}, {126, 126}, {127, 126}, {0xFFFFFFFFu, 126}};
    for (const Case& c : cases) {
        const Font font(asciiDefinition(c.defaultCodePoint), nullptr);
        EXPECT_EQ(font.defaultGlyph.codePoint, c.expected) << c.defaultCodePoint;
    }
}

TEST(FontLookup, AFontWithoutGlyphsIsAnError) {
    FontDefinition empty;
    empty.defaultCodePoint = '?';
    EXPECT_THROW(Font(empty, nullptr), CheckReleaseError);
}

TEST(FontLookup, KerningKeysPutThePreviousCodePointInTheHighHalf) {
    FontDefinition definition = asciiDefinition('?');
    EXPECT_EQ(kerningKey(65, 86), 4259926u);
    definition.kerning = {{kerningKey('A', 'T'), -1.0f}, {4259926u, -3.0f}, {kerningKey('V', 'A'), -2.5f}};
    const Font font(definition, nullptr);
    EXPECT_EQ(font.kerning('A', 'V'), -3.0f);
    EXPECT_EQ(font.kerning('V', 'A'), -2.5f);
    EXPECT_EQ(font.kerning('A', 'W'), 0.0f);
    EXPECT_EQ(font.kerning(-1, 'V'), 0.0f);
    // Only the low 16 bits of the second code point count.
    EXPECT_EQ(font.kerning('A', 0x10000 + 'V'), -3.0f);
}

TEST_F(FontFileTest, MetricsAreScaledByTheTextureScaleWhenLoaded) {
    FontDefinition definition = asciiDefinition('B');
    definition.lineHeight = 100;
    definition.glyphs[33] = test::tableGlyph('A', 30, 60, 20, 90);  // 'A' is the 34th glyph
    definition.glyphs[33].offsetX = 3;
    definition.glyphs[33].offsetY = -6;
    definition.glyphs[34] = test::tableGlyph('B', 3, 3, 19, 9);
    definition.kerning = {{kerningKey('A', 'B'), -6.0f}};
    write("Fonts/scaled.fnt", fontwriter::encodeFontDefinition(definition));
    textureScale = 1.0f / 3.0f;
    const Font font("Fonts/scaled.fnt");
    EXPECT_EQ(font.lineHeight, 33);
    const Glyph& a = font.findGlyph('A');
    EXPECT_EQ(a.advance, 7);  // 6.67 rounded
    EXPECT_FLOAT_EQ(a.x, 30.0f);
    EXPECT_FLOAT_EQ(a.width, 10.0f);
    EXPECT_FLOAT_EQ(a.height, 20.0f);
    EXPECT_FLOAT_EQ(a.offsetX, 1.0f);
    EXPECT_FLOAT_EQ(a.offsetY, -2.0f);
    EXPECT_EQ(font.findGlyph('B').advance, 6);  // 6.33 rounded
    EXPECT_FLOAT_EQ(font.kerning('A', 'B'), -2.0f);
    // The stand-in is drawn like the glyph it copies.
    EXPECT_EQ(font.defaultGlyph.advance, 6);
    EXPECT_FLOAT_EQ(font.defaultGlyph.x, 3.0f);
}

TEST_F(FontFileTest, AMissingOrEmptyFileNamesThePathAskedFor) {
    write("Fonts/empty.fnt", {});
    for (const std::string path : {"Fonts/none.fnt", "Fonts/empty.fnt"}) {
        try {
            Font font(path);
            ADD_FAILURE() << path << " loaded";
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), "Could not read font definition " + path);
        }
    }
}

TEST_F(FontFileTest, TruncatedOrOverlongTablesKeepWhatIsThere) {
    FontDefinition definition = asciiDefinition('?');
    definition.kerning = {{kerningKey('A', 'V'), -2.0f}, {kerningKey('T', 'o'), -1.0f}};
    const Bytes whole = fontwriter::encodeFontDefinition(definition);
    const std::size_t kerningCountAt = GlyphsAt + definition.glyphs.size() * 32;

    Bytes hugeCount = whole;
    putU32(hugeCount, kerningCountAt, 0xFFFFFFFFu);
    Bytes oneShort = whole;
    oneShort.pop_back();
    Bytes noKerningCount(whole.begin(), whole.begin() + std::ptrdiff_t(kerningCountAt + 2));

    const struct {
        const char* name;
        Bytes bytes;
        std::size_t pairs;
    } cases[] = {{"whole", whole, 2}, {"huge kerning count", hugeCount, 0}, {"last pair cut", oneShort, 0},
                 {"kerning count cut", noKerningCount, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("Fonts/cut.fnt", c.bytes);
        const Font font("Fonts/cut.fnt");
        EXPECT_EQ(font.glyphs.size(), definition.glyphs.size());
        EXPECT_EQ(font.kerningPairs.size(), c.pairs);
        EXPECT_EQ(font.lineHeight, 12);
        EXPECT_EQ(font.defaultGlyph.codePoint, std::uint32_t('?'));
    }
}

TEST_F(FontFileTest, AFileWhoseGlyphTableIsMissingOrCutIsAnError) {
    const Bytes whole = fontwriter::encodeFontDefinition(asciiDefinition('?'));
    Bytes noGlyphs = whole;
    noGlyphs[GlyphCountAt] = 0;
    noGlyphs[GlyphCountAt + 1] = 0;
    const Bytes cutInGlyphs(whole.begin(), whole.begin() + std::ptrdiff_t(GlyphsAt + 32 * 10 + 5));
    const Bytes cutInName(whole.begin(), whole.begin() + 15);
    for (const Bytes& bytes : {noGlyphs, cutInGlyphs, cutInName}) {
        write("Fonts/broken.fnt", bytes);
        try {
            Font font("Fonts/broken.fnt");
            ADD_FAILURE() << "a font without glyphs loaded";
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), "Could not read font definition Fonts/broken.fnt: it holds no glyph");
        }
    }
}

TEST_F(FontFileTest, ValuesLayoutCannotHoldAreAnErrorNamingTheFileAndTheGlyph) {
    const float infinity = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        void (*damage)(FontDefinition&, float);
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {"a huge advance", [](FontDefinition& d, float v) { d.glyphs[33].advance = std::int32_t(v); }, 2e9f,
         "glyph 65: advance 2e+09 is beyond 4096"},
        {"an infinite offset", [](FontDefinition& d, float v) { d.glyphs[33].offsetX = v; }, infinity,
         "glyph 65: x offset inf is beyond 4096"},
        {"a source rectangle far away", [](FontDefinition& d, float v) { d.glyphs[0].y = v; }, -1e6f,
         "glyph 32: y -1e+06 is beyond 65536"},
        {"a kerning of 1e30", [](FontDefinition& d, float v) { d.kerning = {{kerningKey('A', 'V'), v}}; }, 1e30f,
         "kerning pair 4259926: amount 1e+30 is beyond 4096"},
    };
    for (const Case& c : cases) {
        FontDefinition definition = asciiDefinition('?');
        c.damage(definition, c.value);
        write("Fonts/broken.fnt", fontwriter::encodeFontDefinition(definition));
        try {
            Font font("Fonts/broken.fnt");
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("Could not read font definition Fonts/broken.fnt: ") +
                                                     c.expected)
                << c.what;
        }
    }
    // The largest values still load.
    FontDefinition widest = asciiDefinition('?');
    widest.glyphs[0].advance = 4096;
    widest.glyphs[1].x = 65536.0f;
    widest.kerning = {{kerningKey('A', 'V'), -4096.0f}};
    EXPECT_NO_THROW(Font(std::move(widest), nullptr));
}

TEST_F(FontFileTest, TheFontSetRegistersEachListedFileUnderItsNameWithoutExtension) {
    write("Fonts/debug.fnt", fontwriter::encodeFontDefinition(asciiDefinition('?')));
    FontDefinition small = asciiDefinition('?');
    small.lineHeight = 7;
    write("Fonts/debug_small", fontwriter::encodeFontDefinition(small));
    folder.write("Fonts/fonts.txt", "debug.fnt\r\n\r\ndebug_small\r\n");
    FontSet fonts;
    fonts.load("Fonts");
    EXPECT_EQ(fonts.size(), 2u);
    ASSERT_NE(getNamedShared("debug", fonts), nullptr);
    EXPECT_EQ(fonts.require("debug").lineHeight, 12);
    EXPECT_EQ(fonts.require("debug_small").lineHeight, 7);
    EXPECT_EQ(getNamedShared("debug.fnt", fonts), nullptr);
}

TEST_F(FontFileTest, WithoutAListTheSetStaysAsItWasAndRequiringAFontNamesIt) {
    FontSet fonts;
    fonts.load("Fonts");
    EXPECT_TRUE(fonts.empty());
    try {
        fonts.require("debug");
        ADD_FAILURE() << "a missing font was found";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Font 'debug' is not loaded; it must be listed in Fonts/fonts.txt");
    }
}

TEST_F(FontFileTest, AListedFontThatCannotBeReadStopsTheLoading) {
    folder.write("Fonts/fonts.txt", "gone.fnt\n");
    FontSet fonts;
    EXPECT_THROW(fonts.load("Fonts"), CheckReleaseError);
}

} // namespace
} // namespace zor
