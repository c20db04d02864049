#pragma once
// Turns a level name into a Level: loads and checks the description, seeds a generator
// from the level's PersistentLevelInfo and generates the slices top to bottom — fields,
// patches, borders, fill, byte grid and resources. The same info, description, patch
// library and definitions give the same level cell for cell, on every build.
//
// A builder serves one build at a time. It runs on the worker thread: every draw comes
// from the builder's own generator, and new seeds from the generator the caller passes.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Framework/core/math/IRandomizer.h"
#include "Framework/core/math/RandomDeck.h"
#include "Framework/core/math/Rect.h"
#include "game/world/level/FreeRunGrid.h"
#include "game/world/level/Level.h"
#include "game/world/level/LevelBuildSources.h"
#include "game/world/level/PatchPositionSearch.h"
#include "game/world/level/PersistentLevelInfo.h"
#include "game/world/level/ResourceTable.h"

namespace zor {

class Randomizer;
struct TileType;

// The starting words of both level generators, replaced by the seeds.
constexpr std::uint32_t LevelGeneratorW = 0x1f123bb5u;
constexpr std::uint32_t LevelGeneratorZ = 0x159a55e5u;

// The patches of a slice by role: solid and decoration lists by key (both coordinates
// fixed, one fixed, then priority; placed largest key first) and the filler patches.
struct PatchCatalogue {
    using Patch = PatchSet::Patch;
    static constexpr std::int32_t BothFixedKey = 2147483647;
    static constexpr std::int32_t OneFixedKey = 2147483646;

    std::map<std::int32_t, std::vector<const Patch*>> solid;
    std::map<std::int32_t, std::vector<const Patch*>> decoration;
    std::vector<const Patch*> fillers;
};

// How many copies of a patch a slice tries before its deck draws: by weight per inner
// area, by count, or both; at most the uses left; one for a fixed coordinate.
std::int32_t candidateCopies(const PatchSet::Patch& patch, float innerArea, std::int32_t spacing,
                             std::int32_t usesSoFar);

class LevelBuilder {
public:
    using Patch = PatchSet::Patch;

    // Builds the resource table from the sources' resource definitions.
    explicit LevelBuilder(LevelBuildSources sources = LevelBuildSources::current());
    ~LevelBuilder();
    LevelBuilder(const LevelBuilder&) = delete;
    LevelBuilder& operator=(const LevelBuilder&) = delete;

    // Loads "Levels/<name>.xml" and generates the level. An empty `info` slot receives a new
    // record whose seeds are drawn from `seeds` (three steps); a present one is used as it
    // is. Throws CheckReleaseError "Could not load level ...: <reason>" for a description
    // that cannot be loaded or is out of bounds (see validateLevel).
    std::shared_ptr<Level> buildLevel(const std::string& name, std::shared_ptr<PersistentLevelInfo>& info,
                                      Randomizer& seeds);
    // The same with the description's text given.
    std::shared_ptr<Level> buildLevelFromText(const std::string& name, const std::string& description,
                                              std::shared_ptr<PersistentLevelInfo>& info, Randomizer& seeds);
    // A level of one slice the size of the named patch, holding that patch alone (a private
    // copy without fixed position or margin) on fresh seeds that are not remembered. Throws
    // CheckReleaseError naming both names when the library has no such set or patch.
    std::shared_ptr<Level> buildSpecificPatchLevel(const std::string& patchSetName, const std::string& patchName,
                                                   Randomizer& seeds);

    // Of the last build: whether the level was generated for the first time (else the
    // level's resetEntities), whether it used the legacy generator, and the attempts made.
    bool freshLevel() const { return m_freshLevel; }
    bool legacy() const { return m_legacy; }
    std::int32_t placementNumber() const { return m_placementNumber; }
    const ResourceTable& resourceTable() const { return m_resourceTable; }

private:
    struct SlicePlacement {
        const LevelSlice* slice;
        std::int32_t x;
        std::int32_t y;
    };

