#include "game/world/level/LevelBuilder.h"

#include <algorithm>
#include <cmath>

#include "Framework/core/Errors.h"
#include "Framework/core/math/LegacyRandomizer.h"
#include "Framework/core/math/Randomizer.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/LevelValidation.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

namespace {

// Beyond any level width: a larger combined step places every slice at column 0 all the
// same, so the step is capped there instead of overflowing.
constexpr std::int64_t kMaxCombinedStep = std::int64_t(1) << 20;

// The combination rule of the patch library, with the product capped.
std::int32_t cappedCombine(std::int32_t step, std::int32_t scale) {
    if (step == 1) return scale;
    if (scale == step || scale == 1) return step;
    const std::int32_t high = std::max(step, scale);
    const std::int32_t low = std::min(step, scale);
    if (high % low == 0) return high;
    return std::int32_t(std::min(std::int64_t(step) * scale, kMaxCombinedStep));
}

} // namespace

LevelBuilder::LevelBuilder(LevelBuildSources sources)
    : m_sources(std::move(sources)), m_resourceTable(m_sources.resources->definitions()) {}

LevelBuilder::~LevelBuilder() = default;

std::shared_ptr<Level> LevelBuilder::buildLevel(const std::string& name, std::shared_ptr<PersistentLevelInfo>& info,
                                                Randomizer& seeds) {
    startBuild();
    m_level->load(name, *m_sources.library);
    return buildLoaded(info, seeds);
}

std::shared_ptr<Level> LevelBuilder::buildLevelFromText(const std::string& name, const std::string& description,
                                                        std::shared_ptr<PersistentLevelInfo>& info, Randomizer& seeds) {
    startBuild();
    m_level->load(name, description, *m_sources.library);
    return buildLoaded(info, seeds);
}

// A builder used again starts from nothing but its resource table.
void LevelBuilder::startBuild() {
    m_level = std::make_shared<Level>();
    m_level->library = m_sources.library;
    m_slicePlacements.clear();
    m_patchSets.clear();
    m_patchUseCounts.clear();
    m_decks.clear();
    m_reservedCells.clear();
    m_placementNumber = 0;
}

std::shared_ptr<Level> LevelBuilder::buildLoaded(std::shared_ptr<PersistentLevelInfo>& info, Randomizer& seeds) {
    validateLevel(*m_level, m_sources);
    for (const LevelSlice& slice : m_level->slices)
        for (const std::string& name : slice.patchSets) addPatchSet(name, m_sources.library->findPatchSet(name));
    return generate(info, seeds);
}

void LevelBuilder::addPatchSet(const std::string& name, std::shared_ptr<const PatchSet> set) {
    if (!set) return;
    for (auto& entry : m_patchSets)
        if (entry.first == name) return;
    m_patchSets.emplace_back(name, std::move(set));
}

std::shared_ptr<Level> LevelBuilder::buildSpecificPatchLevel(const std::string& patchSetName,
                                                             const std::string& patchName, Randomizer& seeds) {
    const auto fail = [&](const std::string& reason) {
        return CheckReleaseError("Could not build the level of patch '" + patchName + "' of set '" + patchSetName +
                                 "': " + reason);
    };
    const std::shared_ptr<const PatchSet> library = m_sources.library->findPatchSet(patchSetName);
    if (!library) throw fail("the patch library has no such set");
    auto set = std::make_shared<PatchSet>();
    set->name = library->name;
    for (const auto& patch : library->patches)
        if (patch->name == patchName) set->patches.push_back(patch);
    if (set->patches.empty()) throw fail("the set has no such patch");
    const Patch& named = *set->patches.front();
    if (named.width < 1 || named.height < 1 || named.width > LevelLimits::MaxTiles ||
        named.height > LevelLimits::MaxTiles)
        throw fail("its size " + std::to_string(named.width) + " x " + std::to_string(named.height) +
                   " is not within 1 to " + std::to_string(LevelLimits::MaxTiles) + " tiles");
    // The library's patch stays as it is; the copy keeps its id, so uses still count.
    auto alone = std::make_shared<Patch>(*set->patches.front());
    alone->fixedX = -1;
    alone->fixedY = -1;
    alone->margin = 0;
    set->patches.front() = alone;

    startBuild();
    m_level->fillers = FillerSettings();
    LevelSlice slice;
    slice.width = alone->width;
    slice.height = alone->height;
    slice.patchSets = {patchSetName};
    slice.forcedPatch = patchName;
    m_level->slices.push_back(slice);
    m_level->computeSize(*m_sources.library);
    addPatchSet(patchSetName, set);

    std::shared_ptr<PersistentLevelInfo> discarded;
    return generate(discarded, seeds);
}

