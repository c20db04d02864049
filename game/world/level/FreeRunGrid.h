#pragma once
// Where patches still fit in a slice: for every cell of a rectangle, how many free cells
// run from it to the right (the cell itself included); 0 for a blocked cell. A footprint
// of width w fits at a column when every row it covers holds at least w there.

#include <cstdint>
#include <vector>

namespace zor {

class FreeRunGrid {
public:
    // Every cell free up to the right edge, except the first `spacing` rows and columns.
    void reset(std::int32_t width, std::int32_t height, std::int32_t spacing);
    // Free where `blocked(column, row)` is false, run by run from the right edge.
    template <class Blocked>
    void rebuild(std::int32_t width, std::int32_t height, Blocked blocked) {
        resize(width, height);
        for (std::int32_t row = 0; row < m_height; ++row) {
            std::int32_t run = 0;
            for (std::int32_t column = m_width - 1; column >= 0; --column) {
                run = blocked(column, row) ? 0 : run + 1;
                m_cells[index(column, row)] = run;
            }
        }
    }

    // Blocks the rectangle and shortens the runs that reached into it from the left. Cells
    // outside the grid are left alone.
    void markOccupied(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);

    bool contains(std::int64_t column, std::int64_t row) const {
        return column >= 0 && row >= 0 && column < m_width && row < m_height;
    }
    // The cell must lie inside the grid.
    std::int32_t at(std::int64_t column, std::int64_t row) const { return m_cells[index(column, row)]; }
    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }

private:
    void resize(std::int32_t width, std::int32_t height);
    std::size_t index(std::int64_t column, std::int64_t row) const { return std::size_t(row * m_width + column); }

    std::vector<std::int32_t> m_cells;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
};

} // namespace zor
