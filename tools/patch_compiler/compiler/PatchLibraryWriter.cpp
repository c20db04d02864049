#include "tools/patch_compiler/compiler/PatchLibraryWriter.h"

#include <variant>

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

namespace zor {

namespace {

// Writes the sections' values, checking that each fits its field, and gathers the names.
class SectionWriter {
public:
    void setRecord(std::string record) { m_record = std::move(record); }

    void name(const std::string& text) { m_body.writeU16(static_cast<std::uint16_t>(m_strings.indexOf(text))); }
    void u8(std::int64_t value, const char* field) { m_body.writeU8(static_cast<std::uint8_t>(fit(value, 0, 255, field))); }
    void u16(std::int64_t value, const char* field) {
        m_body.writeU16(static_cast<std::uint16_t>(fit(value, 0, 65535, field)));
    }
    void s16(std::int64_t value, const char* field) {
        m_body.writeU16(static_cast<std::uint16_t>(fit(value, -32768, 32767, field)));
    }
    void u32(std::uint32_t value) { m_body.writeU32(value); }
    void f32(float value) { m_body.writeFloat(value); }
    void flag(bool value) { m_body.writeU8(value ? 1 : 0); }
    void words(const std::vector<std::uint16_t>& values) {
        for (std::uint16_t value : values) m_body.writeU16(value);
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw CheckReleaseError("Could not write patchsets.bin: " + reason + " (" + m_record + ")");
    }

    // Header, string table, sections.
    std::string finish() const {
        ByteWriter file(m_body.size() + 1024);
        file.writeU32(0);
        m_strings.write(file);
        std::string bytes(reinterpret_cast<const char*>(file.data().get()), file.size());
        bytes.append(reinterpret_cast<const char*>(m_body.data().get()), m_body.size());
        return bytes;
    }

private:
    std::int64_t fit(std::int64_t value, std::int64_t low, std::int64_t high, const char* field) const {
        if (value < low || value > high)
            fail(std::string(field) + " " + std::to_string(value) + " is outside " + std::to_string(low) + " to " +
                 std::to_string(high));
        return value;
    }

