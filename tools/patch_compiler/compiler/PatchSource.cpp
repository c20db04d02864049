#include "tools/patch_compiler/compiler/PatchSource.h"

#include <limits>
#include <map>
#include <set>
#include <vector>

#include "game/world/level/TileType.h"

namespace zor {

namespace {

using Patch = PatchSet::Patch;

constexpr std::int64_t kMaxU16 = 65535;
constexpr std::int64_t kMaxId = std::numeric_limits<std::uint32_t>::max();

// Ids of the patch's records: the ones given, then the free numbers from 1 in document order.
class PatchIds {
public:
    explicit PatchIds(const std::vector<SourceElement>& parts) {
        for (const SourceElement& part : parts) {
            if (!part.has("Id")) continue;
            const std::uint32_t id = static_cast<std::uint32_t>(part.integer("Id", 0, 0, kMaxId));
            if (!m_used.insert(id).second) part.fail("the id " + std::to_string(id) + " is used twice in the patch");
        }
    }

    std::uint32_t of(const SourceElement& element) {
        if (element.has("Id")) return static_cast<std::uint32_t>(element.integer("Id", 0, 0, kMaxId));
        while (m_used.count(m_next) != 0) ++m_next;
        m_used.insert(m_next);
        return m_next;
    }

    bool contains(std::uint32_t id) const { return m_used.count(id) != 0; }

private:
    std::set<std::uint32_t> m_used;
    std::uint32_t m_next = 1;
};

void readPatchAttributes(const SourceElement& e, Patch& patch) {
    patch.name = e.requiredText("Name");
    patch.width = static_cast<std::int32_t>(e.requiredInteger("Width", 1, kMaxU16));
    patch.height = static_cast<std::int32_t>(e.requiredInteger("Height", 1, kMaxU16));
    patch.deckName = e.text("Deck");
    patch.count = static_cast<std::int32_t>(e.integer("Count", patch.count, 0, kMaxU16));
    patch.maxUses = static_cast<std::int32_t>(e.integer("MaxUses", patch.maxUses, 0, kMaxU16));
    patch.priority = static_cast<std::int32_t>(e.integer("Priority", patch.priority, 0, kMaxU16));
    patch.margin = static_cast<std::int32_t>(e.integer("Margin", patch.margin, -32768, 32767));
    patch.weight = e.number("Weight", patch.weight);
    patch.fixedX = static_cast<std::int32_t>(e.integer("FixedX", patch.fixedX, -1, 32767));
    patch.fixedY = static_cast<std::int32_t>(e.integer("FixedY", patch.fixedY, -1, 32767));
    patch.onCarvedOnly = e.flag("OnCarvedOnly", patch.onCarvedOnly);
    patch.onUnpaintedOnly = e.flag("OnUnpaintedOnly", patch.onUnpaintedOnly);
}

void readLayer(const SourceElement& e, const Legend& legend, Patch& patch) {
    const std::int64_t scale = e.integer("Scale", 0, 0, 255);
    if (scale == 0) {
        if (e.node().first_child()) e.fail("an empty layer (Scale 0) holds no rows");
        patch.tileLayers.push_back(nullptr);
        return;
    }
    auto layer = std::make_shared<PatchSet::TileLayer>();
    layer->scale = static_cast<std::int32_t>(scale);
    layer->value = static_cast<std::int32_t>(e.integer("Value", 0, 0, kMaxU16));
    const std::string what = "layer " + std::to_string(patch.tileLayers.size());
    layer->tiles = readGrid(e, patch.height / layer->scale, patch.width / layer->scale, legend.tiles,
                            TileWord::Unpainted, what.c_str());
    // The level builder takes this word in layer 0 for a carved cell and empties it.
    if (patch.tileLayers.empty())
        for (std::uint16_t word : layer->tiles)
            if (word == TileWord::Carved)
                e.fail("tile index 2 without flags is the level builder's carve marker in layer 0");
    patch.tileLayers.push_back(std::move(layer));
}

void readResources(const SourceElement& e, const Legend& legend, Patch& patch) {
    if (patch.resourceGrid) e.fail("a patch has one <Resources> grid");
    patch.resourceGrid = std::make_shared<PatchSet::ResourceLayer>();
    patch.resourceGrid->cells = readGrid(e, patch.height, patch.width, legend.resources, 0, "resource grid");
}

PatchGraphNode readNode(const SourceElement& e, PatchIds& ids) {
    PatchGraphNode node;
    node.id = ids.of(e);
    node.name = e.text("Name");
    node.typeName = e.requiredText("Type");
    node.x = e.number("X", 0.0f);
    node.y = e.number("Y", 0.0f);
    node.width = e.number("Width", 0.0f);
    node.height = e.number("Height", 0.0f);
    for (const pugi::xml_node& child : childElements(e.document(), e.node())) {
        const std::string kind = child.name();
        if (kind == "Property") {
            const SourceElement p(e.document(), child, {"Name", "Bool", "Text"});
            if (p.has("Bool") == p.has("Text")) p.fail("a <Property> has either Bool or Text");
            if (node.properties.count(p.requiredText("Name")) != 0) p.fail("the property is set twice");
            node.properties[p.requiredText("Name")] =
                p.has("Bool") ? PatchGraphValue(p.flag("Bool", false)) : PatchGraphValue(p.text("Text"));
        } else if (kind == "Link") {
            const SourceElement l(e.document(), child, {"Slot", "Second", "Target"});
            node.links.push_back({l.requiredText("Slot"), l.text("Second"),
                                  static_cast<std::uint32_t>(l.requiredInteger("Target", 0, kMaxId)), 0});
        } else {
            e.document().fail(e.document().lineOf(child), "a <Node> holds <Property> and <Link>, not <" + kind + ">");
        }
    }
    return node;
}

// Reads one object element into the patch.
void readObject(const SourceElement& e, const GameDataNames& game, PatchIds& ids, Patch& patch) {
    const std::string kind = e.node().name();
    if (kind == "Decal") {
        PatchTransformObject& decal = patch.transformObjects.emplace_back();
        decal.id = ids.of(e);
        decal.name = e.requiredText("Name");
        fpMatrix4 scaling = fpMatrix4::scaling(e.number("ScaleX", 1.0f), e.number("ScaleY", 1.0f), 1.0f);
        fpMatrix4::translation(e.number("X", 0.0f), e.number("Y", 0.0f), e.number("Depth", 0.0f))
            .multiply(scaling, decal.transform);
    } else if (kind == "Sprite") {
        PatchPointObject& sprite = patch.pointObjects.emplace_back();
        sprite.id = ids.of(e);
        sprite.name = e.requiredText("Name");
        sprite.x = e.number("X", 0.0f);
        sprite.y = e.number("Y", 0.0f);
        sprite.depth = e.number("Depth", 0.0f);
        sprite.scaleX = e.number("ScaleX", 1.0f);
        sprite.scaleY = e.number("ScaleY", 1.0f);
        sprite.angle = e.number("Angle", 0.0f);
        sprite.value = static_cast<std::uint32_t>(e.integer("Value", 0, 0, kMaxId));
    } else if (kind == "Marker") {
        patch.markers.push_back({e.requiredText("Name"), e.number("X", 0.0f), e.number("Y", 0.0f),
                                 e.flag("FacesRight", true)});
    } else if (kind == "Exit") {
        PatchExit& exit = patch.exits.emplace_back();
        exit.name = e.requiredText("Name");
        exit.x = e.number("X", 0.0f);
        exit.y = e.number("Y", 0.0f);
        exit.halfSize = e.number("HalfSize", 20.0f);
        exit.targetLevel = e.requiredText("TargetLevel");
        if (game.levels.count(exit.targetLevel) == 0)
            e.fail("the target level '" + exit.targetLevel + "' has no description in Levels");
        exit.targetEntry = e.text("TargetEntry");
        exit.requiredItem = e.text("RequiredItem");
        exit.useEvent = e.text("UseEvent");
        exit.automatic = e.flag("Automatic", false);
    } else if (kind == "Entity") {
        PatchEntity& entity = patch.entities.emplace_back();
        entity.id = ids.of(e);
        entity.definitionName = e.requiredText("Definition");
        entity.name = e.text("Name");
        entity.settle = e.flag("Settle", false);
        entity.randomQuarterTurn = e.flag("RandomQuarterTurn", false);
        entity.x = e.number("X", 0.0f);
        entity.y = e.number("Y", 0.0f);
        entity.facingX = e.number("FacingX", 1.0f);
        entity.facingY = e.number("FacingY", 1.0f);
        entity.angle = e.number("Angle", 0.0f);
    } else if (kind == "Rect" || kind == "Point") {
        PatchTypedObject& object = patch.typedObjects.emplace_back();
        object.kind = kind == "Rect" ? PatchTypedObject::Rectangle : PatchTypedObject::Point;
        object.id = ids.of(e);
        object.name = e.requiredText("Name");
        object.x = e.number("X", 0.0f);
        object.y = e.number("Y", 0.0f);
        object.width = e.number("Width", 0.0f);
        object.height = e.number("Height", 0.0f);
    } else if (kind == "Node") {
        patch.graphNodes.push_back(readNode(e, ids));
    }
}

// The elements a patch holds besides its legends, with the attributes each may carry.
const std::map<std::string, std::vector<const char*>>& patchParts() {
    static const std::map<std::string, std::vector<const char*>> parts = {
        {"Layer", {"Scale", "Value"}},
        {"Resources", {}},
        {"Decal", {"Id", "Name", "X", "Y", "Depth", "ScaleX", "ScaleY"}},
        {"Sprite", {"Id", "Name", "X", "Y", "Depth", "ScaleX", "ScaleY", "Angle", "Value"}},
        {"Marker", {"Name", "X", "Y", "FacesRight"}},
        {"Exit", {"Name", "X", "Y", "HalfSize", "TargetLevel", "TargetEntry", "RequiredItem", "UseEvent", "Automatic"}},
        {"Entity", {"Id", "Definition", "Name", "Settle", "RandomQuarterTurn", "X", "Y", "FacingX", "FacingY", "Angle"}},
        {"Rect", {"Id", "Name", "X", "Y", "Width", "Height"}},
        {"Point", {"Id", "Name", "X", "Y"}},
        {"Node", {"Id", "Name", "Type", "X", "Y", "Width", "Height"}},
    };
    return parts;
}

void checkLinkTargets(const SourceDocument& document, const pugi::xml_node& element, const Patch& patch,
                      const PatchIds& ids) {
    for (const PatchGraphNode& node : patch.graphNodes)
        for (const PatchGraphLink& link : node.links)
            if (!ids.contains(link.targetId))
                document.fail(document.lineOf(element), "a link of node " + std::to_string(node.id) +
                                                            " names the id " + std::to_string(link.targetId) +
                                                            ", which no record of the patch has");
}

} // namespace

PatchSet::Patch readPatchSource(const SourceDocument& document, const pugi::xml_node& element, const Legend& outer,
                                const PatchNames& names) {
    const SourceElement e(document, element,
                          {"Name", "Width", "Height", "Deck", "Count", "MaxUses", "Priority", "Margin", "Weight",
                           "FixedX", "FixedY", "OnCarvedOnly", "OnUnpaintedOnly"});
    Patch patch;
    readPatchAttributes(e, patch);
    const std::vector<pugi::xml_node> children = childElements(document, element);
    const Legend legend = extendLegend(outer, document, children, {names.tileTypes, names.game.resources});

    std::vector<SourceElement> parts;
    for (const pugi::xml_node& child : children) {
        const std::string kind = child.name();
        if (kind == "Legend") continue;
        const auto found = patchParts().find(kind);
        if (found == patchParts().end()) document.fail(document.lineOf(child), "a <Patch> holds no <" + kind + ">");
        parts.emplace_back(document, child, found->second);
    }
    PatchIds ids(parts);
    for (const SourceElement& part : parts) {
        const std::string kind = part.node().name();
        if (kind == "Layer")
            readLayer(part, legend, patch);
        else if (kind == "Resources")
            readResources(part, legend, patch);
        else
            readObject(part, names.game, ids, patch);
    }
    checkLinkTargets(document, element, patch, ids);
    return patch;
}

} // namespace zor
