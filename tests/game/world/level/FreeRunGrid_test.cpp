// The free-run grid: how many free cells run to the right of each cell.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/world/level/FreeRunGrid.h"

namespace zor {
namespace {

std::vector<std::vector<std::int32_t>> cellsOf(const FreeRunGrid& grid) {
    std::vector<std::vector<std::int32_t>> rows;
    for (std::int32_t row = 0; row < grid.height(); ++row) {
        rows.emplace_back();
        for (std::int32_t column = 0; column < grid.width(); ++column) rows.back().push_back(grid.at(column, row));
    }
    return rows;
}

TEST(FreeRunGridTest, SpacingBlocksTheFirstRowsAndColumns) {
    struct Case {
        std::int32_t spacing;
        std::vector<std::vector<std::int32_t>> cells;
    };
    const Case cases[] = {
        {0, {{4, 3, 2, 1}, {4, 3, 2, 1}, {4, 3, 2, 1}}},
        {1, {{0, 0, 0, 0}, {0, 3, 2, 1}, {0, 3, 2, 1}}},
        {2, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 2, 1}}},
        {9, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        FreeRunGrid grid;
        grid.reset(4, 3, c.spacing);
        EXPECT_EQ(cellsOf(grid), c.cells) << "spacing " << c.spacing;
    }
}

TEST(FreeRunGridTest, MarkingShortensTheRunsFromTheLeft) {
    struct Case {
        std::int32_t x, y, w, h;
        std::vector<std::vector<std::int32_t>> cells;
    };
    const Case cases[] = {
        {3, 1, 2, 1, {{7, 6, 5, 4, 3, 2, 1}, {3, 2, 1, 0, 0, 2, 1}, {7, 6, 5, 4, 3, 2, 1}}},
        {0, 0, 1, 3, {{0, 6, 5, 4, 3, 2, 1}, {0, 6, 5, 4, 3, 2, 1}, {0, 6, 5, 4, 3, 2, 1}}},
        // Partly outside the grid: only the cells inside change.
        {5, -1, 4, 2, {{5, 4, 3, 2, 1, 0, 0}, {7, 6, 5, 4, 3, 2, 1}, {7, 6, 5, 4, 3, 2, 1}}},
        {-3, 2, 5, 9, {{7, 6, 5, 4, 3, 2, 1}, {7, 6, 5, 4, 3, 2, 1}, {0, 0, 5, 4, 3, 2, 1}}},
        // Wholly outside: nothing changes.
        {9, 0, 2, 2, {{7, 6, 5, 4, 3, 2, 1}, {7, 6, 5, 4, 3, 2, 1}, {7, 6, 5, 4, 3, 2, 1}}},
    };
    for (const Case& c : cases) {
        FreeRunGrid grid;
        grid.reset(7, 3, 0);
        grid.markOccupied(c.x, c.y, c.w, c.h);
        EXPECT_EQ(cellsOf(grid), c.cells) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }

    // A walk to the left stops where an earlier block already ends the run.
    FreeRunGrid grid;
    grid.reset(7, 1, 0);
    grid.markOccupied(2, 0, 1, 1);
    grid.markOccupied(5, 0, 1, 1);
    EXPECT_EQ(cellsOf(grid), (std::vector<std::vector<std::int32_t>>{{2, 1, 0, 2, 1, 0, 1}}));
}

TEST(FreeRunGridTest, RebuildBlocksWhereAskedAndCountsRunsFromTheRight) {
    FreeRunGrid grid;
    grid.rebuild(6, 2, [](std::int32_t column, std::int32_t row) { return column == 2 || (row == 1 && column == 5); });
    EXPECT_EQ(cellsOf(grid), (std::vector<std::vector<std::int32_t>>{{2, 1, 0, 3, 2, 1}, {2, 1, 0, 2, 1, 0}}));
}

} // namespace
} // namespace zor
