#pragma once
// Levels as text for tests: one string per row of a tile layer, a character per cell by
// its tile type (the fixture types: _ empty, # dirt, r rubble, B bedrock, M moss, b back,
// S stone; ? unpainted, * any other type), and the byte grid's present bits as '1'/'0'.

#include <string>
#include <vector>

#include "game/world/level/Level.h"

namespace zor::test {

std::vector<std::string> layerRows(const TileLayerGrid& layer);
std::vector<std::string> presentRows(const PersistentTileMap& grid);
// How many cells of the layer have the tile type of `symbol`.
std::size_t countTiles(const TileLayerGrid& layer, char symbol);

} // namespace zor::test
