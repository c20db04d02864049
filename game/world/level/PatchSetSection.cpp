#include <limits>

#include "game/world/level/PatchLibraryCursor.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

namespace {

using Patch = PatchSet::Patch;

void readResourceGrid(PatchLibraryCursor& in, Patch& patch, std::size_t resourceCount) {
    auto grid = std::make_shared<PatchSet::ResourceLayer>();
    grid->cells = in.u16Array(static_cast<std::size_t>(patch.width) * static_cast<std::size_t>(patch.height));
    for (std::uint16_t value : grid->cells)
        if (value > resourceCount)
            in.fail("resource " + std::to_string(value) + " is beyond the resource registry (" +
                    std::to_string(resourceCount) + " resources)");
    patch.resourceGrid = std::move(grid);
}

void readTileLayers(PatchLibraryCursor& in, Patch& patch, std::uint16_t layerCount, std::size_t tileTypeCount) {
    for (std::uint16_t i = 0; i < layerCount; ++i) {
        const std::uint8_t scale = in.u8();
        if (scale == 0) {
            patch.tileLayers.push_back(nullptr);
            continue;
        }
        auto layer = std::make_shared<PatchSet::TileLayer>();
        layer->scale = scale;
        layer->value = in.u16();
        layer->tiles = in.u16Array(static_cast<std::size_t>(patch.height / scale) *
                                   static_cast<std::size_t>(patch.width / scale));
        in.checkTileWords(layer->tiles, tileTypeCount, true);
        if (static_cast<std::int64_t>(patch.step) * scale > std::numeric_limits<std::int32_t>::max())
            in.fail("the scales of its tile layers combine to a step beyond 32 bits");
        patch.step = combineStep(patch.step, scale);
        patch.tileLayers.push_back(std::move(layer));
    }
}

void readObjects(PatchLibraryCursor& in, Patch& patch) {
    for (std::uint16_t n = in.u16(); n > 0; --n) {
        PatchTransformObject& decal = patch.transformObjects.emplace_back();
        decal.name = in.name();
        decal.id = in.u32();
        for (float& value : decal.transform.m)
            value = in.f32();
    }
    for (std::uint16_t n = in.u16(); n > 0; --n) {
        PatchPointObject& sprite = patch.pointObjects.emplace_back();
        sprite.name = in.name();
        sprite.id = in.u32();
        sprite.x = in.f32();
        sprite.y = in.f32();
        sprite.depth = in.f32();
        sprite.scaleX = in.f32();
        sprite.scaleY = in.f32();
        sprite.angle = in.f32();
        sprite.value = in.u32();
    }
    for (std::uint16_t n = in.u16(); n > 0; --n) {
        PatchMarker& marker = patch.markers.emplace_back();
        marker.name = in.name();
        marker.x = in.f32();
        marker.y = in.f32();
        marker.facesRight = in.flag();
    }
    for (std::uint16_t n = in.u16(); n > 0; --n) {
        PatchExit& exit = patch.exits.emplace_back();
        exit.name = in.name();
        exit.x = in.f32();
        exit.y = in.f32();
        exit.halfSize = in.f32();
        exit.targetLevel = in.name();
        exit.targetEntry = in.name();
        exit.requiredItem = in.name();
        exit.useEvent = in.name();
        exit.automatic = in.flag();
    }
    for (std::uint16_t n = in.u16(); n > 0; --n) {
        PatchEntity& entity = patch.entities.emplace_back();
        entity.id = in.u32();
        entity.definitionName = in.name();
        entity.name = in.name();
        entity.settle = in.flag();
        entity.randomQuarterTurn = in.flag();
        entity.x = in.f32();
        entity.y = in.f32();
        entity.facingX = in.f32();
        entity.facingY = in.f32();
        entity.angle = in.f32();
    }
    const std::uint16_t rectangleCount = in.u16();
    const std::uint16_t pointCount = in.u16();
    for (std::uint16_t n = rectangleCount; n > 0; --n) {
        PatchTypedObject& rectangle = patch.typedObjects.emplace_back();
        rectangle.kind = PatchTypedObject::Rectangle;
        rectangle.name = in.name();
        rectangle.id = in.u32();
        rectangle.x = in.f32();
        rectangle.y = in.f32();
        rectangle.width = in.f32();
        rectangle.height = in.f32();
    }
    for (std::uint16_t n = pointCount; n > 0; --n) {
        PatchTypedObject& point = patch.typedObjects.emplace_back();
        point.kind = PatchTypedObject::Point;
        point.name = in.name();
        point.id = in.u32();
        point.x = in.f32();
        point.y = in.f32();
    }
}

void readGraphNodes(PatchLibraryCursor& in, Patch& patch) {
    for (std::uint16_t n = in.u16(); n > 0; --n) {
        PatchGraphNode& node = patch.graphNodes.emplace_back();
        node.id = in.u32();
        node.name = in.name();
        node.typeName = in.name();
        node.x = in.f32();
        node.y = in.f32();
        node.width = in.f32();
        node.height = in.f32();
        const std::uint16_t propertyCount = in.u16();
        const std::uint16_t linkCount = in.u16();
        for (std::uint16_t p = 0; p < propertyCount; ++p) {
            std::string key = in.name();
            const std::uint8_t kind = in.u8();
            // Bit 0: a boolean, whose value is bit 1; otherwise a text follows.
            if (kind & 1)
                node.properties[key] = (kind & 2) != 0;
            else
                node.properties[key] = in.name();
        }
        for (std::uint16_t l = 0; l < linkCount; ++l) {
            PatchGraphLink& link = node.links.emplace_back();
            link.slot = in.name();
            link.secondName = in.name();
            link.targetId = in.u32();
        }
    }
}

std::shared_ptr<Patch> readPatch(PatchLibraryCursor& in, const PatchSet& set, std::size_t resourceCount,
                                 std::size_t tileTypeCount) {
    auto patch = std::make_shared<Patch>();
    patch->owner = &set;
    patch->name = in.name();
    in.setRecord("patch set " + quoted(set.name) + ", patch " + quoted(patch->name));
    patch->deckName = in.name();
    patch->width = in.u16();
    patch->height = in.u16();
    const std::uint16_t layerCount = in.u16();
    patch->count = in.u16();
    patch->maxUses = in.u16();
    patch->priority = in.u16();
    patch->margin = in.s16();
    patch->onCarvedOnly = in.flag();
    patch->onUnpaintedOnly = in.flag();
    patch->weight = in.f32();
    patch->fixedX = in.s16();
    patch->fixedY = in.s16();
    if (in.u8() != 0)
        readResourceGrid(in, *patch, resourceCount);
    readTileLayers(in, *patch, layerCount, tileTypeCount);
    readObjects(in, *patch);
    readGraphNodes(in, *patch);
    return patch;
}

} // namespace

void readPatchSetSection(ByteReader& reader, const StringTable& strings, std::size_t resourceCount,
                         PatchLibraryTables& tables) {
    PatchLibraryCursor in(reader, strings, "patch-set section");
    tables.patchSets.clear();
    if (in.atEnd()) return;
    const std::uint16_t setCount = in.u16();
    for (std::uint16_t s = 0; s < setCount; ++s) {
        in.setRecord("patch set " + std::to_string(s));
        auto set = std::make_shared<PatchSet>();
        set->name = in.name();
        in.setRecord("patch set " + quoted(set->name));
        const std::uint16_t patchCount = in.u16();
        for (std::uint16_t p = 0; p < patchCount; ++p) {
            in.setRecord("patch set " + quoted(set->name) + ", patch " + std::to_string(p));
            set->patches.push_back(readPatch(in, *set, resourceCount, tables.tileTypes.size()));
        }
        tables.patchSets[set->name] = std::move(set);
    }
}

} // namespace zor
