#pragma once
// The tiles of a level's byte grid as the save file packs them: row by row into 32-bit
// words, each holding trunc(32 / bits) tiles from bit 0 up, the unused high bits 0.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zor {

class PersistentTileMap;

namespace TileWords {

// The width the writer packs: the solid and seen bits.
constexpr std::uint32_t WrittenBits = 2;

// Words a grid of `tiles` tiles takes at `bits` (1 to 8) per tile.
std::size_t wordCount(std::size_t tiles, std::uint32_t bits);

// The grid at WrittenBits per tile: the low two bits of each byte.
std::vector<std::uint32_t> pack(const PersistentTileMap& map);

// Fills the grid from `words` (at least wordCount of its tiles) at `bits` per tile.
void unpack(const std::vector<std::uint32_t>& words, std::uint32_t bits, PersistentTileMap& map);

} // namespace TileWords

} // namespace zor
