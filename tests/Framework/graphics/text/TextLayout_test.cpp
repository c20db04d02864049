#include "Framework/core/io/Files.h"
#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/graphics/text/TextLayout.h"
#include "Framework/graphics/text/TextMesh.h"
#include "tests/Framework/graphics/font/TestFonts.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace zor {
namespace {

const fpRect Tall(0, 0, 30, 1000);

// The mesh's lines as texts: each quad's code point (ASCII here), a line per line index.
std::vector<std::string> lineTexts(const TextMesh& mesh) {
    std::vector<std::string> lines;
    for (const GlyphQuad& quad : mesh.quads) {
        if (std::size_t(quad.line) >= lines.size()) lines.resize(std::size_t(quad.line) + 1);
        lines[std::size_t(quad.line)] += char(quad.codePoint);
    }
    return lines;
}

std::vector<float> quadXs(const TextMesh& mesh) {
    std::vector<float> xs;
    for (const GlyphQuad& quad : mesh.quads) xs.push_back(quad.x);
    return xs;
}

using Lines = std::vector<std::string>;

class TextLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { setTextPixelSnap(false); }
    void TearDown() override { setTextPixelSnap(true); }

    std::unique_ptr<Font> font = test::tableFont();
};

TEST_F(TextLayoutTest, GlyphsArePlacedAtThePenWithKerningAndTheTruncatedKerningMovesThePen) {
    const TextMeshPtr mesh = Font::buildTextLine(*font, "AVA To", Tall, CompassAnchor::NorthWest);
    // A at 0; V kerned by -2 after A; the pen moves 7 - 2; the blank advances 4; o is
    // kerned by -1.5 after T, but the pen loses only the truncated 1.
    EXPECT_EQ(quadXs(*mesh), (std::vector<float>{0, 5, 12, 19, 23, 28.5f}));
    for (const GlyphQuad& quad : mesh->quads) {
        EXPECT_EQ(quad.y, 1.0f);
        EXPECT_EQ(quad.line, 0);
    }
    EXPECT_EQ(measureText("AV", *font), 12);
    // Measuring truncates kerning and advance together: 7 + trunc(5.5).
    EXPECT_EQ(measureText("To", *font), 12);
    // The glyph reaches 6 units past its pen; a trailing blank reaches no further than the pen.
    EXPECT_EQ(measureText("A", *font), 7);
    EXPECT_EQ(measureText("A ", *font), 11);
    EXPECT_EQ(measureText("", *font), 0);
}

TEST_F(TextLayoutTest, TheLineLayoutKeepsLineFeedsAsGlyphs) {
    const TextMeshPtr mesh = Font::buildTextLine(*font, "A\nB", Tall, CompassAnchor::NorthWest);
    EXPECT_EQ(mesh->quads.size(), 3u);
    EXPECT_EQ(mesh->quads[1].glyph, &font->defaultGlyph);
}

