// Fields and borders: the shapes a slice gets without patches.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/math/LegacyRandomizer.h"
#include "Framework/core/math/Randomizer.h"
#include "game/world/level/SliceShapes.h"
#include "tests/support/common/RecordingRandomizer.h"

namespace zor {
namespace {

// The covered cells of R as rows of '#' (covered) and '.'.
std::vector<std::string> coverage(const FillerField& field, const iRect& r, const FieldMask& mask, float offset = 0) {
    std::vector<std::string> rows;
    for (std::int32_t y = r.y; y < r.y + r.h; ++y) {
        std::string row;
        for (std::int32_t x = r.x; x < r.x + r.w; ++x) row += fieldCovers(field, r, mask, offset, x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST(FieldTest, ARectFieldDrawsFourValuesPerRectangle) {
    FillerField field;
    field.style = FieldStyle::Rect;
    field.numberOfFields = 3;
    field.minSizeX = 2;
    field.maxSizeX = 4;
    field.minSizeY = 1;
    field.maxSizeY = 3;
    const iRect r(2, 3, 10, 6);
    struct Case {
        bool legacy;
        std::vector<std::string> draws;
    };
    const std::vector<std::string> adapterDraws{"nextIntRange(0,10)", "nextIntRange(0,6)", "nextIntRange(2,5)",
                                                "nextIntRange(1,4)"};
    const std::vector<std::string> legacyDraws{"nextIntRange(0,9)", "nextIntRange(0,5)", "nextIntRange(2,4)",
                                               "nextIntRange(1,3)"};
    for (bool legacy : {false, true}) {
        RandomizerAdapter<Randomizer> adapter(11, 22);
        LegacyRandomizer old(11, 22);
        test::RecordingRandomizer random(legacy ? static_cast<IRandomizer&>(old) : adapter);
        const FieldMask mask = drawFieldMask(field, r, random, legacy);
        const std::vector<std::string>& once = legacy ? legacyDraws : adapterDraws;
        std::vector<std::string> expected;
        for (int i = 0; i < 3; ++i) expected.insert(expected.end(), once.begin(), once.end());
        EXPECT_EQ(random.log, expected) << "legacy " << legacy;

        // The same draws replayed clear exactly the drawn rectangles, clipped to R.
        RandomizerAdapter<Randomizer> adapterTwin(11, 22);
        LegacyRandomizer oldTwin(11, 22);
        IRandomizer& replay = legacy ? static_cast<IRandomizer&>(oldTwin) : adapterTwin;
        std::vector<std::string> expectedRows(6, std::string(10, '.'));
        const int open = legacy ? 0 : 1;
        for (int i = 0; i < 3; ++i) {
            const int left = replay.nextIntRange(0, r.w - 1 + open);
            const int top = replay.nextIntRange(0, r.h - 1 + open);
            const int w = replay.nextIntRange(2, 4 + open);
            const int h = replay.nextIntRange(1, 3 + open);
            for (int y = top; y < std::min(top + h, r.h); ++y)
                for (int x = left; x < std::min(left + w, r.w); ++x) expectedRows[std::size_t(y)][std::size_t(x)] = '#';
        }
        EXPECT_EQ(coverage(field, r, mask), expectedRows) << "legacy " << legacy;
    }
}

TEST(FieldTest, RectFieldsOverAnEmptyRectangleStillDraw) {
    FillerField field;
    field.style = FieldStyle::Rect;
    field.numberOfFields = 2;
    for (const iRect& r : {iRect(3, 2, 0, 5), iRect(3, 2, 4, 0)})
        for (bool legacy : {false, true}) {
            RandomizerAdapter<Randomizer> adapter(11, 22);
            LegacyRandomizer old(11, 22);
            test::RecordingRandomizer random(legacy ? static_cast<IRandomizer&>(old) : adapter);
            drawFieldMask(field, r, random, legacy);
            EXPECT_EQ(random.log.size(), 8u);
        }
}

TEST(FieldTest, LegacyRectanglesStayOffTheLastColumnAndRow) {
    FillerField field;
    field.style = FieldStyle::Rect;
    field.numberOfFields = 1;
    field.minSizeX = field.minSizeY = 1;
    field.maxSizeX = field.maxSizeY = 3;
    const iRect r(0, 0, 8, 5);
    Randomizer base = Randomizer::fromSeed(4242);
    LegacyRandomizer legacy(base.w(), base.z());
    for (int i = 0; i < 500; ++i) {
        const std::vector<std::string> rows = coverage(field, r, drawFieldMask(field, r, legacy, true));
        std::size_t top = rows.size();
        std::size_t left = std::string::npos;
        std::size_t coveredRows = 0;
        for (std::size_t y = 0; y < rows.size(); ++y) {
            const std::size_t first = rows[y].find('#');
            if (first == std::string::npos) continue;
            top = std::min(top, y);
            left = std::min(left, first);
            ++coveredRows;
            ASSERT_EQ(rows[y].find("###"), std::string::npos) << "draw " << i;
        }
        if (coveredRows == 0) continue;  // a rectangle of width 0 is possible
        ASSERT_LT(top, rows.size() - 1) << "draw " << i;
        ASSERT_LT(left, rows[0].size() - 1) << "draw " << i;
        ASSERT_LE(coveredRows, 2u) << "draw " << i;
    }
}

TEST(FieldTest, CircleFieldsRoundTheTopCorners) {
    FillerField field;
    field.style = FieldStyle::Circle;
    field.radius = 3;
    const FieldMask mask(20, 9);
    struct Case {
        std::int32_t gap;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {0,
         {"####............####", "#..................#", "#..................#", "#..................#",
          "#..................#", "#..................#", "####............####", "....................",
          "...................."}},
        // The gap leaves half of the rest at most on each side.
        {16,
         {"###..............###", "#..................#", "#..................#", "#..................#",
          "#..................#", "#..................#", "###..............###", "....................",
          "...................."}},
    };
    for (const Case& c : cases) {
        field.gap = c.gap;
        EXPECT_EQ(coverage(field, iRect(5, 2, 20, 9), mask), c.rows) << "gap " << c.gap;
    }
}

TEST(FieldTest, NoiseFieldsCoverByTheirMaximum) {
    const iRect r(0, 0, 12, 7);
    const FieldMask mask(12, 7);
    for (FieldStyle style : {FieldStyle::Basic, FieldStyle::Abs}) {
        FillerField field;
        field.style = style;
        field.freq = 0.3f;
        field.octaves = 2;
        field.max = 0.0f;
        for (const std::string& row : coverage(field, r, mask, 17.5f)) EXPECT_EQ(row, "............");
        field.max = 1.01f;
        for (const std::string& row : coverage(field, r, mask, 17.5f)) EXPECT_EQ(row, "############");
    }
}

TEST(BorderTest, WidthsByStyle) {
    struct Case {
        BorderStyle style;
        std::int32_t width;
        float valueA;
        std::vector<std::int32_t> widths;  // rows 0, 1, 2, ...
    };
    const Case cases[] = {
        {BorderStyle::Saw, 4, 0.25f, {0, 1, 2, 3, 0, 1, 2}},
        {BorderStyle::Saw, 0, 0.25f, {0, 0, 0}},  // no width to take a remainder of
        {BorderStyle::Saw, -2, 0.25f, {0, 0, 0}},
        // sin(0) = 0 gives half of bw - 1; after it the sign decides between bw - 1 and 0.
        {BorderStyle::Square, 5, 1.0f, {2, 4, 4, 4, 0, 0, 0, 4}},
        // (sin(a A) + 1) / 2 * bw, truncated.
        {BorderStyle::Sinus, 4, 1.0f, {2, 3, 3, 2, 0, 0, 1, 3}},
    };
    for (const Case& c : cases)
        for (std::size_t row = 0; row < c.widths.size(); ++row)
            EXPECT_EQ(borderWidthAt(c.style, c.width, c.valueA, std::int64_t(row)), c.widths[row])
                << int(c.style) << " width " << c.width << " row " << row;

    for (std::int64_t phase = 0; phase < 200; ++phase) {
        const std::int32_t w = borderWidthAt(BorderStyle::Simplex, 6, 0.25f, phase);
        EXPECT_GE(w, 0);
        EXPECT_LE(w, 6);
    }
}

} // namespace
} // namespace zor
