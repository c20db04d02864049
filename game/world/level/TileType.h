#pragma once
// The tile types and tile sets of the patch library. A cell's tile word selects its tile
// type by its low 11 bits; the other bits mirror and turn the texture (11 to 13), keep a
// patch's tile out of the byte grid (14) and mark a cell with a cell record (15).

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

namespace TileWord {
constexpr std::uint16_t TypeMask = 0x07FF;
constexpr std::uint16_t MirrorX = 0x0800;
constexpr std::uint16_t MirrorY = 0x1000;
constexpr std::uint16_t QuarterTurn = 0x2000;
// A patch's tile that does not count as present in the byte grid (shown while unexplored).
constexpr std::uint16_t NotPresent = 0x4000;
constexpr std::uint16_t HasCellRecord = 0x8000;
// A cell the level builder has not painted yet.
constexpr std::uint16_t Unpainted = 0xFFFF;
// A cell the level builder carved; it becomes tile 0 when the slice is filled.
constexpr std::uint16_t Carved = 2;

constexpr std::uint16_t typeIndex(std::uint16_t word) { return word & TypeMask; }
} // namespace TileWord

struct TileType {
    enum Flag : std::uint8_t {
        Solid = 0x01,
        BreaksAtFirstHit = 0x08,   // not for pressure or weak damage
        BreaksUnderPressure = 0x10,
        OneSided = 0x20,           // dug only from openSide
        Regrows = 0x40,
        NoWallSlide = 0x80,
    };

    std::string texture;
    std::string edgeTexture;        // base name of the "_n", "_w", ... edge family
    std::string secondEdgeTexture;
    std::string material;           // a MaterialDefinition name
    std::uint8_t flags = 0;
    std::int32_t requiredTier = 0;  // 0 makes a solid tile indestructible
    std::int32_t hardnessBase = 0;
    std::int32_t hardnessStep = 0;
    std::int32_t openSide = 0;      // 0 to 3, for OneSided tiles

    bool has(Flag flag) const { return (flags & flag) != 0; }
    bool isSolid() const { return has(Solid); }
    bool isIndestructible() const { return isSolid() && requiredTier < 1; }
    // Whether digging from `side` (0 to 3) may touch the tile at all.
    bool canBeDugFrom(std::int32_t side) const { return !has(OneSided) || side == openSide; }
};

// Tile words, in the order generated terrain draws from them.
struct TileSetDefinition {
    std::vector<std::uint16_t> tiles;
};

} // namespace zor
