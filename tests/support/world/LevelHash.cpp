#include "tests/support/world/LevelHash.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "game/world/level/Level.h"
#include "tests/support/game/StateHash.h"

namespace zor::test {

namespace {

void addEntities(StateHash& hash, const std::vector<PatchEntity>& entities) {
    hash.add(std::uint64_t(entities.size()));
    for (const PatchEntity& e : entities) {
        hash.add(std::uint64_t(e.id));
        hash.add(std::uint64_t(std::uint32_t(e.placementNumber)));
        hash.add(e.definitionName);
        hash.add(e.name);
        hash.add(std::uint64_t(e.settle) | std::uint64_t(e.randomQuarterTurn) << 1);
        for (float value : {e.x, e.y, e.facingX, e.facingY, e.angle, e.centreOffsetX, e.centreOffsetY}) hash.add(value);
    }
}

} // namespace

std::uint64_t levelHash(const Level& level) {
    StateHash hash;
    hash.add(std::uint64_t(std::uint32_t(level.width)) << 32 | std::uint32_t(level.height));
    hash.add(std::uint64_t(level.layers.size()));
    for (const TileLayerGrid& layer : level.layers) {
        hash.add(std::uint64_t(std::uint32_t(layer.width)) << 32 | std::uint32_t(layer.height));
        hash.add(std::uint64_t(std::uint32_t(layer.scale)));
        hash.add(layer.depth);
        hash.add(layer.tiles.data(), layer.tiles.size() * sizeof(std::uint16_t));
    }
    hash.add(std::uint64_t(std::uint32_t(level.tileMap->width())) << 32 | std::uint32_t(level.tileMap->height()));
    hash.add(level.tileMap->data().data(), level.tileMap->data().size());

    std::vector<std::pair<std::int32_t, CellRecord>> records(level.cellRecords.begin(), level.cellRecords.end());
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    hash.add(std::uint64_t(records.size()));
    for (const auto& [cell, record] : records) {
        hash.add(std::uint64_t(std::uint32_t(cell)));
        hash.add(std::uint64_t(std::uint32_t(record.tileDamageId)) << 32 | std::uint32_t(record.resourceIndex));
    }

    hash.add(std::uint64_t(level.cameraClamps.size()));
    for (const fpSegment& clamp : level.cameraClamps) {
        hash.add(clamp.start);
        hash.add(clamp.end);
    }
    for (const PatchTransformObject& decal : level.transformObjects) {
        hash.add(decal.name);
        hash.add(std::uint64_t(decal.id));
        for (float value : decal.transform.m) hash.add(value);
    }
    for (const PatchPointObject& sprite : level.pointObjects) {
        hash.add(sprite.name);
        hash.add(std::uint64_t(sprite.id) << 32 | sprite.value);
        for (float value : {sprite.x, sprite.y, sprite.depth, sprite.scaleX, sprite.scaleY, sprite.angle}) hash.add(value);
    }
    for (const auto& [name, markers] : level.markers) {
        hash.add(name);
        for (const LevelMarker& marker : markers) {
            hash.add(marker.x);
            hash.add(marker.y);
            hash.add(std::uint64_t(marker.facesRight));
        }
    }
    for (const auto& [name, exits] : level.exits)
        for (const PatchExit& exit : exits) {
            hash.add(name);
            for (float value : {exit.x, exit.y, exit.halfSize}) hash.add(value);
            for (const std::string* text : {&exit.targetLevel, &exit.targetEntry, &exit.requiredItem, &exit.useEvent})
                hash.add(*text);
            hash.add(std::uint64_t(exit.automatic));
        }
    addEntities(hash, level.actorPlacements);
    addEntities(hash, level.resourcePlacements);
    for (const PatchTypedObject& object : level.typedObjects) {
        hash.add(object.name);
        hash.add(std::uint64_t(object.id) << 32 | std::uint32_t(object.placementNumber));
        hash.add(std::uint64_t(std::uint32_t(object.kind)));
        for (float value : {object.x, object.y, object.width, object.height}) hash.add(value);
    }
    for (const PatchGraphNode& node : level.graphNodes) {
        hash.add(std::uint64_t(node.id) << 32 | std::uint32_t(node.placementNumber));
        hash.add(node.name);
        hash.add(node.typeName);
        for (float value : {node.x, node.y, node.width, node.height}) hash.add(value);
        for (const auto& [key, value] : node.properties) {
            hash.add(key);
            if (const bool* flag = std::get_if<bool>(&value))
                hash.add(std::uint64_t(*flag));
            else
                hash.add(std::get<std::string>(value));
        }
        for (const PatchGraphLink& link : node.links) {
            hash.add(link.slot);
            hash.add(link.secondName);
            hash.add(std::uint64_t(link.targetId) << 32 | std::uint32_t(link.placementNumber));
        }
    }
    return hash.value();
}

} // namespace zor::test
