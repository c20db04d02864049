#include "game/world/physics/Shapes.h"

#include <cassert>
#include <cmath>
#include <utility>

namespace zor {

TileMapShape::TileMapShape(std::shared_ptr<PersistentTileMap> grid)
    : AbstractShape(ShapeType::TileMap), m_grid(std::move(grid)) {
    assert(m_grid && "a tile-map shape needs its grid");
}

fpRect TileMapShape::getBounds() const {
    return {0.0f, 0.0f, float(m_grid->width()) * TileSize, float(m_grid->height()) * TileSize};
}

OBBShape::OBBShape(const fpVector2& edge1, const fpVector2& edge2, const fpVector2& origin)
    : AbstractShape(ShapeType::OrientedBox), origin(origin), edge1(edge1), edge2(edge2) {
    const float width = std::fabs(edge1.x) + std::fabs(edge2.x);
    const float height = std::fabs(edge1.y) + std::fabs(edge2.y);
    bounds = {origin.x + (edge1.x + edge2.x - width) / 2.0f, origin.y + (edge1.y + edge2.y - height) / 2.0f, width,
              height};
}

} // namespace zor