std::shared_ptr<Level> LevelBuilder::generate(std::shared_ptr<PersistentLevelInfo>& info, Randomizer& seeds) {
    takeSeeds(info, seeds);
    makeRandomizer(*info);
    const std::int32_t step = makeLayers();
    takeByteGrid(*info);
    makeDecks();
    placeSlices(step);
    for (std::size_t index = 0; index < m_slicePlacements.size(); ++index) buildSlice(index);
    emptyUnpaintedGaps();
    sortPlacements();
    return m_level;
}

void LevelBuilder::takeSeeds(std::shared_ptr<PersistentLevelInfo>& info, Randomizer& seeds) {
    if (info) {
        m_freshLevel = m_level->resetEntities;
        return;
    }
    info = std::make_shared<PersistentLevelInfo>();
    info->seedLow = seeds.nextInt31();
    seeds.next();  // the middle output is not used
    info->seedHigh = seeds.nextInt31();
    info->legacy = false;
    m_freshLevel = true;
}

void LevelBuilder::makeRandomizer(const PersistentLevelInfo& info) {
    m_legacy = info.legacy;
    if (m_legacy)
        m_randomizer = std::make_unique<LegacyRandomizer>(LevelGeneratorW, LevelGeneratorZ);
    else
        m_randomizer = std::make_unique<RandomizerAdapter<Randomizer>>(LevelGeneratorW, LevelGeneratorZ);
    m_randomizer->seed(std::uint32_t(info.seedLow), std::uint32_t(info.seedHigh));
}

std::int32_t LevelBuilder::makeLayers() {
    std::size_t count = 0;
    std::vector<std::int32_t> scales;
    for (const auto& [name, set] : m_patchSets)
        for (const auto& patch : set->patches) {
            count = std::max(count, patch->tileLayers.size());
            scales.resize(std::max(scales.size(), count), 0);
            for (std::size_t i = 0; i < patch->tileLayers.size(); ++i)
                if (patch->tileLayers[i] && scales[i] == 0) scales[i] = patch->tileLayers[i]->scale;
        }
    for (const LevelSlice& slice : m_level->slices)
        count = std::max(count, std::size_t(fillerLayerCount(slice.fillers)));
    // Every pass works on layer 0, even where neither patches nor fillers name a layer.
    count = std::max<std::size_t>(count, 1);
    scales.resize(std::max(scales.size(), count), 0);

    m_level->layers.resize(count);
    std::int32_t step = 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t scale = scales[i] > 0 ? scales[i] : 1;
        TileLayerGrid& layer = m_level->layers[i];
        layer.depth = float(i);
        layer.scale = scale;
        layer.width = m_level->width / scale;
        layer.height = m_level->height / scale;
        layer.tiles.assign(std::size_t(layer.width) * std::size_t(layer.height), TileWord::Unpainted);
        step = cappedCombine(step, scale);
    }
    return step;
}

void LevelBuilder::takeByteGrid(const PersistentLevelInfo& info) {
    const PersistentTileMap* remembered = info.tileMap.get();
    if (remembered && remembered->width() == m_level->width && remembered->height() == m_level->height)
        m_level->tileMap = std::make_shared<PersistentTileMap>(*remembered);
    else
        m_level->tileMap = std::make_shared<PersistentTileMap>(m_level->width, m_level->height, TileBits::Solid);
}

void LevelBuilder::makeDecks() {
    for (const PatchDeck& deck : m_level->patchDecks) {
        std::vector<bool> cards(std::size_t(std::max(deck.positives, 0)), true);
        cards.resize(cards.size() + std::size_t(std::max(deck.negatives, 0)), false);
        m_decks[deck.name] = std::make_shared<RandomDeck<bool>>(cards);
    }
}

void LevelBuilder::placeSlices(std::int32_t step) {
    std::int32_t y = 0;
    for (const LevelSlice& slice : m_level->slices) {
        const std::int32_t x = step * ((m_level->width / 2 - slice.width / 2) / step);
        m_slicePlacements.push_back({&slice, x, y});
        y += slice.height;
    }
}

// A layer of scale 2 under slices of odd heights has rows that no slice's fill reaches;
// they become empty rather than stay unpainted. Main-layer rows are always filled.
void LevelBuilder::emptyUnpaintedGaps() {
    for (TileLayerGrid& layer : m_level->layers)
        std::replace(layer.tiles.begin(), layer.tiles.end(), TileWord::Unpainted, std::uint16_t(0));
}

void LevelBuilder::sortPlacements() {
    // Stable, so placements of one height keep the order their copies were made in.
    const auto lowerFirst = [](const PatchEntity& a, const PatchEntity& b) {
        const float ay = std::isnan(a.y) ? -INFINITY : a.y;
        const float by = std::isnan(b.y) ? -INFINITY : b.y;
        return ay > by;
    };
    std::stable_sort(m_level->actorPlacements.begin(), m_level->actorPlacements.end(), lowerFirst);
    std::stable_sort(m_level->resourcePlacements.begin(), m_level->resourcePlacements.end(), lowerFirst);
}

} // namespace zor
