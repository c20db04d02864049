#pragma once
// ASCII grids of patch tile layers and resource grids, one text row per row of cells, and
// the legends that give their characters a meaning. '.' is always the empty cell: an
// unpainted tile (0xFFFF) in a layer, no resource in a resource grid.

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/patch_compiler/compiler/SourceDocument.h"

namespace zor {

struct Legend {
    std::map<char, std::uint16_t> tiles;      // character -> tile word
    std::map<char, std::uint16_t> resources;  // character -> 1-based resource index
};

// What legend entries may name: tile types and resources by name.
struct LegendNames {
    const std::unordered_map<std::string, std::uint16_t>& tileTypes;  // name -> tile index
    const std::vector<std::string>& resources;                       // registry order
};

// `outer` with the <Tile> and <Resource> entries of every <Legend> among `elements` added;
// an entry replaces an earlier entry of its character.
Legend extendLegend(const Legend& outer, const SourceDocument& document, const std::vector<pugi::xml_node>& elements,
                    const LegendNames& names);

// The cells of a grid element, rows x columns, row-major, through `cellOf`; blank lines and
// the blanks around a row are ignored. Errors name the line of the offending row.
std::vector<std::uint16_t> readGrid(const SourceElement& element, int rows, int columns,
                                    const std::map<char, std::uint16_t>& legend, std::uint16_t emptyCell,
                                    const char* what);

} // namespace zor