    ByteWriter m_body{4096};
    StringTableDynamic m_strings;
    std::string m_record;
};

void writeTileSection(SectionWriter& out, const LibraryFile& library) {
    out.setRecord("tile types");
    out.u16(static_cast<std::int64_t>(library.tileTypes.size()), "tile type count");
    for (std::size_t i = 0; i < library.tileTypes.size(); ++i) {
        const TileType& type = library.tileTypes[i];
        out.setRecord("tile type " + std::to_string(i));
        out.name(type.texture);
        out.name(type.edgeTexture);
        out.name(type.secondEdgeTexture);
        out.name(type.material);
        out.u8(type.flags, "flags");
        out.u8(type.requiredTier, "required tier");
        out.u8(type.hardnessBase, "hardness base");
        out.u8(type.hardnessStep, "hardness step");
        out.u8(type.openSide, "open side");
    }
    out.setRecord("tile sets");
    out.u16(static_cast<std::int64_t>(library.tileSets.size()), "tile set count");
    for (const LibraryFile::TileSet& set : library.tileSets) {
        out.setRecord("tile set '" + set.name + "'");
        out.name(set.name);
        out.u16(static_cast<std::int64_t>(set.tiles.size()), "entry count");
        out.words(set.tiles);
    }
}

void writeTileLayers(SectionWriter& out, const PatchSet::Patch& patch) {
    for (const auto& layer : patch.tileLayers) {
        if (!layer) {
            out.u8(0, "scale");
            continue;
        }
        out.u8(layer->scale, "scale");
        if (layer->scale == 0) out.fail("a present tile layer has scale 0");
        out.u16(layer->value, "layer value");
        const std::size_t needed = static_cast<std::size_t>(patch.height / layer->scale) *
                                   static_cast<std::size_t>(patch.width / layer->scale);
        if (layer->tiles.size() != needed)
            out.fail("a tile layer of scale " + std::to_string(layer->scale) + " holds " +
                     std::to_string(layer->tiles.size()) + " tiles, not " + std::to_string(needed));
        out.words(layer->tiles);
    }
}

void writeObjects(SectionWriter& out, const PatchSet::Patch& patch) {
    out.u16(static_cast<std::int64_t>(patch.transformObjects.size()), "decal count");
    for (const PatchTransformObject& decal : patch.transformObjects) {
        out.name(decal.name);
        out.u32(decal.id);
        for (float value : decal.transform.m) out.f32(value);
    }
    out.u16(static_cast<std::int64_t>(patch.pointObjects.size()), "sprite count");
    for (const PatchPointObject& sprite : patch.pointObjects) {
        out.name(sprite.name);
        out.u32(sprite.id);
        for (float value : {sprite.x, sprite.y, sprite.depth, sprite.scaleX, sprite.scaleY, sprite.angle})
            out.f32(value);
        out.u32(sprite.value);
    }
    out.u16(static_cast<std::int64_t>(patch.markers.size()), "marker count");
    for (const PatchMarker& marker : patch.markers) {
        out.name(marker.name);
        out.f32(marker.x);
        out.f32(marker.y);
        out.flag(marker.facesRight);
    }
    out.u16(static_cast<std::int64_t>(patch.exits.size()), "exit count");
    for (const PatchExit& exit : patch.exits) {
        out.name(exit.name);
        out.f32(exit.x);
        out.f32(exit.y);
        out.f32(exit.halfSize);
        for (const std::string* text : {&exit.targetLevel, &exit.targetEntry, &exit.requiredItem, &exit.useEvent})
            out.name(*text);
        out.flag(exit.automatic);
    }
    out.u16(static_cast<std::int64_t>(patch.entities.size()), "entity count");
    for (const PatchEntity& entity : patch.entities) {
        out.u32(entity.id);
        out.name(entity.definitionName);
        out.name(entity.name);
        out.flag(entity.settle);
        out.flag(entity.randomQuarterTurn);
        for (float value : {entity.x, entity.y, entity.facingX, entity.facingY, entity.angle}) out.f32(value);
    }
    std::vector<const PatchTypedObject*> rectangles;
    std::vector<const PatchTypedObject*> points;
    for (const PatchTypedObject& object : patch.typedObjects)
        (object.kind == PatchTypedObject::Rectangle ? rectangles : points).push_back(&object);
    out.u16(static_cast<std::int64_t>(rectangles.size()), "rectangle count");
    out.u16(static_cast<std::int64_t>(points.size()), "point count");
    for (const PatchTypedObject* rectangle : rectangles) {
        out.name(rectangle->name);
        out.u32(rectangle->id);
        for (float value : {rectangle->x, rectangle->y, rectangle->width, rectangle->height}) out.f32(value);
    }
    for (const PatchTypedObject* point : points) {
        out.name(point->name);
        out.u32(point->id);
        out.f32(point->x);
        out.f32(point->y);
    }
}

void writeGraphNodes(SectionWriter& out, const PatchSet::Patch& patch) {
    out.u16(static_cast<std::int64_t>(patch.graphNodes.size()), "graph node count");
    for (const PatchGraphNode& node : patch.graphNodes) {
        out.u32(node.id);
        out.name(node.name);
        out.name(node.typeName);
        for (float value : {node.x, node.y, node.width, node.height}) out.f32(value);
        out.u16(static_cast<std::int64_t>(node.properties.size()), "property count");
        out.u16(static_cast<std::int64_t>(node.links.size()), "link count");
        for (const auto& [key, value] : node.properties) {
            out.name(key);
            if (const bool* truth = std::get_if<bool>(&value)) {
                out.u8(*truth ? 3 : 1, "property kind");
            } else {
                out.u8(0, "property kind");
                out.name(std::get<std::string>(value));
            }
        }
        for (const PatchGraphLink& link : node.links) {
            out.name(link.slot);
            out.name(link.secondName);
            out.u32(link.targetId);
        }
    }
}

void writePatch(SectionWriter& out, const PatchSet::Patch& patch) {
    out.name(patch.name);
    out.name(patch.deckName);
    out.u16(patch.width, "width");
    out.u16(patch.height, "height");
    out.u16(static_cast<std::int64_t>(patch.tileLayers.size()), "tile layer count");
    out.u16(patch.count, "count");
    out.u16(patch.maxUses, "max uses");
    out.u16(patch.priority, "priority");
    out.s16(patch.margin, "margin");
    out.flag(patch.onCarvedOnly);
    out.flag(patch.onUnpaintedOnly);
    out.f32(patch.weight);
    out.s16(patch.fixedX, "fixed x");
    out.s16(patch.fixedY, "fixed y");
    out.flag(patch.resourceGrid != nullptr);
    if (patch.resourceGrid) {
        const std::size_t needed = static_cast<std::size_t>(patch.width) * static_cast<std::size_t>(patch.height);
        if (patch.resourceGrid->cells.size() != needed)
            out.fail("the resource grid holds " + std::to_string(patch.resourceGrid->cells.size()) + " cells, not " +
                     std::to_string(needed));
        out.words(patch.resourceGrid->cells);
    }
    writeTileLayers(out, patch);
    writeObjects(out, patch);
    writeGraphNodes(out, patch);
}

void writePatchSetSection(SectionWriter& out, const LibraryFile& library) {
    out.setRecord("patch sets");
    out.u16(static_cast<std::int64_t>(library.patchSets.size()), "patch set count");
    for (const LibraryFile::PatchSetRecord& set : library.patchSets) {
        out.setRecord("patch set '" + set.name + "'");
        out.name(set.name);
        out.u16(static_cast<std::int64_t>(set.patches.size()), "patch count");
        for (const PatchSet::Patch& patch : set.patches) {
            out.setRecord("patch set '" + set.name + "', patch '" + patch.name + "'");
            writePatch(out, patch);
        }
    }
}

void writeLevelLinkSection(SectionWriter& out, const LibraryFile& library) {
    out.setRecord("levels");
    out.u16(static_cast<std::int64_t>(library.levels.size()), "level count");
    for (const LibraryFile::LevelRecord& level : library.levels) {
        out.setRecord("level '" + level.name + "'");
        out.name(level.name);
        out.u8(level.subLevel, "sub-level byte");
        out.u16(static_cast<std::int64_t>(level.links.size()), "link count");
        for (const LevelLinkEntry& link : level.links) {
            out.name(link.targetName);
            out.name(link.requiredItem);
        }
    }
}

} // namespace

std::string writePatchLibrary(const LibraryFile& library) {
    SectionWriter out;
    writeTileSection(out, library);
    writePatchSetSection(out, library);
    writeLevelLinkSection(out, library);
    return out.finish();
}

} // namespace zor
