#include "game/world/level/PatchLibraryCursor.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

namespace {

constexpr std::size_t kTileTypeBytes = 13;

TileType readTileType(PatchLibraryCursor& in) {
    TileType type;
    type.texture = in.name();
    type.edgeTexture = in.name();
    type.secondEdgeTexture = in.name();
    type.material = in.name();
    type.flags = in.u8();
    type.requiredTier = in.u8();
    type.hardnessBase = in.u8();
    type.hardnessStep = in.u8();
    type.openSide = in.u8();
    return type;
}

} // namespace

void readTileSection(ByteReader& reader, const StringTable& strings, PatchLibraryTables& tables) {
    PatchLibraryCursor in(reader, strings, "tile section");
    tables.tileTypes.clear();
    tables.tileSets.clear();
    if (in.atEnd()) return;
    const std::uint16_t typeCount = in.u16();
    in.requireRecords(typeCount, kTileTypeBytes);
    tables.tileTypes.reserve(typeCount);
    for (std::uint16_t i = 0; i < typeCount; ++i) {
        in.setRecord("tile type " + std::to_string(i));
        tables.tileTypes.push_back(readTileType(in));
    }

    in.setRecord("");
    if (in.atEnd()) return;
    const std::uint16_t setCount = in.u16();
    for (std::uint16_t i = 0; i < setCount; ++i) {
        in.setRecord("tile set " + std::to_string(i));
        const std::string name = in.name();
        in.setRecord("tile set " + quoted(name));
        auto set = std::make_shared<TileSetDefinition>();
        set->tiles = in.u16Array(in.u16());
        in.checkTileWords(set->tiles, tables.tileTypes.size(), false);
        if (!set->tiles.empty())
            tables.tileSets[name] = std::move(set);
    }
}

} // namespace zor
