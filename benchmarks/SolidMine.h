#pragma once
// A harness game's level replaced by a mine of the benchmark's size, and refilled solid
// between passes: bedrock round the border, inside a ground tile drawn from `ground`, one
// cell in 25 holding ore. Objects other than the player are cleared away first.

#include "game/definitions/ResourceDefinition.h"
#include "game/world/World.h"
#include "game/world/level/TileType.h"

#include "Framework/core/math/Randomizer.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace zor::bench {

// Tile types of the fixture library.
constexpr std::uint16_t Dirt = 1;
constexpr std::uint16_t Bedrock = 3;
constexpr std::uint16_t Moss = 4;
constexpr std::uint16_t Rubble = 6;

inline Level& installEmptyMine(World& world, const char* name, std::int32_t columns, std::int32_t rows) {
    auto level = std::make_shared<Level>(name);
    level->library = world.level->library;
    level->width = columns;
    level->height = rows;
    TileLayerGrid& tiles = level->layers.emplace_back();
    tiles.width = columns;
    tiles.height = rows;
    tiles.tiles.assign(std::size_t(columns * rows), 0);
    level->tileMap = std::make_shared<PersistentTileMap>(columns, rows);
    world.level = level;
    return *level;
}

inline void fillSolidMine(World& world, Randomizer random, std::initializer_list<std::uint16_t> ground) {
    for (const auto& entry : world.gameObjects())
        if (entry.second != world.player()) world.removeEntity(entry.second);
    world.processRemovals();
    world.soundRequests.clear();
    Level& level = *world.level;
    level.cellRecords.clear();
    const std::vector<std::uint16_t> kinds(ground);
    const std::int32_t ore = resourceRegistry().nameIndex().at("ore") + 1;
    for (std::int32_t row = 0; row < level.height; ++row) {
        for (std::int32_t column = 0; column < level.width; ++column) {
            const bool border = row == 0 || row == level.height - 1 || column == 0 || column == level.width - 1;
            std::uint16_t word = border ? Bedrock : kinds[random.nextIndex(std::uint32_t(kinds.size()))];
            if (!border && random.nextIndex(25) == 0) {
                level.cellRecords[level.cellIndex(column, row)].resourceIndex = ore;
                word |= TileWord::HasCellRecord;
            }
            level.mainLayer().at(column, row) = word;
            *level.tileMap->cell(column, row) = TileBits::Solid;
        }
    }
}

} // namespace zor::bench
