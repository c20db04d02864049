#include "tests/support/world/LevelRows.h"

#include <algorithm>

#include "game/world/level/TileType.h"

namespace zor::test {

namespace {

char symbolOf(std::uint16_t word) {
    static const char kSymbols[] = "_#rBMbS";
    if (word == TileWord::Unpainted) return '?';
    const std::size_t type = TileWord::typeIndex(word);
    return type < sizeof kSymbols - 1 ? kSymbols[type] : '*';
}

} // namespace

std::vector<std::string> layerRows(const TileLayerGrid& layer) {
    std::vector<std::string> rows;
    for (std::int32_t y = 0; y < layer.height; ++y) {
        std::string row;
        for (std::int32_t x = 0; x < layer.width; ++x) row += symbolOf(layer.at(x, y));
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> presentRows(const PersistentTileMap& grid) {
    std::vector<std::string> rows;
    for (std::int32_t y = 0; y < grid.height(); ++y) {
        std::string row;
        for (std::int32_t x = 0; x < grid.width(); ++x) row += (*grid.cell(x, y) & TileBits::Solid) ? '1' : '0';
        rows.push_back(row);
    }
    return rows;
}

std::size_t countTiles(const TileLayerGrid& layer, char symbol) {
    return std::size_t(std::count_if(layer.tiles.begin(), layer.tiles.end(),
                                     [&](std::uint16_t word) { return symbolOf(word) == symbol; }));
}

} // namespace zor::test
