#include "game/world/level/LevelValidation.h"

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "Framework/core/Errors.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/LevelBuildSources.h"
#include "game/world/level/LevelDefinition.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

namespace {

using namespace LevelLimits;

class Check {
public:
    Check(const LevelDefinition& level, const LevelBuildSources& sources) : m_level(level), m_sources(sources) {}

    void all() {
        within(m_level.width, 1, MaxTiles, "the level's width in tiles");
        within(m_level.height, 1, MaxTiles, "the level's height in tiles");
        finite(m_level.resourceTierLength, "ResourceTierLength");
        require(m_level.resourceTierLength != 0.0f, "ResourceTierLength is 0");
        finite(m_level.resourceTierBias, "ResourceTierBias");
        finite(m_level.resourceDensityConstant, "the ResourceDensity Constant");
        finite(m_level.resourceDensityLinear, "the ResourceDensity Linear");
        for (const PatchDeck& deck : m_level.patchDecks) this->deck(deck);
        for (std::size_t i = 0; i < m_level.slices.size(); ++i)
            slice(m_level.slices[i], "slice " + std::to_string(i + 1));
        layerScales();
    }

private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw CheckReleaseError("Could not load level " + m_level.name + ": " + reason);
    }
    void require(bool condition, const std::string& reason) const {
        if (!condition) fail(reason);
    }
    void within(std::int64_t value, std::int64_t low, std::int64_t high, const std::string& what) const {
        require(value >= low && value <= high, what + " is " + std::to_string(value) + ", not within " +
                                                   std::to_string(low) + " to " + std::to_string(high));
    }
    void finite(float value, const std::string& what) const {
        require(std::isfinite(value), what + " is not a number");
    }

    void deck(const PatchDeck& deck) const {
        const std::string what = "the deck '" + deck.name + "'";
        within(deck.positives, 0, MaxCards, "Positives of " + what);
        within(deck.negatives, 0, MaxCards, "Negatives of " + what);
        require(deck.positives + deck.negatives > 0, what + " has no cards");
    }

    void tileSet(const std::string& name, const std::string& what) const {
        if (!name.empty())
            require(m_sources.library->tileSets.count(name) != 0,
                    what + " names the tile set '" + name + "', which the patch library does not hold");
    }

    void slice(const LevelSlice& slice, const std::string& what) {
        within(slice.width, 0, MaxTiles, "the width of " + what);
        within(slice.height, 0, MaxTiles, "the height of " + what);
        for (const std::string& name : slice.patchSets) {
            const std::shared_ptr<const PatchSet> set = m_sources.library->findPatchSet(name);
            if (!set) fail(what + " names the patch set '" + name + "', which the patch library does not hold");
            patches(*set);
        }
        fillers(slice.fillers, what);
        for (const SliceResource& resource : slice.resources) {
            require(m_sources.resources->contains(resource.resource),
                    what + " names the resource '" + resource.resource + "', which is not defined");
            within(resource.count, 0, MaxSliceResources, "the count of '" + resource.resource + "' in " + what);
        }
    }

    void fillers(const FillerSettings& fillers, const std::string& what) const {
        tileSet(fillers.foreground, "the Foreground of " + what);
        tileSet(fillers.midground, "the Midground of " + what);
        tileSet(fillers.background, "the Background of " + what);
        tileSet(fillers.borders, "the Borders of " + what);
        within(fillers.spacing, 0, MaxSpacing, "the Spacing of " + what);
        within(fillers.borderWidth, 0, MaxSpacing, "the BorderWidth of " + what);
        within(fillers.borderHeight, 0, MaxSpacing, "the BorderHeight of " + what);
        finite(fillers.borderStyleValueA, "the BorderStyleValueA of " + what);
        within(std::int64_t(fillers.fields.size()), 0, MaxSliceFields, "the number of fields of " + what);
        for (std::size_t i = 0; i < fillers.fields.size(); ++i)
            field(fillers.fields[i], "field " + std::to_string(i + 1) + " of " + what);
    }

    void field(const FillerField& field, const std::string& what) const {
        tileSet(field.tileset, what);
        within(field.numberOfFields, 0, MaxFields, "NumberOfFields of " + what);
        within(field.octaves, 0, MaxOctaves, "Octaves of " + what);
        within(field.minSizeX, 0, MaxFieldSize, "MinSizeX of " + what);
        within(field.maxSizeX, field.minSizeX, MaxFieldSize, "MaxSizeX of " + what);
        within(field.minSizeY, 0, MaxFieldSize, "MinSizeY of " + what);
        within(field.maxSizeY, field.minSizeY, MaxFieldSize, "MaxSizeY of " + what);
        within(field.radius, 0, MaxFieldSize, "Radius of " + what);
        within(field.gap, -MaxFieldSize, MaxFieldSize, "Gap of " + what);
        const std::pair<float, const char*> numbers[] = {{field.max, "Max"},
                                                         {field.freq, "Freq"},
                                                         {field.freqX, "FreqX"},
                                                         {field.freqY, "FreqY"},
                                                         {field.persistence, "Persistence"}};
        for (const auto& [value, name] : numbers) finite(value, std::string(name) + " of " + what);
    }

    // Each set once: its decks, its resources and, in slice order, its layer scales.
    void patches(const PatchSet& set) {
        if (!m_seenSets.insert(&set).second) return;
        m_setOrder.push_back(&set);
        const std::size_t resourceCount = m_sources.resources->definitions().size();
        for (const auto& patch : set.patches) {
            const std::string what = "the patch '" + patch->name + "' of set '" + set.name + "'";
            if (!patch->deckName.empty()) {
                bool known = false;
                for (const PatchDeck& deck : m_level.patchDecks) known = known || deck.name == patch->deckName;
                require(known, what + " draws from the deck '" + patch->deckName + "', which the level does not have");
            }
            if (!patch->resourceGrid) continue;
            for (std::uint16_t value : patch->resourceGrid->cells)
                require(value <= resourceCount, what + " names resource " + std::to_string(value) + " of " +
                                                    std::to_string(resourceCount));
        }
    }

    void layerScales() const {
        std::map<std::size_t, std::pair<std::int32_t, std::string>> scales;  // layer -> (scale, first patch)
        for (const PatchSet* set : m_setOrder)
            for (const auto& patch : set->patches)
                for (std::size_t i = 0; i < patch->tileLayers.size(); ++i) {
                    if (!patch->tileLayers[i]) continue;
                    const std::int32_t scale = patch->tileLayers[i]->scale;
                    const std::string name = "'" + patch->name + "' of set '" + set->name + "'";
                    const auto [entry, first] = scales.try_emplace(i, scale, name);
                    require(first || entry->second.first == scale,
                            "the patches " + entry->second.second + " and " + name +
                                " disagree on the scale of tile layer " + std::to_string(i) + " (" +
                                std::to_string(entry->second.first) + " and " + std::to_string(scale) + ")");
                }
    }

    const LevelDefinition& m_level;
    const LevelBuildSources& m_sources;
    std::set<const PatchSet*> m_seenSets;
    std::vector<const PatchSet*> m_setOrder;
};

} // namespace

void validateLevel(const LevelDefinition& level, const LevelBuildSources& sources) { Check(level, sources).all(); }

} // namespace zor
