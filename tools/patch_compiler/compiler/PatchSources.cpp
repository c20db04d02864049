#include "tools/patch_compiler/compiler/PatchSources.h"

#include <memory>
#include <unordered_map>

#include "Framework/core/text/TextUtils.h"
#include "tools/patch_compiler/compiler/PatchSource.h"
#include "tools/patch_compiler/compiler/SourceGrid.h"

namespace zor {

namespace {

constexpr std::int64_t kMaxTileTypes = TileWord::TypeMask + 1;

class LibraryParser {
public:
    LibraryParser(const std::vector<SourceFile>& sources, const GameDataNames& names) : m_names(names) {
        for (const SourceFile& source : sources) {
            m_documents.push_back(std::make_unique<SourceDocument>(source));
            const SourceDocument& document = *m_documents.back();
            if (std::string(document.root().name()) != "PatchLibrary")
                document.fail(document.lineOf(document.root()), "the document element is not <PatchLibrary>");
        }
    }

    LibraryFile parse() {
        // Tile types first: every other record may name any of them, in any file.
        for (const auto& document : m_documents)
            for (const pugi::xml_node& node : childElements(*document, document->root()))
                if (std::string(node.name()) == "TileType") readTileType(*document, node);
        for (const auto& document : m_documents) readRecords(*document);
        return std::move(m_library);
    }

private:
    void readTileType(const SourceDocument& document, const pugi::xml_node& node) {
        const SourceElement e(document, node,
                              {"Name", "Texture", "EdgeTexture", "SecondEdgeTexture", "Material", "Solid", "Tier",
                               "HardnessBase", "HardnessStep", "BreaksAtFirstHit", "BreaksUnderPressure", "OpenSide",
                               "Regrows", "NoWallSlide"});
        const std::string name = e.requiredText("Name");
        if (static_cast<std::int64_t>(m_library.tileTypes.size()) == kMaxTileTypes)
            e.fail("a tile word indexes at most " + std::to_string(kMaxTileTypes) + " tile types");
        if (!m_tileTypes.emplace(name, static_cast<std::uint16_t>(m_library.tileTypes.size())).second)
            e.fail("a second tile type is named '" + name + "'");
        TileType type;
        type.texture = e.text("Texture");
        type.edgeTexture = e.text("EdgeTexture");
        type.secondEdgeTexture = e.text("SecondEdgeTexture");
        type.material = e.text("Material");
        if (!type.material.empty() && m_names.materials.count(type.material) == 0)
            e.fail("no material of Definitions/materials.xml is named '" + type.material + "'");
        const std::pair<const char*, TileType::Flag> flags[] = {
            {"Solid", TileType::Solid},       {"BreaksAtFirstHit", TileType::BreaksAtFirstHit},
            {"BreaksUnderPressure", TileType::BreaksUnderPressure}, {"Regrows", TileType::Regrows},
            {"NoWallSlide", TileType::NoWallSlide}};
        for (const auto& [attribute, flag] : flags)
            if (e.flag(attribute, false)) type.flags |= flag;
        if (e.has("OpenSide")) {
            type.flags |= TileType::OneSided;
            type.openSide = static_cast<std::int32_t>(e.integer("OpenSide", 0, 0, 3));
        }
        type.requiredTier = static_cast<std::int32_t>(e.integer("Tier", 0, 0, 255));
        type.hardnessBase = static_cast<std::int32_t>(e.integer("HardnessBase", 0, 0, 255));
        type.hardnessStep = static_cast<std::int32_t>(e.integer("HardnessStep", 0, 0, 255));
        m_library.tileTypes.push_back(type);
    }

    void readRecords(const SourceDocument& document) {
        const std::vector<pugi::xml_node> children = childElements(document, document.root());
        const Legend legend = extendLegend(Legend(), document, children, legendNames());
        for (const pugi::xml_node& node : children) {
            const std::string kind = node.name();
            if (kind == "TileSet")
                readTileSet(document, node);
            else if (kind == "PatchSet")
                readPatchSet(document, node, legend);
            else if (kind == "Level")
                readLevel(document, node);
            else if (kind != "TileType" && kind != "Legend")
                document.fail(document.lineOf(node), "a <PatchLibrary> holds no <" + kind + ">");
        }
    }

