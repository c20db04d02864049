// The light: how far one step reveals, what stops it, where the window lies, the player's
// own cell, and the secret announcement with its cooldown.

#include "tests/game/simulation/light/LightFixture.h"

#include <cmath>
#include <limits>

namespace zor::test {
namespace {

using Rows = std::vector<std::string>;

TEST_F(LightTest, OneStepLightsStraightRunsAndTurnsFromRowsIntoColumns) {
    struct Case {
        const char* what;
        Rows level;
        int steps;
        Rows lit;
    };
    const Case cases[] = {
        {"a corridor out of the player, up to the first solid cell",
         {"############", "############", "############", "#..P....#..#", "############", "############",
          "############", "############"},
         1,
         {"############", "############", "############", "#ooooooo#..#", "############", "############",
          "############", "############"}},
        {"a corridor up to the window's edge, nothing beyond",
         {"############", "############", "############", "...P........", "############", "############",
          "############", "############"},
         1,
         {"############", "############", "############", ".oooooooooo.", "############", "############",
          "############", "############"}},
        {"sideways, then up: all of it in one step",
         {"############", "########.###", "########.###", "########.###", "########.###", "###P.....###",
          "############", "############"},
         1,
         {"############", "########o###", "########o###", "########o###", "########o###", "###oooooo###",
          "############", "############"}},
        {"up, then sideways: up to the turn in one step",
         {"############", "############", "###......###", "###.########", "###.########", "###P########",
          "############", "############"},
         1,
         {"############", "############", "###o.....###", "###o########", "###o########", "###o########",
          "############", "############"}},
        {"up, then sideways: beyond the turn in the next",
         {"############", "############", "###......###", "###.########", "###.########", "###P########",
          "############", "############"},
         2,
         {"############", "############", "###oooooo###", "###o########", "###o########", "###o########",
          "############", "############"}},
        {"a solid cell keeps the far side dark, however long",
         {"############", "############", "############", "#..P.#.....#", "############", "############",
          "############", "############"},
         20,
         {"############", "############", "############", "#oooo#.....#", "############", "############",
          "############", "############"}},
        {"a winding way round the wall fills in step by step",
         {"############", "############", "#..........#", "#.########.#", "#P#........#", "############",
          "############", "############"},
         3,
         {"############", "############", "#oooooooooo#", "#o########o#", "#o#oooooooo#", "############",
          "############", "############"}},
        {"a seen cell away from the player (and without one) spreads its light",
         {"############", "############", "##..*...####", "############", "##.####*####", "##.####.####",
          "############", "############"},
         1,
         {"############", "############", "##oooooo####", "############", "##.####o####", "##.####o####",
          "############", "############"}},
        // A wall grown over a seen cell.
        {"a solid cell passes on its own seen state",
         {"############", "############", "##@.....####", "############", "############", "############",
          "############", "############"},
         1,
         {"############", "############", "##@ooooo####", "############", "############", "############",
          "############", "############"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        load(c.level);
        for (int i = 0; i < c.steps; ++i) step();
        EXPECT_EQ(picture(), c.lit);
    }
    EXPECT_EQ(announced, 0);
}

// With the 640 x 360 units of the game, the window is 24 x 18 cells: 12 columns left of the
// view's centre cell and 11 right of it, 9 rows above and 8 below, clamped to the level.
TEST_F(LightTest, TheWindowSpans24By18CellsAroundTheView) {
    setViewport(640.0f, 360.0f);
    struct Case {
        std::int32_t column;
        std::int32_t row;
        std::int32_t firstColumn;
        std::int32_t endColumn;
        std::int32_t firstRow;
        std::int32_t endRow;
    };
    const Case cases[] = {
        {30, 20, 18, 42, 11, 29},
        {2, 1, 0, 14, 0, 10},
        {59, 39, 47, 60, 30, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + ", " + std::to_string(c.row));
        Rows level(40, std::string(60, '.'));
        level[std::size_t(c.row)][std::size_t(c.column)] = '*';
        load(level);
        lookAt(c.column, c.row);
        step();
        // Every cell of the window is lit, as one run along the centre row and then the
        // columns reach them all; nothing outside is.
        const Rows lit = picture();
        for (std::int32_t row = 0; row < 40; ++row)
            for (std::int32_t column = 0; column < 60; ++column) {
                const bool inside = column >= c.firstColumn && column < c.endColumn && row >= c.firstRow &&
                                    row < c.endRow;
                ASSERT_EQ(lit[std::size_t(row)][std::size_t(column)], inside ? 'o' : '.') << column << ", " << row;
            }
    }
}

TEST_F(LightTest, ThePlayersCellIsLitOnlyInsideTheLevelAndWhenOpen) {
    const Rows level = {"############", "############", "############", "....#.......", "############",
                        "############", "############", "############"};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        fpVector2 centre;
        const char* row;  // row 3 afterwards
    };
    const Case cases[] = {
        {"in the corridor", {140, 140}, ".ooo#......."},
        // Its own cell is marked even outside the window, from which nothing spreads.
        {"in the cell left of the window", {20, 140}, "o...#......."},
        {"half a cell left of the level", {-20, 140}, "....#......."},
        {"in a solid cell", {180, 140}, "....#......."},
        {"far away", {1.0e30f, 140}, "....#......."},
        {"nowhere", {nan, nan}, "....#......."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        load(level);
        placePlayerCentre(c.centre);
        step();
        EXPECT_EQ(picture()[3], c.row);
    }
}

TEST_F(LightTest, AZeroViewportMarksNothingButTheCooldownRuns) {
    load({"############", "############", "##S*########", "############", "#..P..#S...#", "############",
          "############", "############"});
    step();
    ASSERT_EQ(announced, 1);

    setViewport(0.0f, 0.0f);
    *world.level->tileMap->cell(6, 4) &= std::uint8_t(~TileBits::Solid);
    placePlayer(9, 4);
    const Rows before = picture();
    for (int i = 0; i < 3; ++i) step(1.0f);
    EXPECT_EQ(picture(), before) << "not even the player's cell";
    EXPECT_EQ(announced, 1);

    // The cooldown ran out meanwhile: the next secret is announced at once.
    setViewport(280.0f, 120.0f);
    step();
    EXPECT_EQ(picture()[4], "#oooooosooo#");
    EXPECT_EQ(announced, 2);
}

TEST_F(LightTest, SecretsWithin3SecondsAreAnnouncedOnce) {
    // Each secret waits behind a wall, opened in turn.
    load({"############", "############", "##S.P#S#S###", "############", "############", "############",
          "############", "############"});
    const auto open = [&](std::int32_t column) {
        *world.level->tileMap->cell(column, 2) &= std::uint8_t(~TileBits::Solid);
    };
    step();
    EXPECT_EQ(picture()[2], "##soo#S#S###");
    EXPECT_EQ(announced, 1);

    open(5);
    step(1.0f);
    EXPECT_EQ(picture()[2], "##sooos#S###");
    EXPECT_EQ(announced, 1) << "1 s after the first";
    step(1.0f);
    EXPECT_EQ(announced, 1) << "revealed, and never announced later";

    // The LightSimulator of the next level shares the cooldown.
    LightSimulator next(world);
    int announcedNext = 0;
    const EventConnection nextConnection = next.secretFound.connect(&announcedNext, [](int* count) { ++*count; });
    UpdateRecord halfSecond;
    halfSecond.stepLength = 0.5f;
    open(7);
    next.update(halfSecond);
    EXPECT_EQ(picture()[2], "##sooosos###");
    EXPECT_EQ(announcedNext, 0) << "2.5 s after the first";

    open(9);
    open(10);
    world.level->mainLayer().at(10, 2) |= TileWord::NotPresent;
    next.update(halfSecond);
    EXPECT_EQ(picture()[2], "##sooososos#");
    EXPECT_EQ(announcedNext, 1) << "3 s after the first";
    EXPECT_EQ(announced, 1);
}

TEST_F(LightTest, ASweepStepMarksOpenCellsAfterSeenOnes) {
    struct Case {
        const char* what;
        bool seen;
        std::uint8_t cell;
        std::uint16_t tile;
        bool seenAfter;
        std::uint8_t cellAfter;
        bool secret;
    };
    constexpr std::uint8_t Solid = TileBits::Solid;
    constexpr std::uint8_t Seen = TileBits::Seen;
    constexpr std::uint16_t Hidden = TileWord::NotPresent | 5;
    const Case cases[] = {
        {"open, after a seen cell", true, 0, 5, true, Seen, false},
        {"a secret, after a seen cell", true, 0, Hidden, true, Seen, true},
        {"a secret seen before", true, Seen, Hidden, true, Seen, false},
        {"solid, after a seen cell", true, Solid, 5, false, Solid, false},
        {"solid and seen", true, Solid | Seen, 5, true, Solid | Seen, false},
        {"a seen cell starts a run", false, Seen, 5, true, Seen, false},
        {"open, after a dark cell", false, 0, Hidden, false, 0, false},
        {"solid and seen, after a dark cell", false, Solid | Seen, 5, true, Solid | Seen, false},
    };
    PersistentTileMap grid(2, 1);
    TileLayerGrid tiles;
    tiles.width = 2;
    tiles.height = 1;
    tiles.tiles = {0, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        *grid.cell(1, 0) = c.cell;
        tiles.at(1, 0) = c.tile;
        bool seen = c.seen;
        EXPECT_EQ(markCellSeen(grid, 0, seen, 1, tiles), c.secret);
        EXPECT_EQ(seen, c.seenAfter);
        EXPECT_EQ(*grid.cell(1, 0), c.cellAfter);
    }
    // A tile layer smaller than the grid holds no secret there.
    TileLayerGrid narrow = tiles;
    narrow.width = 1;
    narrow.tiles = {Hidden};
    *grid.cell(1, 0) = 0;
    bool seen = true;
    EXPECT_FALSE(markCellSeen(grid, 0, seen, 1, narrow));
    EXPECT_EQ(*grid.cell(1, 0), Seen);
}

} // namespace
} // namespace zor::test
