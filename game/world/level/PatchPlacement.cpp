// Patch placement: the slice's catalogue of patches, the candidate copies of each list,
// the filler patches, and the placement of one copy.

#include <algorithm>
#include <cmath>

#include "game/world/level/LevelBuilder.h"
#include "game/world/level/LevelMath.h"

namespace zor {

namespace {

// More candidates than a level has cells cannot all find room; the cap keeps an absurd
// weight or an empty footprint from making a deck of billions.
constexpr double kMaxCandidates = double(1 << 20);

std::int32_t catalogueKey(const PatchSet::Patch& patch) {
    switch (patch.fixedCoordinates()) {
    case 2:
        return PatchCatalogue::BothFixedKey;
    case 1:
        return PatchCatalogue::OneFixedKey;
    default:
        return patch.priority;
    }
}

} // namespace

std::int32_t candidateCopies(const PatchSet::Patch& patch, float innerArea, std::int32_t spacing,
                             std::int32_t usesSoFar) {
    if (patch.weight == 0.0f && patch.count == 0) return 0;
    const double footprintArea = (double(spacing) + patch.height + patch.margin) *
                                 (double(spacing) + patch.width + patch.margin);
    const double byArea = std::trunc(double(patch.weight) * double(innerArea) / footprintArea);
    const std::int32_t m = byArea >= 1.0 ? std::int32_t(std::min(byArea, kMaxCandidates)) : 1;
    std::int32_t n = std::min(patch.count, m);
    if (patch.weight == 0.0f)
        n = patch.count;
    else if (patch.count == 0 && patch.weight > 0.0f)
        n = m;
    if (patch.maxUses > 0) n = std::min(n, patch.maxUses - usesSoFar);
    if (patch.fixedCoordinates() > 0) n = 1;
    return n;
}

PatchCatalogue LevelBuilder::makeCatalogue() const {
    const LevelSlice& slice = *m_currentSlice;
    const FillerSettings& settings = slice.fillers;
    PatchCatalogue catalogue;
    for (const std::string& name : slice.patchSets) {
        const auto entry = std::find_if(m_patchSets.begin(), m_patchSets.end(),
                                        [&](const auto& named) { return named.first == name; });
        if (entry == m_patchSets.end()) continue;
        for (const auto& shared : entry->second->patches) {
            const Patch& patch = *shared;
            if (!slice.forcedPatch.empty() && slice.forcedPatch != patch.name) continue;
            const std::int64_t roomX = std::int64_t(slice.width) - 2 * std::int64_t(settings.borderWidth) -
                                       patch.margin - settings.spacing;
            const std::int64_t roomY = std::int64_t(slice.height) - patch.margin - settings.spacing;
            if (roomX < patch.width || roomY < patch.height) continue;
            if (patch.maxUses > 0 && usesOf(patch) >= patch.maxUses) continue;
            const std::int32_t key = catalogueKey(patch);
            if (patch.hasTileLayer(0))
                catalogue.solid[key].push_back(&patch);
            else if (patch.tileLayers.size() < 2)
                continue;
            else if (patch.fixedCoordinates() == 0 && patch.weight > 0.0f)
                catalogue.fillers.push_back(&patch);
            else
                catalogue.decoration[key].push_back(&patch);
        }
    }
    return catalogue;
}

std::optional<RandomDeck<const PatchSet::Patch*>> LevelBuilder::buildCandidateDeck(
    const std::vector<const Patch*>& list) {
    const float area = float(innerArea());
    std::vector<const Patch*> candidates;
    for (const Patch* patch : list) {
        const std::int32_t copies = candidateCopies(*patch, area, fillers().spacing, usesOf(*patch));
        const auto deck = patch->deckName.empty() ? m_decks.end() : m_decks.find(patch->deckName);
        for (std::int32_t i = 0; i < copies; ++i)
            if (deck == m_decks.end() || deck->second->draw(*m_randomizer)) candidates.push_back(patch);
    }
    if (candidates.empty()) return std::nullopt;
    return RandomDeck<const Patch*>(candidates);
}

// Every candidate copy is tried once, in random order.
void LevelBuilder::placePatchList(const std::vector<const Patch*>& list, bool withSpacing) {
    std::optional<RandomDeck<const Patch*>> deck = buildCandidateDeck(list);
    if (!deck) return;
    for (std::size_t i = 0, n = deck->size(); i < n; ++i) tryPlacePatch(*deck->draw(*m_randomizer), withSpacing);
}

// Filler patches are drawn by weight and placed until each has failed once. Each success
// blocks at least one free cell, so no more successes than inner cells can come from the
// free-run grid; the limit ends fillers that take carved or unpainted cells, which they
// never use up.
void LevelBuilder::placeFillerPatches(const std::vector<const Patch*>& list) {
    if (list.empty()) return;
    std::vector<RandomDeck<const Patch*>::Entry> pool;
    for (const Patch* patch : list) pool.push_back({patch, patch->weight});
    RandomDeck<const Patch*> deck(pool);
    std::int64_t successesLeft = std::max<std::int64_t>(innerArea(), 0);
    for (;;) {
        const Patch* patch = deck.draw(*m_randomizer);
        if (tryPlacePatch(*patch, false)) {
            if (--successesLeft < 0) return;
        } else {
            if (pool.size() < 2) return;
            const auto failed = std::find_if(pool.begin(), pool.end(), [&](const auto& e) { return e.value == patch; });
            *failed = pool.back();
            pool.pop_back();
            deck.assign(pool);
        }
        deck.reset();
    }
}

bool LevelBuilder::tryPlacePatch(const Patch& patch, bool withSpacing) {
    if (patch.maxUses > 0 && usesOf(patch) >= patch.maxUses) return false;
    ++m_placementNumber;
    m_currentPatch = &patch;
    const std::int32_t a = (withSpacing ? fillers().spacing : 0) + patch.margin;
    const iVector2 footprint(a + patch.width, a + patch.height);
    iVector2 position;
    if (patch.fixedCoordinates() == 2) {
        position = {patch.fixedX + m_sliceRect.x - m_innerRect.x, patch.fixedY + m_sliceRect.y - m_innerRect.y};
    } else {
        const PlacementArea area{m_freeRun, m_level->mainLayer(), m_sliceRect, m_innerRect};
        const std::optional<iVector2> found = m_search.find(area, footprint, patch, *m_randomizer);
        if (!found) return false;
        position = *found;
    }
    const iVector2 origin = position + iVector2(a / 2, a / 2);
    if (patch.maxUses > 0) ++m_patchUseCounts[patch.id];
    for (std::size_t i = 0; i < patch.tileLayers.size(); ++i)
        if (patch.hasTileLayer(i)) copyPatchLayer(i, patch, origin);
    if (patch.hasTileLayer(0)) copyPatchResources(patch, origin);
    m_freeRun.markOccupied(position.x, position.y, footprint.x, footprint.y);
    // The objects sit at the footprint's corner, without the tiles' half-margin shift.
    copyPatchObjects(40.0f * float(m_innerRect.x + position.x), 40.0f * float(m_innerRect.y + position.y));
    return true;
}

std::int32_t LevelBuilder::usesOf(const Patch& patch) const {
    const auto found = m_patchUseCounts.find(patch.id);
    return found == m_patchUseCounts.end() ? 0 : found->second;
}

} // namespace zor