    void readTileSet(const SourceDocument& document, const pugi::xml_node& node) {
        const SourceElement e(document, node, {"Name"});
        LibraryFile::TileSet set;
        set.name = requireNew(e, m_tileSetNames, "tile set");
        std::vector<std::string> types;
        splitTokens(node.child_value(), "; \t\r\n", types);
        if (types.empty()) e.fail("the tile set names no tile types");
        for (const std::string& type : types) set.tiles.push_back(tileIndex(e, type));
        m_library.tileSets.push_back(std::move(set));
    }

    void readPatchSet(const SourceDocument& document, const pugi::xml_node& node, const Legend& fileLegend) {
        const SourceElement e(document, node, {"Name"});
        LibraryFile::PatchSetRecord set;
        set.name = requireNew(e, m_patchSetNames, "patch set");
        const std::vector<pugi::xml_node> children = childElements(document, node);
        const Legend legend = extendLegend(fileLegend, document, children, legendNames());
        std::set<std::string> patchNames;
        const PatchNames names{m_tileTypes, m_names};
        for (const pugi::xml_node& child : children) {
            const std::string kind = child.name();
            if (kind == "Legend") continue;
            if (kind != "Patch") document.fail(document.lineOf(child), "a <PatchSet> holds no <" + kind + ">");
            set.patches.push_back(readPatchSource(document, child, legend, names));
            if (!patchNames.insert(set.patches.back().name).second)
                document.fail(document.lineOf(child), "a second patch of the set is named '" +
                                                          set.patches.back().name + "'");
        }
        m_library.patchSets.push_back(std::move(set));
    }

    void readLevel(const SourceDocument& document, const pugi::xml_node& node) {
        const SourceElement e(document, node, {"Name", "SubLevel"});
        LibraryFile::LevelRecord level;
        level.name = requireNew(e, m_levelNames, "level");
        requireLevel(e, level.name);
        level.subLevel = e.flag("SubLevel", false) ? 1 : 0;
        for (const pugi::xml_node& child : childElements(document, node)) {
            if (std::string(child.name()) != "Link")
                document.fail(document.lineOf(child), "a <Level> holds <Link> elements only");
            const SourceElement link(document, child, {"Target", "RequiredItem"});
            LevelLinkEntry& entry = level.links.emplace_back();
            entry.targetName = link.requiredText("Target");
            requireLevel(link, entry.targetName);
            entry.requiredItem = link.text("RequiredItem");
        }
        m_library.levels.push_back(std::move(level));
    }

    std::string requireNew(const SourceElement& e, std::set<std::string>& names, const char* what) const {
        const std::string name = e.requiredText("Name");
        if (!names.insert(name).second) e.fail("a second " + std::string(what) + " is named '" + name + "'");
        return name;
    }

    void requireLevel(const SourceElement& e, const std::string& level) const {
        if (m_names.levels.count(level) == 0) e.fail("the level '" + level + "' has no description in Levels");
    }

    std::uint16_t tileIndex(const SourceElement& e, const std::string& type) const {
        const auto found = m_tileTypes.find(type);
        if (found == m_tileTypes.end()) e.fail("no tile type is named '" + type + "'");
        return found->second;
    }

    LegendNames legendNames() const { return {m_tileTypes, m_names.resources}; }

    const GameDataNames& m_names;
    std::vector<std::unique_ptr<SourceDocument>> m_documents;
    LibraryFile m_library;
    std::unordered_map<std::string, std::uint16_t> m_tileTypes;
    std::set<std::string> m_tileSetNames;
    std::set<std::string> m_patchSetNames;
    std::set<std::string> m_levelNames;
};

} // namespace

LibraryFile parsePatchSources(const std::vector<SourceFile>& sources, const GameDataNames& names) {
    return LibraryParser(sources, names).parse();
}

} // namespace zor
