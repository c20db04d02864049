#include "tools/patch_compiler/compiler/PatchLibraryDump.h"

#include <cstring>
#include <iomanip>
#include <sstream>
#include <variant>

#include "Framework/core/io/ByteArray.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

namespace {

// Any value a resource grid can hold.
constexpr std::size_t kAnyResource = 65535;

std::string quotedText(const std::string& text) { return "\"" + text + "\""; }

const char* yesNo(bool value) { return value ? "yes" : "no"; }

void dumpWords(std::ostream& out, const std::vector<std::uint16_t>& words, int columns, const char* indent) {
    if (columns <= 0) return;
    for (std::size_t i = 0; i < words.size(); ++i) {
        out << (i % static_cast<std::size_t>(columns) == 0 ? indent : " ") << std::hex << std::setw(4)
            << std::setfill('0') << words[i] << std::dec << std::setfill(' ');
        if ((i + 1) % static_cast<std::size_t>(columns) == 0) out << '\n';
    }
}

void dumpTileTables(std::ostream& out, const PatchLibraryTables& tables) {
    for (std::size_t i = 0; i < tables.tileTypes.size(); ++i) {
        const TileType& t = tables.tileTypes[i];
        out << "tile type " << i << " texture " << quotedText(t.texture) << " edges " << quotedText(t.edgeTexture)
            << " " << quotedText(t.secondEdgeTexture) << " material " << quotedText(t.material) << " flags 0x"
            << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(t.flags) << std::dec
            << std::setfill(' ') << " tier " << t.requiredTier << " hardness " << t.hardnessBase << "+"
            << t.hardnessStep << " open side " << t.openSide << '\n';
    }
    for (const auto& [name, set] : tables.tileSets) {
        out << "tile set " << quotedText(name) << ":";
        for (std::uint16_t tile : set->tiles) out << ' ' << tile;
        out << '\n';
    }
}

void dumpObjects(std::ostream& out, const PatchSet::Patch& patch) {
    for (const PatchTransformObject& d : patch.transformObjects) {
        out << "    decal " << d.id << ' ' << quotedText(d.name) << " transform";
        for (float value : d.transform.m) out << ' ' << value;
        out << '\n';
    }
    for (const PatchPointObject& s : patch.pointObjects)
        out << "    sprite " << s.id << ' ' << quotedText(s.name) << " at " << s.x << ' ' << s.y << " depth " << s.depth
            << " scale " << s.scaleX << ' ' << s.scaleY << " angle " << s.angle << " value " << s.value << '\n';
    for (const PatchMarker& m : patch.markers)
        out << "    marker " << quotedText(m.name) << " at " << m.x << ' ' << m.y << " faces "
            << (m.facesRight ? "right" : "left") << '\n';
    for (const PatchExit& e : patch.exits)
        out << "    exit " << quotedText(e.name) << " at " << e.x << ' ' << e.y << " half size " << e.halfSize << " to "
            << quotedText(e.targetLevel) << ' ' << quotedText(e.targetEntry) << " needs "
            << quotedText(e.requiredItem) << " event " << quotedText(e.useEvent) << " automatic "
            << yesNo(e.automatic) << '\n';
    for (const PatchEntity& e : patch.entities)
        out << "    entity " << e.id << ' ' << quotedText(e.definitionName) << " named " << quotedText(e.name)
            << " at " << e.x << ' ' << e.y << " facing " << e.facingX << ' ' << e.facingY << " angle " << e.angle
            << " settle " << yesNo(e.settle) << " quarter turn " << yesNo(e.randomQuarterTurn) << '\n';
    for (const PatchTypedObject& o : patch.typedObjects) {
        out << "    " << (o.kind == PatchTypedObject::Rectangle ? "rect " : "point ") << o.id << ' '
            << quotedText(o.name) << " at " << o.x << ' ' << o.y;
        if (o.kind == PatchTypedObject::Rectangle) out << " size " << o.width << ' ' << o.height;
        out << '\n';
    }
    for (const PatchGraphNode& n : patch.graphNodes) {
        out << "    node " << n.id << ' ' << quotedText(n.name) << " type " << quotedText(n.typeName) << " at " << n.x
            << ' ' << n.y << " size " << n.width << ' ' << n.height << '\n';
        for (const auto& [key, value] : n.properties) {
            out << "      property " << quotedText(key) << " = ";
            if (const bool* truth = std::get_if<bool>(&value))
                out << (*truth ? "true" : "false") << '\n';
            else
                out << quotedText(std::get<std::string>(value)) << '\n';
        }
        for (const PatchGraphLink& l : n.links)
            out << "      link " << quotedText(l.slot) << ' ' << quotedText(l.secondName) << " to " << l.targetId << '\n';
    }
}

void dumpPatch(std::ostream& out, const PatchSet::Patch& patch) {
    out << "  patch " << quotedText(patch.name) << ' ' << patch.width << 'x' << patch.height << " count " << patch.count
        << " max uses " << patch.maxUses << " priority " << patch.priority << " margin " << patch.margin << " weight "
        << patch.weight << " fixed " << patch.fixedX << ' ' << patch.fixedY << " deck " << quotedText(patch.deckName)
        << " carved only " << yesNo(patch.onCarvedOnly) << " unpainted only " << yesNo(patch.onUnpaintedOnly)
        << " step " << patch.step << '\n';
    for (std::size_t i = 0; i < patch.tileLayers.size(); ++i) {
        const auto& layer = patch.tileLayers[i];
        if (!layer) {
            out << "    layer " << i << " empty\n";
            continue;
        }
        out << "    layer " << i << " scale " << layer->scale << " value " << layer->value << '\n';
        dumpWords(out, layer->tiles, patch.width / layer->scale, "      ");
    }
    if (patch.resourceGrid) {
        out << "    resources\n";
        dumpWords(out, patch.resourceGrid->cells, patch.width, "      ");
    }
    dumpObjects(out, patch);
}

void dumpLevelLinks(std::ostream& out, const LevelLinkTable& links) {
    for (const LevelLink& level : links) {
        out << "level " << quotedText(level.name) << (level.subLevel ? " sub-level" : " root") << '\n';
        for (const LevelLinkEntry& link : level.links)
            out << "  link to " << quotedText(link.targetName) << (link.target ? "" : " (no record)") << " needs "
                << quotedText(link.requiredItem) << '\n';
    }
}

} // namespace

std::string dumpPatchLibrary(const std::string& bytes) {
    ByteArray data(new std::uint8_t[bytes.size() + 1]);
    std::memcpy(data.get(), bytes.data(), bytes.size());
    const std::shared_ptr<PatchLibraryTables> tables = readPatchLibraryTables(data, bytes.size(), kAnyResource);
    std::ostringstream out;
    dumpTileTables(out, *tables);
    for (const auto& [name, set] : tables->patchSets) {
        out << "patch set " << quotedText(name) << '\n';
        for (const auto& patch : set->patches) dumpPatch(out, *patch);
    }
    dumpLevelLinks(out, tables->levelLinks);
    return out.str();
}

} // namespace zor
