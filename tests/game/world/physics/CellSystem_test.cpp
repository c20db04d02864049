#include "game/world/physics/CellSystem.h"

#include "tests/game/world/physics/PhysicsFixtures.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace zor::test {
namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Infinity = std::numeric_limits<float>::infinity();

class ListedBody final : public CellObject {
public:
    ListedBody(const fpRect& rect, std::uint32_t bodyGroup) : bounds(rect) { group = bodyGroup; }
    fpRect getBounds() const override { return bounds; }
    fpRect bounds;
};

// Sets a debug switch of category "game debug" for the test's duration.
class DebugSwitch {
public:
    explicit DebugSwitch(const char* name)
        : m_flag(declareDebugToggle(DebugToggle(name, DebugToggle::Toggle, "game debug"))) {
        m_flag.store(true);
    }
    ~DebugSwitch() { m_flag.store(false); }

private:
    DebugFlag& m_flag;
};

// 4 x 3 cells of 256 pixels.
class CellSystemTest : public ::testing::Test {
protected:
    CellSystem cells{fpRect(0, 0, 1024, 700), fpVector2(256, 256)};

    const std::vector<CellObject*>& list(std::int32_t column, std::int32_t row, std::int32_t layer) const {
        return cells.cell(column, row).groupLists[std::size_t(layer)];
    }
    std::vector<CellObject*> query(const fpRect& rect, std::uint32_t mask) const {
        std::vector<CellObject*> found;
        const std::int32_t count = cells.query(found, rect, mask);
        EXPECT_EQ(count, std::int32_t(found.size()));
        return found;
    }
};

TEST_F(CellSystemTest, TheGridCoversTheWorldInWholeCells) {
    EXPECT_EQ(cells.columns(), 4);
    EXPECT_EQ(cells.rows(), 3);
    EXPECT_EQ(cells.gridRect(), fpRect(0, 0, 1024, 768));
    EXPECT_EQ(cells.cell(2, 1).rect, fpRect(512, 256, 256, 256));
    EXPECT_EQ(cells.outsideCell().column, -1);
    EXPECT_EQ(cells.outsideCell().row, -1);
}

TEST_F(CellSystemTest, CellRanges) {
    struct Case {
        const char* label;
        fpRect rect;
        CellRange range;
    };
    const Case cases[] = {
        {"inside one cell", {10, 10, 20, 20}, {0, 0, 1, 1, false}},
        {"right edge on a boundary covers the next cell", {200, 10, 56, 20}, {0, 0, 2, 1, false}},
        {"left of the grid", {-10, 10, 20, 20}, {0, 0, 1, 1, true}},
        {"past the bottom right", {1000, 700, 100, 100}, {3, 2, 1, 1, true}},
        {"the whole grid and beyond", {-1e30f, -1e30f, 2e30f, 2e30f}, {0, 0, 4, 3, true}},
        {"not a number", {NaN, 10, 20, 20}, {0, 0, 0, 0, true}},
        {"infinite", {-Infinity, 0, Infinity, 10}, {0, 0, 0, 0, true}},
    };
    for (const Case& c : cases) {
        const CellRange range = cells.cellRange(c.rect);
        EXPECT_EQ(range, c.range) << c.label << ": " << range.column << "," << range.row << " " << range.columns
                                  << "x" << range.rows << (range.outside ? " outside" : "");
    }
    // Wholly outside: no grid cell, only the outside cell.
    for (const fpRect& away : {fpRect(2000, 10, 10, 10), fpRect(10, -500, 10, 10), fpRect(3e38f, 3e38f, 1, 1)}) {
        const CellRange range = cells.cellRange(away);
        EXPECT_TRUE(range.outside);
        EXPECT_TRUE(range.columns <= 0 || range.rows <= 0) << away.x << "," << away.y;
    }
}

