#pragma once
// A level's byte grid: one byte per 40 x 40 cell of the main tile layer, row-major.
// Bit value 1: a tile is present (solid for collision and digging); bit value 2: the
// player has seen the cell.

#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <vector>

namespace zor {

// The side of a cell in pixels: cell (x, y) covers pixels 40x to 40x + 40 and 40y to 40y + 40.
constexpr float TileSize = 40.0f;

namespace TileBits {
constexpr std::uint8_t Solid = 1;
constexpr std::uint8_t Seen = 2;
} // namespace TileBits

class PersistentTileMap {
public:
    struct RayHit {
        fpVector2 point;  // where the ray enters the cell
        iVector2 cell;
    };

    // Every cell `fill` (a negative size counts as 0).
    PersistentTileMap(std::int32_t width, std::int32_t height, std::uint8_t fill = 0);

    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }
    // The cell must lie inside the grid.
    std::uint8_t* cell(std::int32_t column, std::int32_t row) { return &m_data[std::size_t(column + row * m_width)]; }
    const std::uint8_t* cell(std::int32_t column, std::int32_t row) const {
        return &m_data[std::size_t(column + row * m_width)];
    }
    std::uint8_t* cellAt(const iVector2& cell) { return this->cell(cell.x, cell.y); }
    // The byte at (x, y), or the fallback outside the grid.
    std::uint8_t get(std::int32_t x, std::int32_t y, std::uint8_t fallback) const;
    const std::vector<std::uint8_t>& data() const { return m_data; }
    // The first solid cell along the ray, in cell units. The direction need not be a unit
    // vector: `length` counts multiples of it. Cells outside the grid are empty; the start
    // cell is tested first, and a ray starting on a border toward lower coordinates starts
    // in the lower cell. Returns false (and leaves `hit` alone) when nothing is hit.
    bool raycast(const fpVector2& start, const fpVector2& direction, float length, RayHit& hit) const;

private:
    std::vector<std::uint8_t> m_data;
    std::int32_t m_width;
    std::int32_t m_height;
};

} // namespace zor