    // Build order.
    void startBuild();
    std::shared_ptr<Level> buildLoaded(std::shared_ptr<PersistentLevelInfo>& info, Randomizer& seeds);
    void addPatchSet(const std::string& name, std::shared_ptr<const PatchSet> set);
    std::shared_ptr<Level> generate(std::shared_ptr<PersistentLevelInfo>& info, Randomizer& seeds);
    void takeSeeds(std::shared_ptr<PersistentLevelInfo>& info, Randomizer& seeds);
    void makeRandomizer(const PersistentLevelInfo& info);
    std::int32_t makeLayers();
    void takeByteGrid(const PersistentLevelInfo& info);
    void makeDecks();
    void placeSlices(std::int32_t step);
    void emptyUnpaintedGaps();
    void sortPlacements();

    // One slice (SliceBuilder.cpp).
    void buildSlice(std::size_t index);
    void addCameraClamps(const SlicePlacement& placement);
    void takeBorderTiles();
    void paintFields(bool early);
    void paintField(const FillerField& field, bool early);
    void rebuildFreeRunForDecorations();
    void paintBorders();
    void fillLayers();
    void updateByteGrid();

    // Patch placement (PatchPlacement.cpp).
    PatchCatalogue makeCatalogue() const;
    std::optional<RandomDeck<const Patch*>> buildCandidateDeck(const std::vector<const Patch*>& list);
    void placePatchList(const std::vector<const Patch*>& list, bool withSpacing);
    void placeFillerPatches(const std::vector<const Patch*>& list);
    bool tryPlacePatch(const Patch& patch, bool withSpacing);
    std::int32_t usesOf(const Patch& patch) const;

    // Copies of a placed patch (PatchCopy.cpp).
    void copyPatchLayer(std::size_t layerIndex, const Patch& patch, iVector2 origin);
    void copyPatchResources(const Patch& patch, iVector2 origin);
    void copyPatchObjects(float px, float py);

    // Resources (ResourcePlacement.cpp).
    void placeResource(std::int32_t column, std::int32_t row, const std::string& name);
    void placeDepthResource(std::int32_t column, std::int32_t row, float bias, ResourceType type);
    void placeNamedResource(std::int32_t column, std::int32_t row, const std::string& name, bool resolvePlaceholder);
    void placeSliceResources();
    void placeDensityResources();

    // Cells.
    // The cell must lie inside layer 0.
    void overwriteMainTile(std::int32_t column, std::int32_t row, std::uint16_t word);
    const TileType& tileTypeOf(std::uint16_t word) const;
    bool isDiggable(std::int32_t column, std::int32_t row) const;
    bool inByteGrid(std::int32_t column, std::int32_t row) const;
    void setPresent(std::int32_t column, std::int32_t row, bool present);
    const FillerSettings& fillers() const { return m_currentSlice->fillers; }
    std::int32_t innerArea() const;

    LevelBuildSources m_sources;
    std::shared_ptr<Level> m_level;
    ResourceTable m_resourceTable;
    std::vector<SlicePlacement> m_slicePlacements;
    std::unique_ptr<IRandomizer> m_randomizer;
    bool m_legacy = false;
    bool m_freshLevel = false;
    // In the order the slices first name them, so that the first patch met decides.
    std::vector<std::pair<std::string, std::shared_ptr<const PatchSet>>> m_patchSets;
    std::unordered_map<std::int32_t, std::int32_t> m_patchUseCounts;
    std::unordered_map<std::string, std::shared_ptr<RandomDeck<bool>>> m_decks;
    const LevelSlice* m_currentSlice = nullptr;
    const Patch* m_currentPatch = nullptr;
    std::int32_t m_placementNumber = 0;
    iRect m_sliceRect;
    iRect m_innerRect;
    FreeRunGrid m_freeRun;
    PatchPositionSearch m_search;
    std::unordered_set<std::int32_t> m_reservedCells;  // no random resource goes there
    std::vector<std::uint16_t> m_borderTiles;
};

} // namespace zor
