#include "tests/game/world/physics/PhysicsFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace zor::test {
namespace {

constexpr float Diagonal = 0.70710677f;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

struct Expected {
    bool hit;
    float distance;
    fpVector2 normal;
    float depth;
};

void expectAnswer(const ShapeTest& test, bool result, const Expected& expected, const std::string& label) {
    EXPECT_EQ(result, expected.hit) << label;
    EXPECT_EQ(test.hit, expected.hit) << label;
    EXPECT_NEAR(test.distance, expected.distance, 1e-4f) << label;
    EXPECT_NEAR(test.normal.x, expected.normal.x, 1e-6f) << label;
    EXPECT_NEAR(test.normal.y, expected.normal.y, 1e-6f) << label;
    EXPECT_NEAR(test.depth, expected.depth, 1e-4f) << label;
}

ShapeTest testFor(const AbstractShape& first, const fpVector2& move) {
    ShapeTest test;
    test.move = move;
    const fpRect bounds = first.getBounds();
    test.sweepBounds = fpRect::united(bounds, fpRect(bounds.x + move.x, bounds.y + move.y, bounds.w, bounds.h));
    return test;
}

// A rectangle at mover (its size and top-left corner) moving by `move` against `second`.
struct MoverCase {
    const char* label;
    fpRect mover;
    bool sweepMove;
    fpVector2 move;
    Expected expected;
};

template <std::size_t N>
void expectCases(const AbstractShape& second, const MoverCase (&cases)[N]) {
    for (const MoverCase& c : cases) {
        RectShape mover({0, 0, c.mover.w, c.mover.h}, c.sweepMove);
        mover.setPosition({c.mover.x, c.mover.y});
        ShapeTest test = testFor(mover, c.move);
        const bool result = testShapePair(mover, second, test);
        expectAnswer(test, result, c.expected, c.label);
    }
}

class ShapePairTestsTest : public ::testing::Test {
protected:
    void SetUp() override { installShapePairTests(); }
};

TEST_F(ShapePairTestsTest, ShapesReportTheirBounds) {
    RectShape rect({-5, -10, 10, 20}, false);
    rect.setPosition({100, 50});
    EXPECT_EQ(rect.getBounds(), fpRect(95, 40, 10, 20));

    TileMapShape tiles(std::make_shared<PersistentTileMap>(3, 2));
    tiles.setPosition({7, 7});
    EXPECT_EQ(tiles.getBounds(), fpRect(0, 0, 120, 80));

    BoundsShape bounds({0, 0, 800, 900});
    bounds.setPosition({7, 7});
    EXPECT_EQ(bounds.getBounds(), fpRect(0, 0, 800, 900));

    // A diamond: its bounds hold all four corners, whichever way the edges point.
    EXPECT_EQ(OBBShape({50, 50}, {-50, 50}, {50, 0}).getBounds(), fpRect(0, 0, 100, 100));
    EXPECT_EQ(OBBShape({-30, 0}, {0, -20}, {10, 10}).getBounds(), fpRect(-20, -10, 30, 20));
}

TEST_F(ShapePairTestsTest, ShapesAreSharedAndFreedWithTheirLastReference) {
    ShapePtr first(new RectShape({0, 0, 1, 1}, false));
    ShapePtr second = first;
    first.reset();
    EXPECT_EQ(second->getBounds(), fpRect(0, 0, 1, 1));  // still alive; ASan checks the release
}

TEST_F(ShapePairTestsTest, EveryPairWithoutATestFailsLoudly) {
    installShapePairTests();  // a second installation changes nothing
    const RectShape rect({0, 0, 10, 10}, false);
    const TileMapShape tiles(std::make_shared<PersistentTileMap>(2, 2));
    const BoundsShape bounds({0, 0, 100, 100});
    const OBBShape box({10, 0}, {0, 10}, {0, 0});
    const AbstractShape* shapes[] = {&rect, &tiles, &bounds, &box};
    const bool tested[4][4] = {{true, true, true, true}, {}, {}, {true, false, false, false}};
    for (int first = 0; first < 4; ++first)
        for (int second = 0; second < 4; ++second) {
            ShapeTest test;
            if (tested[first][second])
                EXPECT_NO_THROW(testShapePair(*shapes[first], *shapes[second], test)) << first << " " << second;
            else
                EXPECT_THROW(testShapePair(*shapes[first], *shapes[second], test), std::logic_error)
                    << first << " " << second;
        }
}

TEST_F(ShapePairTestsTest, RectangleAgainstRectangle) {
    const RectShape wall({20, 0, 10, 10}, false);
    const MoverCase cases[] = {
        {"discrete into the wall: at the start, pushed out of the end", {0, 0, 10, 10}, false, {15, 0}, {true, 0, {-1, 0}, 5}},
        {"swept into the wall: the travel and the face", {0, 0, 10, 10}, true, {15, 0}, {true, 10, {-1, 0}, 5}},
        {"discrete past the wall is still swept", {0, 0, 10, 10}, false, {30, 0}, {true, 10, {-1, 0}, 0}},
        {"overlapping at the start", {15, 0, 10, 10}, true, {0, 0}, {true, 0, {-1, 0}, 5}},
        {"corner first", {0, -20, 10, 10}, true, {20, 20}, {true, 14.142136f, {-Diagonal, -Diagonal}, 10}},
        {"passing above", {0, -20, 10, 10}, true, {40, 0}, {false, 0, {0, 0}, 0}},
        {"touching edges only", {10, 0, 10, 10}, false, {0, 0}, {false, 0, {0, 0}, 0}},
    };
    expectCases(wall, cases);
}

TEST_F(ShapePairTestsTest, RectangleAgainstTheTileMap) {
    // Column 2 solid in rows 0 to 2, the whole of row 4.
    const TileMapShape tiles(tileMapFromRows({
        "..#.....",
        "..#.....",
        "..#.....",
        "........",
        "########",
    }));
    const MoverCase cases[] = {
        {"right edge on the boundary at 80", {40, 0, 40, 20}, false, {0, 0}, {false, 0, {0, 0}, 0}},
        {"right edge at 80.5 reaches column 2", {40.5f, 0, 40, 20}, false, {0, 0}, {true, 0, {-1, 0}, 0.5f}},
        {"discrete into the wall", {30, 0, 40, 20}, false, {15, 0}, {true, 0, {-1, 0}, 5}},
        {"swept into the wall", {30, 0, 40, 20}, true, {15, 0}, {true, 10, {-1, 0}, 0}},
        {"swept onto the floor", {100, 130, 20, 20}, true, {0, 20}, {true, 10, {0, -1}, 0}},
        {"swept away from everything", {140, 100, 20, 20}, true, {10, -10}, {false, 0, {0, 0}, 0}},
        {"swept onto a corner", {50, 130, 20, 20}, true, {30, -30}, {true, 14.142136f, {-Diagonal, Diagonal}, 0}},
        // Overlapping a cell at the start: pushed out along the shallowest side, not left
        // with another cell's normal (the wall cell above comes first in the scan).
        {"swept, a hair inside a cell", {90, 119.999f, 10, 10}, true, {0, 5}, {true, 0, {0, 1}, 0}},
    };
    expectCases(tiles, cases);
}

TEST_F(ShapePairTestsTest, TileRangesTruncateTowardsZero) {
    const TileMapShape tiles(tileMapFromRows({"#."}));
    struct Case {
        fpRect rect;
        bool hit;
    };
    // Left of or above the grid: an edge at -39 or beyond finds no cell, an edge between
    // -39 and 0 still reaches column (row) 0, since -38.5 / 40 truncates to 0.
    const Case cases[] = {
        {{-79, 0, 40, 20}, false},
        {{-78.5f, 0, 40, 20}, true},
        {{-10, 0, 40, 20}, true},
        {{0, -79, 20, 40}, false},
        {{0, -78.5f, 20, 40}, true},
        {{NaN, 0, 20, 20}, false},
        {{0, NaN, 20, 20}, false},
        {{-3e38f, -3e38f, 1e38f, 1e38f}, false},
        {{-1e30f, -1e30f, 2e30f, 2e30f}, true},
        {{1e30f, 0, 1e30f, 20}, false},
        {{-std::numeric_limits<float>::infinity(), 0, 20, 20}, false},
    };
    for (const Case& c : cases) {
        RectShape mover(c.rect, false);
        ShapeTest test = testFor(mover, {0, 0});
        EXPECT_EQ(testShapePair(mover, tiles, test), c.hit) << c.rect.x << "," << c.rect.y;
    }
}

TEST_F(ShapePairTestsTest, EquallyNearCellsLeaveTheNormalToTheUpperLeftOne) {
    // Moving down and right, the cell to the right and the cell below are both 10 px away
    // on their axis; the upper row is visited first and gives the normal.
    struct Case {
        std::vector<std::string> rows;
        fpVector2 normal;
    };
    const Case cases[] = {
        {{".#", "#."}, {-1, 0}},
        {{"..", "#."}, {0, -1}},
    };
    for (const Case& c : cases) {
        const TileMapShape tiles(tileMapFromRows(c.rows));
        RectShape mover({0, 0, 20, 20}, true);
        mover.setPosition({10, 10});
        ShapeTest test = testFor(mover, {20, 20});
        ASSERT_TRUE(testShapePair(mover, tiles, test));
        EXPECT_NEAR(test.distance, 14.142136f, 1e-4f);
        EXPECT_EQ(test.normal, c.normal);
    }
}

TEST_F(ShapePairTestsTest, RectangleAgainstTheLevelBounds) {
    const BoundsShape bounds({0, 0, 100, 100});
    // Swept or not makes no difference here.
    const MoverCase cases[] = {
        {"partly outside: at the start, no normal", {-5, 10, 10, 10}, true, {20, 0}, {true, 0, {0, 0}, 0}},
        {"wholly inside, staying inside", {10, 10, 10, 10}, true, {20, 20}, {false, 0, {0, 0}, 0}},
        {"leaving on the left", {10, 10, 10, 10}, true, {-20, 0}, {true, 10, {1, 0}, 0}},
        {"leaving on the right", {80, 10, 10, 10}, true, {20, 0}, {true, 10, {-1, 0}, 0}},
        {"leaving at the top", {10, 10, 10, 10}, true, {0, -20}, {true, 10, {0, 1}, 0}},
        {"leaving at the bottom", {10, 80, 10, 10}, true, {0, 20}, {true, 10, {0, -1}, 0}},
        // Down and right: the bottom is reached at half the move, the right side later.
        {"the nearer border wins", {70, 80, 10, 10}, true, {30, 20}, {true, 18.027756f, {0, -1}, 0}},
        {"ending exactly on the border", {80, 10, 10, 10}, true, {10, 0}, {false, 0, {0, 0}, 0}},
    };
    expectCases(bounds, cases);
}

TEST_F(ShapePairTestsTest, BoxesTestTheirOwnEdges) {
    // A diamond with corners (50, 0), (100, 50), (50, 100) and (0, 50).
    const OBBShape diamond({50, 50}, {-50, 50}, {50, 0});
    struct Case {
        fpRect rect;
        bool hit;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, false},  // inside the bounds, outside the diamond
        {{85, 85, 10, 10}, false},
        {{45, 45, 10, 10}, true},
        {{0, 45, 10, 10}, true},    // over the left corner
        {{-20, 45, 10, 10}, false}, // beyond it
    };
    for (const Case& c : cases) {
        const RectShape rect(c.rect, false);
        ShapeTest forward = testFor(rect, {5, 5});
        EXPECT_EQ(testShapePair(rect, diamond, forward), c.hit) << c.rect.x << "," << c.rect.y;
        EXPECT_EQ(forward.distance, 0.0f);
        EXPECT_EQ(forward.normal, fpVector2());
        ShapeTest backward = testFor(diamond, {0, 0});
        EXPECT_EQ(testShapePair(diamond, rect, backward), c.hit) << c.rect.x << "," << c.rect.y;
    }
}

} // namespace
} // namespace zor::test