TEST_F(CellSystemTest, SmallBodiesLiveAtTheirCentreLargeOnesEverywhereTheyReach) {
    ListedBody small({200, 300, 127, 20}, 1);  // centre x 263.5
    ListedBody large({200, 300, 128, 20}, 1);
    cells.update(small);
    cells.update(large);
    EXPECT_EQ(small.cellRange(), (CellRange{1, 1, 1, 1, false}));
    EXPECT_EQ(list(0, 1, 0), std::vector<CellObject*>{&large});
    EXPECT_EQ(list(1, 1, 0), (std::vector<CellObject*>{&small, &large}));
    EXPECT_EQ(cells.maxSmallSize(), 127.0f);

    // Found from the neighbour cell thanks to the widening by half the largest small body.
    EXPECT_EQ(query({200, 300, 20, 20}, 1), (std::vector<CellObject*>{&large, &small}));
    EXPECT_TRUE(query({100, 300, 20, 20}, 1).empty());
}

TEST_F(CellSystemTest, ALargeBodyIsReportedOnce) {
    ListedBody large({200, 200, 100, 300}, 4);  // four cells
    ListedBody small({10, 10, 10, 10}, 4);
    cells.update(large);
    cells.update(small);
    EXPECT_EQ(large.cellRange(), (CellRange{0, 0, 2, 2, false}));
    EXPECT_EQ(query({0, 0, 1024, 768}, 4), (std::vector<CellObject*>{&large, &small}));

    std::vector<CellObject*> already{&large};
    EXPECT_EQ(cells.query(already, {0, 0, 1024, 768}, 4), 1);
    EXPECT_EQ(already, (std::vector<CellObject*>{&large, &small}));
}

TEST_F(CellSystemTest, AMoveWithinTheSameRangeKeepsTheRegistration) {
    ListedBody first({10, 10, 10, 10}, 1);
    ListedBody second({20, 20, 10, 10}, 1);
    cells.update(first);
    cells.update(second);
    first.bounds = {100, 100, 10, 10};
    cells.update(first);
    EXPECT_EQ(list(0, 0, 0), (std::vector<CellObject*>{&first, &second}));

    first.bounds = {300, 100, 10, 10};
    cells.update(first);
    first.bounds = {10, 10, 10, 10};
    cells.update(first);
    EXPECT_EQ(list(0, 0, 0), (std::vector<CellObject*>{&second, &first}));
    EXPECT_TRUE(list(1, 0, 0).empty());
}

TEST_F(CellSystemTest, BodiesReachingOutsideAreInTheOutsideCellToo) {
    ListedBody large({-100, 10, 200, 20}, 2);
    ListedBody away({5000, 10, 10, 10}, 2);
    cells.update(large);
    cells.update(away);
    EXPECT_EQ(large.cellRange(), (CellRange{0, 0, 1, 1, true}));
    EXPECT_EQ(list(0, 0, 1), std::vector<CellObject*>{&large});
    EXPECT_EQ(cells.outsideCell().groupLists[1], (std::vector<CellObject*>{&large, &away}));

    EXPECT_EQ(query({-50, 0, 100, 100}, 2), std::vector<CellObject*>{&large});
    EXPECT_EQ(query({4900, 0, 200, 100}, 2), std::vector<CellObject*>{&away});
    EXPECT_TRUE(query({500, 0, 100, 100}, 2).empty());

    cells.remove(large);
    EXPECT_TRUE(large.cellRange().isZero());
    EXPECT_TRUE(list(0, 0, 1).empty());
    EXPECT_EQ(cells.outsideCell().groupLists[1], std::vector<CellObject*>{&away});
}

