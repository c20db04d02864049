// Embedding ores and gems in the tiles of a level: by name, by depth, and the two
// scattering passes that end every slice.

#include <algorithm>

#include "Framework/core/math/IRandomizer.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/TileType.h"

namespace zor {

namespace {

constexpr int kTriesPerSliceResource = 100;

} // namespace

void LevelBuilder::placeResource(std::int32_t column, std::int32_t row, const std::string& name) {
    placeNamedResource(column, row, name, true);
}

void LevelBuilder::placeDepthResource(std::int32_t column, std::int32_t row, float bias, ResourceType type) {
    const Level& level = *m_level;
    const float position = float((double(level.startDepth) + double(level.resourceTierBias) + double(row)) /
                                     double(level.resourceTierLength) +
                                 double(bias));
    // What the table picks is placed as it is: a placeholder among the ores or gems would
    // otherwise be resolved again without end.
    placeNamedResource(column, row, m_resourceTable.pick(position, type, *m_randomizer, level.randomResources),
                       false);
}

void LevelBuilder::placeNamedResource(std::int32_t column, std::int32_t row, const std::string& name,
                                      bool resolvePlaceholder) {
    if (name.empty()) return;
    TileLayerGrid& layer = m_level->mainLayer();
    if (!layer.contains(column, row) || !inByteGrid(column, row)) return;
    const std::int32_t cell = m_level->cellIndex(column, row);
    CellRecord& record = m_level->cellRecords[cell];
    if (record.resourceIndex != 0 || m_reservedCells.count(cell) != 0) return;
    const auto index = m_sources.resources->nameIndex().find(name);
    if (index == m_sources.resources->nameIndex().end()) return;
    const ResourceDefinition& resource = *m_sources.resources->definitions()[std::size_t(index->second)];
    if (resource.spawnedResourceType != ResourceType::None) {
        if (resolvePlaceholder)
            placeDepthResource(column, row, resource.spawnedResourceDepthBias, resource.spawnedResourceType);
        return;
    }
    std::uint16_t& word = layer.at(column, row);
    const bool present = (*m_level->tileMap->cell(column, row) & TileBits::Solid) != 0;
    if (!present || tileTypeOf(word).has(TileType::Regrows)) return;
    record.resourceIndex = index->second + 1;
    word |= TileWord::HasCellRecord;
}

// Each item takes the first of up to 100 random cells that can be dug; an item that finds
// none gives up the rest of its count.
void LevelBuilder::placeSliceResources() {
    const iRect& r = m_sliceRect;
    for (const SliceResource& resource : m_currentSlice->resources)
        for (std::int32_t item = 0; item < resource.count; ++item) {
            bool placed = false;
            for (int attempt = 0; attempt < kTriesPerSliceResource && !placed; ++attempt) {
                const std::int32_t column = m_randomizer->nextIntRange(r.x, r.x + r.w);
                const std::int32_t row = m_randomizer->nextIntRange(r.y, r.y + r.h);
                if (!isDiggable(column, row)) continue;
                placeResource(column, row, resource.resource);
                placed = true;
            }
            if (!placed) break;
        }
}

// A chance in percent per diggable cell, growing linearly with the row.
void LevelBuilder::placeDensityResources() {
    const Level& level = *m_level;
    if (level.resourceDensityConstant == 0.0f || level.resourceDensityLinear == 0.0f) return;
    const iRect& r = m_sliceRect;
    for (std::int32_t row = std::max(r.y, level.resourceStartDepth); row < r.y + r.h; ++row) {
        const float density = level.resourceDensityLinear * float(row) + level.resourceDensityConstant;
        for (std::int32_t column = r.x; column < r.x + r.w; ++column) {
            if (!isDiggable(column, row)) continue;
            if (density >= m_randomizer->nextFloatScaled(100.0f))
                placeDepthResource(column, row, 0.0f, ResourceType::Ore);
        }
    }
}

} // namespace zor
