#include "game/world/PersistentTileMap.h"

#include <algorithm>
#include <cmath>

namespace zor {

PersistentTileMap::PersistentTileMap(std::int32_t width, std::int32_t height, std::uint8_t fill)
    : m_data(std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0)), fill),
      m_width(std::max(width, 0)),
      m_height(std::max(height, 0)) {}

std::uint8_t PersistentTileMap::get(std::int32_t x, std::int32_t y, std::uint8_t fallback) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return fallback;
    return m_data[std::size_t(x + y * m_width)];
}

namespace {

float signOf(float value) { return value > 0.0f ? 1.0f : (value < 0.0f ? -1.0f : 0.0f); }

// The next cell border along one axis; a +0 component counts as positive so that a ray
// parallel to an axis reaches that axis's border only after an infinite distance.
float nextBorder(float position, float component) {
    return std::copysign(1.0f, component) > 0.0f ? std::floor(position + 1.0f) : std::ceil(position - 1.0f);
}

std::int32_t startCell(float position, float component) {
    const float whole = std::floor(position);
    auto cell = std::int32_t(whole);
    if (component < 0.0f && whole == position) --cell;
    return cell;
}

} // namespace

bool PersistentTileMap::raycast(const fpVector2& start, const fpVector2& direction, float length,
                                RayHit& hit) const {
    const float invX = 1.0f / direction.x;
    const float invY = 1.0f / direction.y;
    const auto stepX = std::int32_t(signOf(direction.x));
    const auto stepY = std::int32_t(signOf(direction.y));
    float px = start.x;
    float py = start.y;
    float remaining = length;
    std::int32_t column = startCell(px, direction.x);
    std::int32_t row = startCell(py, direction.y);
    while (remaining > 0.0f) {
        if (get(column, row, 0) & TileBits::Solid) {
            hit.point = fpVector2(px, py);
            hit.cell = iVector2(column, row);
            return true;
        }
        const float nextX = nextBorder(px, direction.x);
        const float nextY = nextBorder(py, direction.y);
        const float dX = (nextX - px) * invX;
        const float dY = (nextY - py) * invY;
        if (dY > dX) {
            column += stepX;
            px = nextX;
            py += dX * direction.y;
            remaining -= dX;
        } else if (dX > dY) {
            row += stepY;
            py = nextY;
            px += dY * direction.x;
            remaining -= dY;
        } else {
            column += stepX;
            row += stepY;
            px = nextX;
            py = nextY;
            remaining -= dY;
        }
    }
    return false;
}

} // namespace zor