TEST_F(TextLayoutTest, TheBoxLayoutWrapsAtTheGlyphThatWouldPassTheRightEdge) {
    const struct {
        const char* text;
        fpRect box;
        Lines lines;
    } cases[] = {
        // 6 wide glyphs every 7 units: the fifth would end at 34 > 30.
        {"ABCDEFGHIJ", Tall, {"ABCD", "EFGH", "IJ"}},
        {"AB CD EF", Tall, {"AB C", "D EF"}},
        {"AB\nCD", Tall, {"AB", "CD"}},
        // The box holds two lines of 10.
        {"ABCDEFGHIJKL", fpRect(0, 0, 30, 25), {"ABCD", "EFGH"}},
        {"ABC", fpRect(0, 0, 30, 9), {}},
        // A glyph wider than the box fits nowhere; the lines below stay empty.
        {"AB", fpRect(0, 0, 5, 1000), {}},
        {"", Tall, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TextMeshPtr mesh = Font::buildTextMesh(*font, c.text, c.box, CompassAnchor::NorthWest);
        EXPECT_EQ(lineTexts(*mesh), c.lines);
    }
}

TEST_F(TextLayoutTest, TwoLineFeedsLeaveAnEmptyLineThatTakesRoomButNoIndex) {
    for (const bool wrapped : {false, true}) {
        const TextMeshPtr mesh = wrapped ? Font::buildWrappedText(nullptr, *font, "A\n\nB", Tall, CompassAnchor::NorthWest, 0)
                                         : Font::buildTextMesh(*font, "A\n\nB", Tall, CompassAnchor::NorthWest);
        ASSERT_EQ(mesh->quads.size(), 2u);
        EXPECT_EQ(mesh->quads[1].line, 1);
        EXPECT_EQ(mesh->quads[1].y, 21.0f);
    }
}

TEST_F(TextLayoutTest, WordWrappingBreaksBeforeTheWordThatOverflowsAndDropsTheBlank) {
    const fpRect narrow(0, 0, 27, 1000);
    const struct {
        const char* text;
        fpRect box;
        Lines lines;
    } cases[] = {
        {"AB CD EF", Tall, {"AB", "CD", "EF"}},
        // A word longer than the box breaks at the glyph that overflows.
        {"ABCDEFGHIJ", Tall, {"ABCD", "EFGH", "IJ"}},
        {"A BCDEFGH", Tall, {"A", "BCDE", "FGH"}},
        // Blanks at the start of a line are skipped; an earlier blank stays on its line.
        {"AB  CD", Tall, {"AB ", "CD"}},
        {"   ABCD E", Tall, {"ABCD", "E"}},
        // A blank has no width, so it fits up to the edge; past it, it ends the line itself.
        {"ABCD EF", Tall, {"ABCD", "EF"}},
        {"ABCD EF", narrow, {"ABCD", "EF"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TextMeshPtr mesh = Font::buildWrappedText(nullptr, *font, c.text, c.box, CompassAnchor::NorthWest, 0);
        EXPECT_EQ(lineTexts(*mesh), c.lines);
    }
}

// Kana take three bytes each (10 units with their advance, a blank 4): the line keeps
// the glyphs before its last blank, whole, and the next line starts after it.
TEST_F(TextLayoutTest, WordWrappingKeepsWholeMultiByteGlyphsBeforeTheLastBlank) {
    const struct {
        const char* text;
        std::vector<std::uint32_t> codePoints;
        std::vector<std::int32_t> lines;
    } cases[] = {
        {"\u3041\u3043 \u3045\u3047", {0x3041, 0x3043, 0x3045, 0x3047}, {0, 0, 1, 1}},
        {"\u3041 \u3043 \u3045\u3047", {0x3041, ' ', 0x3043, 0x3045, 0x3047}, {0, 0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TextMeshPtr mesh = Font::buildWrappedText(nullptr, *font, c.text, Tall, CompassAnchor::NorthWest, 0);
        std::vector<std::uint32_t> codePoints;
        std::vector<std::int32_t> lines;
        for (const GlyphQuad& quad : mesh->quads) {
            codePoints.push_back(quad.codePoint);
            lines.push_back(quad.line);
        }
        EXPECT_EQ(codePoints, c.codePoints);
        EXPECT_EQ(lines, c.lines);
    }
}

// A language without blanks between words breaks at the glyph that overflows.
TEST_F(TextLayoutTest, JapaneseBreaksAtAnyGlyph) {
    test::TempFolder data;
    data.write("ja.csv", "title\tタイトル\n");
    initFileSystem(data.path().string());
    auto* localization = new LocalizationHandler();
    ASSERT_TRUE(localization->setLanguage("ja"));
    ASSERT_FALSE(localization->breaksAtSpaces());

    const TextMeshPtr blanks = Font::buildWrappedText(nullptr, *font, "AB CD EF", Tall, CompassAnchor::NorthWest, 0);
    EXPECT_EQ(lineTexts(*blanks), (Lines{"AB C", "D EF"}));
    // Kana are 9 wide every 10 units: three fit in 30.
    const TextMeshPtr kana = Font::buildWrappedText(nullptr, *font, "あいうえお", Tall, CompassAnchor::NorthWest, 0);
    ASSERT_EQ(kana->quads.size(), 5u);
    EXPECT_EQ(kana->quads[2].line, 0);
    EXPECT_EQ(kana->quads[3].line, 1);
    EXPECT_EQ(kana->quads[3].codePoint, 0x3048u);
    EXPECT_EQ(kana->quads[3].x, 0.0f);

    delete localization;
    initFileSystem("BundlePC");
}

TEST_F(TextLayoutTest, PagingHandsBackTheTextThatDidNotFitAfterTheMarker) {
    // One line of 10 fits in 15; the marker ".." is 14 wide, so the last line keeps that room.
    const fpRect oneLine(0, 0, 30, 15);
    std::string remainder = "..";
    const TextMeshPtr mesh = Font::buildWrappedText(&remainder, *font, "AB CD EF", oneLine, CompassAnchor::NorthWest, 0);
    EXPECT_EQ(remainder, "CD EF");
    EXPECT_EQ(lineTexts(*mesh), (Lines{"AB.."}));
    // The marker starts where the last glyph ends (7 + 6).
    EXPECT_EQ(quadXs(*mesh), (std::vector<float>{0, 7, 13, 20}));

    // Pages follow each other until the text is used up.
    std::vector<std::string> pages;
    std::string text = "AB CD EF GH";
    for (int page = 0; page < 10 && !text.empty(); ++page) {
        std::string rest = "..";
        const TextMeshPtr shown = Font::buildWrappedText(&rest, *font, text, fpRect(0, 0, 30, 25), CompassAnchor::NorthWest, 0);
        std::string lines;
        for (const std::string& line : lineTexts(*shown)) lines += line + "|";
        pages.push_back(lines);
        text = rest;
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"AB|CD..|", "EF|GH|"}));

    std::string fits = "..";
    Font::buildWrappedText(&fits, *font, "AB", oneLine, CompassAnchor::NorthWest, 0);
    EXPECT_EQ(fits, "");
    std::string tooLow = "..";
    EXPECT_TRUE(Font::buildWrappedText(&tooLow, *font, "AB", fpRect(0, 0, 30, 5), CompassAnchor::NorthWest, 0)->quads.empty());
    EXPECT_EQ(tooLow, "");
}

// The marker may hold more glyphs than the text has bytes; the layout makes room for both.
TEST_F(TextLayoutTest, AMarkerLongerThanTheTextIsPlacedWhole) {
    constexpr std::uint32_t Dot = '.', Kana = 0x3041;
    const struct {
        const char* text;
        const char* marker;
        std::vector<std::uint32_t> codePoints;
        const char* rest;
    } cases[] = {
        // One line of 10 fits in 15. With no room beside the marker, the line takes its
        // first glyph anyway and the rest starts right after it.
        {"A B", "..........", {'A', Dot, Dot, Dot, Dot, Dot, Dot, Dot, Dot, Dot, Dot}, " B"},
        {"A\nB", "\u3041\u3041\u3041\u3041\u3041", {'A', Kana, Kana, Kana, Kana, Kana}, "\nB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string remainder = c.marker;
        const TextMeshPtr mesh =
            Font::buildWrappedText(&remainder, *font, c.text, fpRect(0, 0, 30, 15), CompassAnchor::NorthWest, 0);
        std::vector<std::uint32_t> codePoints;
        for (const GlyphQuad& quad : mesh->quads) {
            codePoints.push_back(quad.codePoint);
            EXPECT_EQ(quad.line, 0);
        }
        EXPECT_EQ(codePoints, c.codePoints);
        EXPECT_EQ(remainder, c.rest);
    }
}

TEST_F(TextLayoutTest, AlignmentPlacesEachLineOrTheBlockInTheBox) {
    const fpRect box(0, 0, 100, 100);
    // Line widths by pen and advance: "AB" 14, "ABCD" 28; two lines are 20 high.
    const TextMeshPtr eachLine = Font::buildWrappedText(nullptr, *font, "AB\nABCD", box, CompassAnchor::Centre, AlignEachLine);
    EXPECT_EQ(eachLine->quads[0].offsetX, 43.0f);
    EXPECT_EQ(eachLine->quads[2].offsetX, 36.0f);
    for (const GlyphQuad& quad : eachLine->quads) EXPECT_EQ(quad.offsetY, 40.0f);
    EXPECT_EQ(eachLine->bounds, fpRect(36, 40, 28, 20));

    const TextMeshPtr block = Font::buildWrappedText(nullptr, *font, "AB\nABCD", box, CompassAnchor::Centre, AlignBlock);
    for (const GlyphQuad& quad : block->quads) EXPECT_EQ(quad.offsetX, 36.0f);
    EXPECT_EQ(block->mode, AlignBlock);

    const TextMeshPtr corner = Font::buildTextLine(*font, "AB", fpRect(10, 20, 100, 100), CompassAnchor::SouthEast);
    EXPECT_EQ(corner->bounds, fpRect(96, 110, 14, 10));
    EXPECT_EQ(corner->anchor, CompassAnchor::SouthEast);

    const TextMeshPtr empty = Font::buildTextLine(*font, "", box, CompassAnchor::Centre);
    EXPECT_EQ(empty->bounds, fpRect());
}

// Bounds of the quads [first, end) by their definition, each glyph's kerning looked up
// from the previous glyph with area on its line.
fpRect definedBounds(const TextMesh& mesh, std::size_t first, std::size_t end, bool withOffsets) {
    constexpr float Largest = std::numeric_limits<float>::max();
    float left = Largest, top = Largest, right = -Largest, bottom = -Largest;
    const GlyphQuad* previous = nullptr;
    for (std::size_t i = first; i < end; ++i) {
        const GlyphQuad& quad = mesh.quads[i];
        const Glyph& glyph = *quad.glyph;
        if (!(glyph.width > 0.0f || glyph.height > 0.0f)) continue;
        const bool sameLine = previous && previous->line == quad.line;
        const float k = mesh.font->kerning(sameLine ? std::int32_t(previous->codePoint) : -1, quad.codePoint);
        float penX = quad.x - (glyph.offsetX + k);
        float penY = quad.y - glyph.offsetY;
        if (withOffsets) {
            penX += quad.offsetX;
            penY += quad.offsetY;
        }
        left = std::min(left, penX);
        right = std::max(right, penX + k + static_cast<float>(glyph.advance));
        top = std::min(top, penY);
        bottom = std::max(bottom, penY + static_cast<float>(mesh.font->lineHeight));
        previous = &quad;
    }
    return previous ? fpRect(left, top, right - left, bottom - top) : fpRect();
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expectAlignedAsDefined(const TextMesh& mesh, const fpRect& box, CompassAnchor anchor, std::int32_t mode) {
    const auto snap = [](float offset) { return textPixelSnap() ? std::round(offset) : offset; };
    const fpRect unaligned = definedBounds(mesh, 0, mesh.quads.size(), false);
    const float y = snap(anchorPosition(box, unaligned.size(), anchor).y);
    for (std::size_t first = 0; first < mesh.quads.size();) {
        std::size_t end = first + 1;
        while (end < mesh.quads.size() && mesh.quads[end].line == mesh.quads[first].line) ++end;
        const fpRect run = mode == AlignEachLine ? definedBounds(mesh, first, end, false) : unaligned;
        const float x = snap(anchorPosition(box, run.size(), anchor).x);
        for (std::size_t i = first; i < end; ++i) {
            ASSERT_TRUE(sameBits(mesh.quads[i].offsetX, x)) << "quad " << i;
            ASSERT_TRUE(sameBits(mesh.quads[i].offsetY, y)) << "quad " << i;
        }
        first = end;
    }
    const fpRect bounds = definedBounds(mesh, 0, mesh.quads.size(), true);
    EXPECT_TRUE(sameBits(mesh.bounds.x, bounds.x) && sameBits(mesh.bounds.y, bounds.y) &&
                sameBits(mesh.bounds.w, bounds.w) && sameBits(mesh.bounds.h, bounds.h))
        << mesh.bounds << " against " << bounds;
}

// The layout keeps each glyph's pen and kerning for the bounds; the bounds and offsets are
// those their definition gives, bit for bit, with the kerned pairs, blanks without area
// between kerned letters, several lines, the continuation marker and both alignments.
TEST_F(TextLayoutTest, AlignmentMeetsTheDefinitionOfTheBoundsWithoutLookingAnythingUp) {
    const char* const texts[] = {"AVA To", "A V To\nTo A", "To AV AV To To AVA VAT oTo", "  lead\n\ntrail  ", ""};
    const fpRect boxes[] = {{0, 0, 200, 100}, {3.25f, -7.5f, 31, 33}, {-20, 4, 17.5f, 1000}};
    for (const bool snap : {false, true}) {
        setTextPixelSnap(snap);
        for (const char* text : texts) {
            for (const fpRect& box : boxes) {
                for (int anchor = 0; anchor < 9; ++anchor) {
                    for (std::int32_t mode : {AlignEachLine, AlignBlock}) {
                        SCOPED_TRACE(std::string(text) + " anchor " + std::to_string(anchor) + " mode " + std::to_string(mode));
                        std::string marker = "AV";
                        const TextMeshPtr wrapped =
                            Font::buildWrappedText(&marker, *font, text, box, CompassAnchor(anchor), mode);
                        expectAlignedAsDefined(*wrapped, box, CompassAnchor(anchor), mode);
                        const TextMeshPtr line = Font::buildTextLine(*font, text, box, CompassAnchor(anchor));
                        expectAlignedAsDefined(*line, box, CompassAnchor(anchor), AlignEachLine);
                        const fpRect other(box.x + 5.5f, box.y, box.w * 2, box.h);
                        TextMesh::align(1 - mode, *wrapped, other, CompassAnchor((anchor + 3) % 9));
                        expectAlignedAsDefined(*wrapped, other, CompassAnchor((anchor + 3) % 9), 1 - mode);
                    }
                }
            }
        }
    }
}

// A layout's quads start with +0 offsets, which alignment to the box's corner at the
// origin keeps; aligning a mesh again must still replace whatever offsets it had.
TEST_F(TextLayoutTest, AligningAgainReplacesEveryOffsetEvenWithZero) {
    const fpRect origin(0, 0, 100, 100);
    const struct {
        const char* name;
        CompassAnchor first;
        fpRect firstBox;
    } cases[] = {
        {"from the centre", CompassAnchor::Centre, origin},
        {"from a moved corner", CompassAnchor::NorthWest, fpRect(-12.5f, 7, 100, 100)},
        {"from the far corner", CompassAnchor::SouthEast, origin},
        {"from the origin itself", CompassAnchor::NorthWest, origin},
    };
    for (const auto& c : cases) {
        for (std::int32_t mode : {AlignEachLine, AlignBlock}) {
            SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode));
            const TextMeshPtr mesh = Font::buildWrappedText(nullptr, *font, "AB\nABCD", c.firstBox, c.first, mode);
            TextMesh::align(mode, *mesh, origin, CompassAnchor::NorthWest);
            for (const GlyphQuad& quad : mesh->quads) {
                EXPECT_TRUE(sameBits(quad.offsetX, 0.0f));
                EXPECT_TRUE(sameBits(quad.offsetY, 0.0f));
            }
            EXPECT_EQ(mesh->bounds, fpRect(0, 0, 28, 20));
        }
    }
}

TEST_F(TextLayoutTest, PixelSnapRoundsOffsetsHalfAwayFromZero) {
    const fpRect box(0, 0, 100, 100);  // "A" is 7 wide and 10 high: centred at 46.5, 45
    const TextMeshPtr loose = Font::buildTextLine(*font, "A", box, CompassAnchor::Centre);
    EXPECT_EQ(loose->quads[0].offsetX, 46.5f);
    setTextPixelSnap(true);
    const TextMeshPtr snapped = Font::buildTextLine(*font, "A", box, CompassAnchor::Centre);
    EXPECT_EQ(snapped->quads[0].offsetX, 47.0f);
    TextMesh::align(AlignEachLine, *snapped, fpRect(-100, 0, 100, 100), CompassAnchor::Centre);
    EXPECT_EQ(snapped->quads[0].offsetX, -54.0f);  // -53.5
}

TEST_F(TextLayoutTest, InvalidUtf8IsLaidOutWithTheReplacementCharacter) {
    const std::string broken = "A\xFF" "B\xE3\x81";  // a stray byte, then a cut-off sequence
    const std::string cleaned = "A\xEF\xBF\xBD" "B\xEF\xBF\xBD";
    const TextMeshPtr line = Font::buildTextLine(*font, broken, Tall, CompassAnchor::NorthWest);
    ASSERT_EQ(line->quads.size(), 4u);
    EXPECT_EQ(line->quads[1].codePoint, 0xFFFDu);
    EXPECT_EQ(line->quads[1].glyph->codePoint, 0xFFFDu);
    EXPECT_EQ(line->text, cleaned);
    EXPECT_EQ(Font::buildTextMesh(*font, broken, Tall, CompassAnchor::NorthWest)->quads.size(), 4u);
    EXPECT_EQ(measureText(broken, *font), measureText(cleaned, *font));

    // The remainder is whole characters of the cleaned text.
    std::string remainder = "..";
    Font::buildWrappedText(&remainder, *font, "AB C\xC0\xAF", fpRect(0, 0, 30, 15), CompassAnchor::NorthWest, 0);
    EXPECT_EQ(remainder, "C\xEF\xBF\xBD");
}

} // namespace
} // namespace zor
