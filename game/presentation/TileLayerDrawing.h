#pragma once
// Draws one tile layer of a level into the world quads: a quad per visible cell from its
// tile word (mirror and quarter-turn bits applied), cells outside the layer from a border
// tile list, and for the main layer the fringes over its cells' edges and the resource and
// vein overlays of cells that hold a resource.

#include "Framework/core/math/Rect.h"

#include <cstdint>
#include <vector>

namespace zor {
struct Level;
struct TileLayerGrid;
} // namespace zor

namespace zor::presentation {

struct TileLayerRecords;
class WorldQuads;

// A rectangle of cells; empty when either count is 0.
struct CellRect {
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::int32_t columns = 0;
    std::int32_t rows = 0;
};

// The cells of `layer` that the view rectangle (world pixels) shows at the layer's depth,
// grown by `margin` cells; with `clamp`, cut to the layer.
CellRect visibleCells(const TileLayerGrid& layer, const fpRect& view, float virtualWidth, std::int32_t margin,
                      bool clamp);

// Whether the player may see the main layer's cell (a linear index of the byte grid).
bool isCellRevealed(const Level& level, std::int32_t cell);
// The main layer's tile word as shown: a hidden type's unexplored cell shows tile 0.
std::uint16_t shownTileWord(const Level& level, std::int32_t cell);

// Where and how a layer is drawn this frame.
struct TileLayerView {
    fpRect view;         // the render camera's visible rectangle, world pixels
    float virtualWidth;  // of the current viewport
    float viewUnit;      // 1 / the visible area's width
};

void drawTileLayer(WorldQuads& quads, const Level& level, const TileLayerGrid& layer,
                   const TileLayerRecords& records, const TileLayerView& view);

// The cell hash that picks a resource cell's vein: the same cell, the same vein.
std::uint32_t veinHash(std::uint32_t column, std::uint32_t row);

} // namespace zor::presentation
