// Writing a placed copy of a patch into the level: its tile layers, its resource grid with
// the byte-grid rules of placed patches, and its object records moved to the copy's place.
// Copies at a fixed position may reach beyond their slice: tiles and cells outside the
// slice's rows or the level are dropped, because the slices above are finished (filled,
// their byte grid and resources set) and the slices below would build over them.

#include <algorithm>

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/TileType.h"

namespace zor {

void LevelBuilder::copyPatchLayer(std::size_t layerIndex, const Patch& patch, iVector2 origin) {
    if (layerIndex >= m_level->layers.size()) return;
    TileLayerGrid& layer = m_level->layers[layerIndex];
    const PatchSet::TileLayer& source = *patch.tileLayers[layerIndex];
    const std::int32_t scale = std::max(source.scale, 1);
    const std::int32_t rows = patch.height / scale;
    const std::int32_t columns = patch.width / scale;
    const std::int32_t left = (m_innerRect.x + origin.x) / scale;
    const std::int32_t top = (m_innerRect.y + origin.y) / scale;
    const std::int32_t firstRow = m_sliceRect.y / layer.scale;
    const std::int32_t endRow = firstRow + m_sliceRect.h / layer.scale;
    for (std::int32_t row = std::max(0, firstRow - top); row < std::min(rows, endRow - top); ++row)
        for (std::int32_t column = 0; column < columns; ++column) {
            const std::uint16_t word = source.tiles[std::size_t(row) * columns + column];
            if (!layer.contains(left + column, top + row)) continue;
            if (layerIndex == 0)
                overwriteMainTile(left + column, top + row, word);
            else
                layer.at(left + column, top + row) = word;
        }
}

void LevelBuilder::copyPatchResources(const Patch& patch, iVector2 origin) {
    const std::int32_t x0 = m_innerRect.x + origin.x;
    const std::int32_t y0 = m_innerRect.y + origin.y;
    const bool resetEarth = m_level->resetEarth;
    TileLayerGrid& layer = m_level->mainLayer();
    const auto& resources = m_sources.resources->definitions();
    const auto eachCell = [&](auto visit) {
        const std::int32_t firstRow = std::max(0, m_sliceRect.y - y0);
        const std::int32_t endRow = std::min(patch.height, m_sliceRect.y + m_sliceRect.h - y0);
        for (std::int32_t u = firstRow; u < endRow; ++u)
            for (std::int32_t i = 0; i < patch.width; ++i)
                if (layer.contains(x0 + i, y0 + u) && inByteGrid(x0 + i, y0 + u)) visit(i, u, x0 + i, y0 + u);
    };
    if (patch.resourceGrid) {
        eachCell([&](std::int32_t i, std::int32_t u, std::int32_t x, std::int32_t y) {
            const std::uint16_t value = patch.resourceGrid->cells[std::size_t(u) * patch.width + i];
            std::uint16_t& word = layer.at(x, y);
            if (value == 0 || (word & TileWord::NotPresent) || value > resources.size()) {
                if (resetEarth) setPresent(x, y, true);
                return;
            }
            const ResourceDefinition& resource = *resources[value - 1];
            if (resource.spawnedResourceType != ResourceType::None) {
                placeDepthResource(x, y, resource.spawnedResourceDepthBias, resource.spawnedResourceType);
            } else if (!resource.tileTexture.empty()) {
                // An ore in the tile: a cell dug out on an earlier visit keeps no ore.
                const bool present = (*m_level->tileMap->cell(x, y) & TileBits::Solid) != 0;
                if (present && !tileTypeOf(word).has(TileType::Regrows)) {
                    m_level->cellRecords[m_level->cellIndex(x, y)].resourceIndex = value;
                    word |= TileWord::HasCellRecord;
                }
            } else {
                m_reservedCells.insert(m_level->cellIndex(x, y));
                if (resetEarth) setPresent(x, y, true);
            }
        });
    } else if (resetEarth) {
        eachCell([&](std::int32_t, std::int32_t, std::int32_t x, std::int32_t y) { setPresent(x, y, true); });
    }
    eachCell([&](std::int32_t, std::int32_t, std::int32_t x, std::int32_t y) {
        if (layer.at(x, y) & TileWord::NotPresent) setPresent(x, y, false);
    });
}

void LevelBuilder::copyPatchObjects(float px, float py) {
    const Patch& patch = *m_currentPatch;
    Level& level = *m_level;
    const fpMatrix4 moved = fpMatrix4::translation(px, py, 0.0f);
    for (const PatchTransformObject& decal : patch.transformObjects) {
        PatchTransformObject& copy = level.transformObjects.emplace_back(decal);
        moved.multiply(decal.transform, copy.transform);
    }
    for (const PatchPointObject& sprite : patch.pointObjects) {
        PatchPointObject& copy = level.pointObjects.emplace_back(sprite);
        copy.x += px;
        copy.y += py;
    }
    for (const PatchMarker& marker : patch.markers)
        level.markers[marker.name].push_back({marker.x + px, marker.y + py, marker.facesRight});
    for (const PatchExit& exit : patch.exits) {
        PatchExit& copy = level.exits[exit.name].emplace_back(exit);
        copy.x += px;
        copy.y += py;
    }
    for (const PatchEntity& entity : patch.entities) {
        std::vector<PatchEntity>* target = nullptr;
        if (const auto actor = m_sources.actors->find(entity.definitionName)) {
            const bool comesBack = actor->resetWithEarth && level.resetEarth;
            if (!actor->persistent || m_freshLevel || comesBack) target = &level.actorPlacements;
        } else if (const auto resource = m_sources.resources->find(entity.definitionName)) {
            if (!resource->persistent || m_freshLevel) target = &level.resourcePlacements;
        }
        if (!target) continue;
        PatchEntity& copy = target->emplace_back(entity);
        copy.centreOffsetX = float(40 * patch.width) / 2.0f - entity.x;
        copy.centreOffsetY = float(40 * patch.height) / 2.0f - entity.y;
        copy.placementNumber = m_placementNumber;
        copy.x += px;
        copy.y += py;
    }
    for (const PatchTypedObject& object : patch.typedObjects) {
        PatchTypedObject& copy = level.typedObjects.emplace_back(object);
        copy.placementNumber = m_placementNumber;
        copy.x += px;
        copy.y += py;
    }
    for (const PatchGraphNode& node : patch.graphNodes) {
        PatchGraphNode& copy = level.graphNodes.emplace_back(node);
        copy.placementNumber = m_placementNumber;
        for (PatchGraphLink& link : copy.links) link.placementNumber = m_placementNumber;
        copy.x += px;
        copy.y += py;
    }
}

} // namespace zor
