#pragma once
// Finding room for one copy of a patch in a slice: random tries first, then an exhaustive
// scan of the free-run grid, remembering footprints that found no room in the current pass
// so that larger ones fail at once. Positions are relative to the slice's inner rectangle.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"
#include "game/world/level/PatchSet.h"

namespace zor {

class FreeRunGrid;
class IRandomizer;
struct TileLayerGrid;

// Where the search looks: the free-run grid over innerRect and layer 0 of the level.
struct PlacementArea {
    const FreeRunGrid& freeRun;
    const TileLayerGrid& mainLayer;
    iRect sliceRect;
    iRect innerRect;
};

// Footprints (width, height) that found no room, one list per patch step.
class FailedSizes {
public:
    // Whether a footprint at least as large in both directions already failed.
    bool covers(std::int32_t step, std::int32_t width, std::int32_t height) const;
    // Keeps the footprint in place of every larger one it covers.
    void record(std::int32_t step, std::int32_t width, std::int32_t height);
    void clear() { m_sizes.clear(); }
    const std::vector<iVector2>& of(std::int32_t step) const;

private:
    std::map<std::int32_t, std::vector<iVector2>> m_sizes;
};

class PatchPositionSearch {
public:
    // The top-left corner of a footprint of `size` for `patch`, aligned to the patch's step
    // in level coordinates, or none. Patches placed on carved or on unpainted cells only
    // take random tries and remember nothing; a patch with one fixed coordinate searches
    // only its fixed column or row and remembers nothing.
    std::optional<iVector2> find(const PlacementArea& area, iVector2 size, const PatchSet::Patch& patch,
                                 IRandomizer& randomizer);

    FailedSizes failedSizes;

private:
    std::vector<std::int64_t> m_candidateCells;  // row * innerRect width + column
};

} // namespace zor
