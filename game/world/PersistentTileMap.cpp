#include "game/world/PersistentTileMap.h"

#include <algorithm>

namespace zor {

PersistentTileMap::PersistentTileMap(std::int32_t width, std::int32_t height, std::uint8_t fill)
    : m_data(std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0)), fill),
      m_width(std::max(width, 0)),
      m_height(std::max(height, 0)) {}

std::uint8_t PersistentTileMap::get(std::int32_t x, std::int32_t y, std::uint8_t fallback) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return fallback;
    return m_data[std::size_t(x + y * m_width)];
}

} // namespace zor
