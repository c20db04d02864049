// Builds arbitrary text as a level description against a small patch library and
// registries of its own, through the description's checks and the whole level builder. A
// description is refused only with CheckReleaseError; a level that builds is whole (every
// word of every layer names a tile type, exactly the cells with a resource carry bit 15)
// and comes out the same when built again from the same info.
//
// Input: one flag byte (bit 0 the legacy generator, bit 1 a remembered byte grid with every
// cell dug out, bit 2 a first build with new seeds), then the description. The library's
// sets and tile sets carry the sample data's names, so the sample levels are good seeds.
// Levels above 256 x 256 tiles are skipped to keep runs fast; larger ones take the same
// paths, only longer.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_level_builder
//   build-fuzz/fuzz/fuzz_level_builder -dict=fuzz/level_builder.dict -max_total_time=60

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Framework/core/Errors.h"
#include "Framework/core/math/Randomizer.h"
#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/LevelValidation.h"
#include "game/world/level/PatchLibraryTables.h"

namespace {

using zor::PatchSet;
using zor::TileWord::Unpainted;

constexpr std::int64_t kMaxFuzzCells = 256 * 256;

void check(bool condition, int line = __builtin_LINE()) {
    if (condition) return;
    std::fprintf(stderr, "check failed at line %d\n", line);
    __builtin_trap();
}

enum Tile : std::uint16_t { Empty, Dirt, Rubble, Bedrock, Moss, Back, Stone, Hatch };

std::shared_ptr<PatchSet::TileLayer> layer(std::int32_t scale, std::int32_t width, std::int32_t height,
                                           std::vector<std::uint16_t> pattern) {
    auto made = std::make_shared<PatchSet::TileLayer>();
    made->scale = scale;
    const std::size_t cells = std::size_t(width / scale) * std::size_t(height / scale);
    for (std::size_t i = 0; i < cells; ++i) made->tiles.push_back(pattern[i % pattern.size()]);
    return made;
}

struct PatchSpec {
    const char* name;
    std::int32_t width, height;
    std::vector<std::shared_ptr<PatchSet::TileLayer>> layers;
    void (*adjust)(PatchSet::Patch&);
};

std::shared_ptr<PatchSet::Patch> makePatch(const PatchSpec& spec) {
    auto patch = std::make_shared<PatchSet::Patch>();
    patch->name = spec.name;
    patch->width = spec.width;
    patch->height = spec.height;
    patch->tileLayers = spec.layers;
    for (const auto& tiles : spec.layers)
        if (tiles) patch->step = zor::combineStep(patch->step, tiles->scale);
    if (spec.adjust) spec.adjust(*patch);
    return patch;
}

void resources(PatchSet::Patch& patch, std::vector<std::uint16_t> pattern) {
    patch.resourceGrid = std::make_shared<PatchSet::ResourceLayer>();
    for (std::int32_t i = 0; i < patch.width * patch.height; ++i)
        patch.resourceGrid->cells.push_back(pattern[std::size_t(i) % pattern.size()]);
}

void addSet(zor::PatchLibraryTables& tables, const char* name, const std::vector<PatchSpec>& specs) {
    auto set = std::make_shared<PatchSet>();
    set->name = name;
    for (const PatchSpec& spec : specs) {
        set->patches.push_back(makePatch(spec));
        set->patches.back()->owner = set.get();
    }
    tables.patchSets[name] = set;
}

std::shared_ptr<const zor::PatchLibraryTables> library() {
    static const std::shared_ptr<const zor::PatchLibraryTables> tables = [] {
        auto made = std::make_shared<zor::PatchLibraryTables>();
        const std::pair<std::uint8_t, std::int32_t> types[] = {
            {0, 0}, {zor::TileType::Solid, 1}, {zor::TileType::Solid, 1}, {zor::TileType::Solid, 0},
            {zor::TileType::Solid | zor::TileType::Regrows, 1}, {0, 0}, {zor::TileType::Solid, 2},
            {zor::TileType::Solid | zor::TileType::OneSided, 1}};
        for (const auto& [flags, tier] : types) {
            zor::TileType type;
            type.flags = flags;
            type.requiredTier = tier;
            made->tileTypes.push_back(type);
        }
        const std::pair<const char*, std::vector<std::uint16_t>> sets[] = {
            {"mine_fore", {Dirt, Dirt, Stone, Rubble}}, {"mine_mid", {Back}}, {"mine_back", {Back}},
            {"mine_borders", {Dirt, Bedrock}}, {"hard_rock", {Stone}}, {"soft_dirt", {Dirt, Rubble}},
            {"cave_fore", {Stone, Moss}}, {"town_ground", {Dirt}}, {"soft_only", {Dirt}}};
        for (const auto& [name, tiles] : sets)
            made->tileSets[name] = std::make_shared<zor::TileSetDefinition>(zor::TileSetDefinition{tiles});

        const std::uint16_t notPresent = Dirt | zor::TileWord::NotPresent;
        addSet(*made, "mine_entry",
               {{"entry", 16, 8, {layer(1, 16, 8, {Bedrock, Empty, Empty, Unpainted, notPresent, Dirt})},
                 [](PatchSet::Patch& p) {
                     p.fixedX = 12;
                     p.fixedY = 0;
                     p.markers.push_back({"[start]", 320, 120, true});
                     p.exits.push_back({"to_town", 120, 120, 40, "shalebury", "[start]", "", "", false});
                     zor::PatchGraphNode node;
                     node.id = 10;
                     node.typeName = "LevelStarted";
                     node.links.push_back({"out0", "", 11, 0});
                     p.graphNodes.push_back(node);
                 }}});
        addSet(*made, "mine_rooms",
               {{"vault", 5, 5, {layer(1, 5, 5, {Stone, Hatch, Moss})},
                 [](PatchSet::Patch& p) {
                     p.priority = 3;
                     p.maxUses = 1;
                     p.margin = 1;
                     resources(p, {0, 4, 0, 5, 9, 1});
                 }},
                {"pocket", 6, 4, {layer(1, 6, 4, {Stone, Dirt, notPresent})},
                 [](PatchSet::Patch& p) {
                     p.priority = 2;
                     p.count = 0;
                     p.weight = 0.5f;
                     resources(p, {0, 1, 2, 3, 8, 0, 6, 7});
                 }},
                {"den", 8, 5, {layer(1, 8, 5, {Stone, Empty})},
                 [](PatchSet::Patch& p) {
                     p.priority = 1;
                     p.count = 2;
                     p.weight = 0;
                     p.deckName = "dens";
                     p.entities.push_back({1, 0, "crawler", "", true, false, 160, 160, 1, 1, 0, 0, 0});
                     p.entities.push_back({2, 0, "keeper", "", false, true, 40, 80, 1, 1, 0, 0, 0});
                     p.entities.push_back({3, 0, "crate", "", false, false, 40, 40, 1, 1, 0, 0, 0});
                 }},
                {"grotto", 8, 6, {layer(1, 8, 6, {Moss, Empty}), nullptr, layer(2, 8, 6, {Back})}, nullptr},
                {"carved", 3, 3, {layer(1, 3, 3, {Moss})},
                 [](PatchSet::Patch& p) {
                     p.count = 2;
                     p.weight = 0;
                     p.onCarvedOnly = true;
                 }},
                {"on_unpainted", 2, 2, {layer(1, 2, 2, {Rubble, Unpainted})},
                 [](PatchSet::Patch& p) {
                     p.count = 3;
                     p.weight = 0;
                     p.onUnpaintedOnly = true;
                 }},
                {"column", 2, 3, {layer(1, 2, 3, {Stone})}, [](PatchSet::Patch& p) { p.fixedX = 3; }},
                {"row", 3, 2, {layer(1, 3, 2, {Dirt})}, [](PatchSet::Patch& p) { p.fixedY = 2; }},
                {"overhang", 4, 3, {layer(1, 4, 3, {Unpainted, Stone})},
                 [](PatchSet::Patch& p) {
                     p.fixedX = 30;
                     p.fixedY = 0;
                     p.margin = -5;
                 }},
                {"roots", 3, 2, {nullptr, layer(1, 3, 2, {Back, Unpainted})},
                 [](PatchSet::Patch& p) {
                     p.count = 3;
                     p.weight = 0;
                 }},
                {"flat_roots", 3, 2, {nullptr, layer(1, 3, 2, {Back})},
                 [](PatchSet::Patch& p) {
                     p.count = 2;
                     p.weight = 0;
                     p.margin = -2;  // no height left without spacing
                 }},
                {"pillar", 2, 4, {nullptr, layer(1, 2, 4, {Back})}, nullptr},
                {"creeper", 1, 1, {nullptr, layer(1, 1, 1, {Back})},
                 [](PatchSet::Patch& p) {
                     p.weight = 0.25f;
                     p.onUnpaintedOnly = true;
                 }}});
        addSet(*made, "mine_floor",
               {{"floor", 40, 3, {layer(1, 40, 3, {Dirt, Bedrock, Bedrock})},
                 [](PatchSet::Patch& p) {
                     p.fixedX = 0;
                     p.fixedY = 0;
                 }}});
        addSet(*made, "town",
               {{"square", 32, 12, {layer(1, 32, 12, {Empty, Empty, Dirt, Hatch}), layer(1, 32, 12, {Back})},
                 [](PatchSet::Patch& p) {
                     p.fixedX = 0;
                     p.fixedY = 0;
                     p.markers.push_back({"[start]", 40, 200, true});
                 }}});
        addSet(*made, "cinder_hollow",
               {{"hollow", 24, 14, {layer(1, 24, 14, {Stone, Empty, Empty}), layer(2, 24, 14, {Back})},
                 [](PatchSet::Patch& p) {
                     p.fixedX = 0;
                     p.fixedY = 0;
                     resources(p, {0, 0, 2, 0, 3, 10});
                     p.entities.push_back({1, 0, "guard", "", true, false, 720, 280, -1, 1, 0, 0, 0});
                 }}});
        return std::shared_ptr<const zor::PatchLibraryTables>(made);
    }();
    return tables;
}

// 1 copper, 2 tin, 3 silver (ores), 4 glimmer (gem), 5 gem+0, 6 egg_small, 7 egg_large,
// 8 crate (free-standing), 9 deep_ore (an ore that is itself a placeholder), 10 mire_egg.
zor::LevelBuildSources sources() {
    static zor::DefinitionRegistry<zor::ResourceDefinition> resources("ResourceDefinitions", "Resource", "Name");
    static zor::DefinitionRegistry<zor::ActorDefinition> actors("ActorDefinitions", "Actor", "Name");
    static const bool loaded = [] {
        resources.loadText("resources.xml", R"(<ResourceDefinitions>
  <Resource><Name>copper</Name><ResourceType>ore</ResourceType><DepthTier>0</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>tin</Name><ResourceType>ore</ResourceType><DepthTier>1</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>silver</Name><ResourceType>ore</ResourceType><DepthTier>3</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>glimmer</Name><ResourceType>gem</ResourceType><DepthTier>4</DepthTier><TileTexture>v</TileTexture></Resource>
  <Resource><Name>gem+0</Name><SpawnResource Type="gem" DepthBias="0"/></Resource>
  <Resource><Name>egg_small</Name><ResourceType>egg</ResourceType><TileTexture>v</TileTexture></Resource>
  <Resource><Name>egg_large</Name><ResourceType>egg</ResourceType><TileTexture>v</TileTexture></Resource>
  <Resource><Name>crate</Name><Persistent>true</Persistent></Resource>
  <Resource><Name>deep_ore</Name><ResourceType>ore</ResourceType><DepthTier>2</DepthTier><SpawnResource Type="ore"/></Resource>
  <Resource><Name>mire_egg</Name><ResourceType>egg</ResourceType><SpawnResource Type="ore" DepthBias="0.5"/></Resource>
</ResourceDefinitions>)");
        actors.loadText("actors.xml", R"(<ActorDefinitions>
  <Actor><Name>crawler</Name></Actor>
  <Actor><Name>keeper</Name><Persistent>true</Persistent><ResetWithEarth>true</ResetWithEarth></Actor>
  <Actor><Name>guard</Name><Persistent>true</Persistent><ResetWithEarth>false</ResetWithEarth></Actor>
</ActorDefinitions>)");
        return true;
    }();
    (void)loaded;
    return {library(), &resources, &actors};
}

std::shared_ptr<zor::PersistentLevelInfo> infoFor(std::uint8_t flags, const zor::LevelDefinition& description) {
    if (flags & 4) return nullptr;
    auto info = std::make_shared<zor::PersistentLevelInfo>();
    info->seedLow = 12345;
    info->seedHigh = 678;
    info->legacy = (flags & 1) != 0;
    if (flags & 2) info->tileMap = std::make_shared<zor::PersistentTileMap>(description.width, description.height, 0);
    return info;
}

void checkWhole(const zor::Level& level, std::size_t typeCount, std::size_t resourceCount) {
    check(!level.layers.empty());
    for (const zor::TileLayerGrid& layer : level.layers) {
        check(layer.tiles.size() == std::size_t(layer.width) * std::size_t(layer.height));
        for (std::uint16_t word : layer.tiles) check(zor::TileWord::typeIndex(word) < typeCount);
    }
    const zor::TileLayerGrid& main = level.mainLayer();
    check(level.tileMap->width() == level.width && level.tileMap->height() == level.height);
    for (const auto& [cell, record] : level.cellRecords) {
        check(cell >= 0 && std::size_t(cell) < main.tiles.size());
        check(record.resourceIndex >= 0 && std::size_t(record.resourceIndex) <= resourceCount);
        const bool marked = (main.tiles[std::size_t(cell)] & zor::TileWord::HasCellRecord) != 0;
        check(marked == (record.resourceIndex != 0));
    }
    for (std::size_t i = 0; i < main.tiles.size(); ++i)
        if (main.tiles[i] & zor::TileWord::HasCellRecord) check(level.cellRecords.count(std::int32_t(i)) == 1);
    for (const auto* placements : {&level.actorPlacements, &level.resourcePlacements})
        for (std::size_t i = 1; i < placements->size(); ++i) check(!((*placements)[i - 1].y < (*placements)[i].y));
}

// A first build keeps persistent entities that a rebuild leaves out, so only the tiles,
// records and script records are compared then.
bool sameLevel(const zor::Level& a, const zor::Level& b, bool samePlacements) {
    if (a.layers.size() != b.layers.size() || a.tileMap->data() != b.tileMap->data()) return false;
    for (std::size_t i = 0; i < a.layers.size(); ++i)
        if (a.layers[i].tiles != b.layers[i].tiles) return false;
    if (a.cellRecords.size() != b.cellRecords.size()) return false;
    for (const auto& [cell, record] : a.cellRecords) {
        const auto found = b.cellRecords.find(cell);
        if (found == b.cellRecords.end() || found->second.resourceIndex != record.resourceIndex) return false;
    }
    if (samePlacements && (a.actorPlacements.size() != b.actorPlacements.size() ||
                           a.resourcePlacements.size() != b.resourcePlacements.size()))
        return false;
    return a.graphNodes.size() == b.graphNodes.size() && a.typedObjects.size() == b.typedObjects.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t flags = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const zor::LevelBuildSources from = sources();

    zor::LevelDefinition description;
    try {
        description.load("fuzz", text, *from.library);
        zor::validateLevel(description, from);
    } catch (const zor::CheckReleaseError&) {
        return 0;
    }
    if (std::int64_t(description.width) * description.height > kMaxFuzzCells) return 0;

    std::shared_ptr<zor::PersistentLevelInfo> info = infoFor(flags, description);
    zor::Randomizer seeds(1, 2);
    const auto first = zor::LevelBuilder(from).buildLevelFromText("fuzz", text, info, seeds);
    checkWhole(*first, from.library->tileTypes.size(), from.resources->definitions().size());
    check(info != nullptr);
    const auto again = zor::LevelBuilder(from).buildLevelFromText("fuzz", text, info, seeds);
    check(sameLevel(*first, *again, (flags & 4) == 0));
    return 0;
}
