#pragma once
// The cells of a level's tile layers and their tile types, as the simulation reads them.

#include "game/world/level/Level.h"
#include "game/world/level/TileType.h"

#include <cstdint>
#include <vector>

namespace zor {

struct MaterialDefinition;

// The word of cell (column, row) of a row-major grid `width` cells wide; the cell must lie
// inside the grid.
inline std::uint16_t* tileCellAt(std::vector<std::uint16_t>& tiles, std::int32_t width, std::int32_t column,
                                 std::int32_t row) {
    return &tiles[std::size_t(row) * std::size_t(width) + std::size_t(column)];
}

// The tile type of a cell of the main layer, from the level's own library. The cell must
// lie inside the layer and its type index inside the table.
const TileType& tileMaterialAt(const Level& level, std::int32_t column, std::int32_t row);
// The same for any cell: tile type 1 (solid) outside the layer or for a type index beyond
// the table; a table without type 1 gives a plain solid type.
const TileType& tileMaterialAtChecked(const Level& level, std::int32_t column, std::int32_t row);
// The material definition of a cell's tile type (tileMaterialAtChecked); a name no material
// has gives a plain material (no effects or sounds, the default regrowth time), and
// `registered`, when given, tells which it was.
const MaterialDefinition& tileMaterialDefinition(const Level& level, std::int32_t column, std::int32_t row,
                                                 bool* registered = nullptr);

} // namespace zor
