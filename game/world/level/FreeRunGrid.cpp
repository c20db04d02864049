#include "game/world/level/FreeRunGrid.h"

#include <algorithm>

namespace zor {

void FreeRunGrid::resize(std::int32_t width, std::int32_t height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_cells.assign(std::size_t(m_width) * std::size_t(m_height), 0);
}

void FreeRunGrid::reset(std::int32_t width, std::int32_t height, std::int32_t spacing) {
    rebuild(width, height,
            [spacing](std::int32_t column, std::int32_t row) { return row < spacing || column < spacing; });
}

void FreeRunGrid::markOccupied(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    const std::int64_t firstRow = std::max<std::int64_t>(y, 0);
    const std::int64_t endRow = std::min<std::int64_t>(std::int64_t(y) + h, m_height);
    const std::int64_t firstColumn = std::max<std::int64_t>(x, 0);
    const std::int64_t endColumn = std::min<std::int64_t>(std::int64_t(x) + w, m_width);
    for (std::int64_t row = firstRow; row < endRow; ++row) {
        for (std::int64_t column = firstColumn; column < endColumn; ++column) m_cells[index(column, row)] = 0;
        for (std::int64_t column = std::min<std::int64_t>(std::int64_t(x) - 1, m_width - 1); column >= 0; --column) {
            const std::int64_t distance = x - column;
            std::int32_t& cell = m_cells[index(column, row)];
            if (cell <= distance) break;
            cell = std::int32_t(distance);
        }
    }
}

} // namespace zor
