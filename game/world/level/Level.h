#pragma once
// One level while it is played: its description followed by everything the level builder
// generates from it — tile layers, the byte grid, per-cell records, camera lines and the
// records that placed patches bring along, moved to level coordinates. Cell (x, y) is a
// cell of the main layer (layer 0), x to the right, y downward, row 0 at the top.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Framework/core/math/Segment.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/level/LevelDefinition.h"
#include "game/world/level/PatchSet.h"

namespace zor {

struct PatchLibraryTables;

// One tile layer: width x height tile words, row-major. A layer of scale s has one cell
// per s x s level cells.
struct TileLayerGrid {
    std::vector<std::uint16_t> tiles;
    std::int32_t width = 0;
    std::int32_t height = 0;
    float depth = 0.0f;      // the layer's index
    std::int32_t scale = 1;  // level cells per layer cell

    bool contains(std::int32_t column, std::int32_t row) const {
        return column >= 0 && row >= 0 && column < width && row < height;
    }
    // The cell must lie inside the layer.
    std::uint16_t& at(std::int32_t column, std::int32_t row) {
        return tiles[std::size_t(row) * std::size_t(width) + std::size_t(column)];
    }
    std::uint16_t at(std::int32_t column, std::int32_t row) const {
        return tiles[std::size_t(row) * std::size_t(width) + std::size_t(column)];
    }
};

// What a cell carries besides its tile word; a cell with a record has bit 15 of its tile
// word set once something is attached.
struct CellRecord {
    std::int32_t tileDamageId = 0;   // entity id of the cell's TileDamage, 0 for none
    std::int32_t resourceIndex = 0;  // 1-based in the resource registry's order, 0 for none
};

// An entry point of the level, in pixels.
struct LevelMarker {
    float x = 0.0f;
    float y = 0.0f;
    bool facesRight = false;
};

struct Level : LevelDefinition {
    // The town on the surface, where no return point is kept.
    static constexpr const char* TownName = "shalebury";

    Level() = default;
    explicit Level(std::string levelName) { name = std::move(levelName); }

    // Index of cell (x, y) in the byte grid and in cellRecords.
    std::int32_t cellIndex(std::int32_t column, std::int32_t row) const {
        return row * (layers.empty() ? width : layers.front().width) + column;
    }
    // Layer 0; a generated level always has it.
    TileLayerGrid& mainLayer() { return layers.front(); }
    const TileLayerGrid& mainLayer() const { return layers.front(); }

    // The lines every slice's clamps give, in pixels.
    std::vector<fpSegment> cameraClamps;
    std::vector<TileLayerGrid> layers;
    // The records below are those of the placed patches, in pixels of the level. The
    // level flow turns them into World entities, shapes and script nodes; records refer to
    // one another by (id, placement number).
    std::vector<PatchTransformObject> transformObjects;
    std::vector<PatchPointObject> pointObjects;
    std::map<std::string, std::vector<LevelMarker>> markers;
    std::map<std::string, std::vector<PatchExit>> exits;
    std::vector<PatchEntity> actorPlacements;     // by y, largest first
    std::vector<PatchEntity> resourcePlacements;  // by y, largest first
    std::vector<PatchGraphNode> graphNodes;
    std::vector<PatchTypedObject> typedObjects;
    std::unordered_map<std::int32_t, CellRecord> cellRecords;
    std::shared_ptr<PersistentTileMap> tileMap = std::make_shared<PersistentTileMap>(0, 0);
    // The library the level was built from: its tile types describe the tile words.
    std::shared_ptr<const PatchLibraryTables> library;
};

} // namespace zor