TEST_F(CellSystemTest, MasksSelectGroupLists) {
    ListedBody top({10, 10, 10, 10}, 1u << 18);
    ListedBody below({10, 10, 10, 10}, 1u << 17);
    ListedBody twoBits({10, 10, 10, 10}, 0x11);  // filed under its highest bit
    ListedBody tooHigh({10, 10, 10, 10}, 1u << 19);
    ListedBody none({10, 10, 10, 10}, 0);
    for (ListedBody* body : {&top, &below, &twoBits, &tooHigh, &none}) cells.update(*body);

    EXPECT_EQ(list(0, 0, 4), std::vector<CellObject*>{&twoBits});
    EXPECT_TRUE(tooHigh.cellRange().isZero());
    EXPECT_TRUE(none.cellRange().isZero());

    const fpRect everywhere(0, 0, 1024, 768);
    EXPECT_TRUE(query(everywhere, 0).empty());
    EXPECT_EQ(query(everywhere, 1u << 18), std::vector<CellObject*>{&top});
    EXPECT_EQ(query(everywhere, 0xFFFFFFFFu), (std::vector<CellObject*>{&twoBits, &below, &top}));
    EXPECT_TRUE(query(everywhere, 0xFFF80000u).empty());  // bits 19 to 31 have no lists
    EXPECT_EQ(query(everywhere, 0x10), std::vector<CellObject*>{&twoBits});
    EXPECT_TRUE(query(everywhere, 0x01).empty());
}

TEST_F(CellSystemTest, TheWideningNeverShrinks) {
    ListedBody wide({10, 10, 100, 10}, 1);
    cells.update(wide);
    cells.remove(wide);
    ListedBody narrow({10, 10, 20, 10}, 1);
    cells.update(narrow);
    EXPECT_EQ(cells.maxSmallSize(), 100.0f);
}

TEST_F(CellSystemTest, NotANumberBoundsLiveInTheOutsideCellOnly) {
    ListedBody lost({NaN, NaN, 10, 10}, 1);
    cells.update(lost);
    EXPECT_EQ(lost.cellRange(), (CellRange{0, 0, 0, 0, true}));
    EXPECT_EQ(cells.maxSmallSize(), 10.0f);
    lost.bounds = {NaN, NaN, NaN, NaN};
    cells.update(lost);
    EXPECT_EQ(cells.maxSmallSize(), 10.0f);  // a NaN size widens nothing
    cells.remove(lost);
    EXPECT_TRUE(cells.outsideCell().groupLists[0].empty());
}

TEST_F(CellSystemTest, DebugPicturesOnlyUnderTheSwitch) {
    auto canvas = std::make_shared<RecordingCanvas>();
    cells.setDebugCanvas(canvas);
    ListedBody small({10, 10, 10, 10}, 1);
    ListedBody large({0, 300, 400, 100}, 2);  // cells (0, 1) and (1, 1)
    cells.update(small);
    cells.update(large);
    query({1, 2, 3, 4}, 1);
    cells.debugDraw({0, 0, 1024, 768});
    EXPECT_TRUE(canvas->calls.empty());

    DebugSwitch on("cells");
    query({1, 2, 3, 4}, 0);
    EXPECT_EQ(canvas->calls, std::vector<std::string>{"outline (1,2,3,4) FF0000FF"});

    canvas->calls.clear();
    cells.debugDraw({0, 0, 1024, 768});
    const std::vector<std::string> expected = {
        "grid (0,0,1024,768) (256,256) C8006400",
        "outline (10,10,10,10) C800C800",
        "line (15,15) (128,128) 78007800",
        "outline (0,300,400,100) C800C800",
        "line (200,350) (128,384) 78007800",
        "line (200,350) (384,384) 78007800",
        "outline (0,300,400,100) C800C800",
        "line (200,350) (128,384) 78007800",
        "line (200,350) (384,384) 78007800",
    };
    EXPECT_EQ(canvas->calls, expected);

    // Only the cells in view draw their bodies.
    canvas->calls.clear();
    cells.debugDraw({600, 600, 10, 10});
    EXPECT_EQ(canvas->calls, std::vector<std::string>{"grid (0,0,1024,768) (256,256) C8006400"});
}

TEST_F(CellSystemTest, TheInsideOfALargeBodyDrawsNothing) {
    auto canvas = std::make_shared<RecordingCanvas>();
    cells.setDebugCanvas(canvas);
    ListedBody everywhere({0, 0, 1024, 768}, 1);
    cells.update(everywhere);
    DebugSwitch on("cells");
    cells.debugDraw({0, 0, 1024, 768});
    EXPECT_EQ(canvas->calls, std::vector<std::string>{"grid (0,0,1024,768) (256,256) C8006400"});
}

} // namespace
} // namespace zor::test
