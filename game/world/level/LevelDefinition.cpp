#include "game/world/level/LevelDefinition.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

#include "Framework/core/text/TextUtils.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

namespace {

constexpr float kTileSize = 40.0f;

std::atomic<float>& viewWidth() {
    static std::atomic<float> width{640.0f};
    return width;
}

// Whole numbers beyond 32 bits are clamped; NaN gives 0.
std::int32_t clampedInt32(double value) {
    if (std::isnan(value)) return 0;
    const double truncated = std::trunc(value);
    if (truncated <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(truncated);
}

// A slice without a size of its own takes the size of the one patch with a tile layer 0
// among its patch sets.
void takeSizeOfOnlyPatch(LevelSlice& slice, const PatchLibraryTables& library) {
    const PatchSet::Patch* only = nullptr;
    int candidates = 0;
    for (const std::string& setName : slice.patchSets) {
        const std::shared_ptr<const PatchSet> set = library.findPatchSet(setName);
        if (!set) continue;
        for (const auto& patch : set->patches) {
            if (!patch->hasTileLayer(0)) continue;
            only = patch.get();
            ++candidates;
        }
    }
    if (candidates != 1) return;
    slice.width = only->width;
    slice.height = only->height;
}

} // namespace

std::int32_t fillerLayerCount(const FillerSettings& fillers) {
    if (!fillers.background.empty()) return 3;
    if (!fillers.midground.empty()) return 2;
    if (!fillers.foreground.empty()) return 1;
    return 0;
}

float levelViewWidth() { return viewWidth().load(); }

void setLevelViewWidth(float width) { viewWidth().store(width); }

std::string levelDescriptionPath(const std::string& name) { return joinPath("Levels", name + ".xml"); }

LevelDefinition::LevelDefinition() { fillers.spacing = 1; }

void LevelDefinition::computeSize(const PatchLibraryTables& library) {
    std::int32_t widest = 0;
    std::int64_t total = 0;
    for (LevelSlice& slice : slices) {
        if (slice.width == 0 && slice.height == 0)
            takeSizeOfOnlyPatch(slice, library);
        widest = std::max(widest, slice.width);
        total += slice.height;
    }
    width = widest;
    height = clampedInt32(static_cast<double>(total));
    if (cameraPadding)
        width = clampedInt32(static_cast<double>(width) + static_cast<double>(levelViewWidth()) / kTileSize);
}

std::int32_t LevelDefinition::tileHardness(float depth) const {
    if (hardnessMultiplier == 0) return 0;
    const float top = static_cast<float>(static_cast<std::int64_t>(startDepth) + hardnessDepthDelta);
    const float row = top + depth;
    const float base = row * hardnessLinear;
    float power = std::pow(base, hardnessPower);
    // A negative base has no real fractional power: it adds nothing, leaving the constant.
    if (std::isnan(power)) power = 0.0f;
    const float tier = power + static_cast<float>(hardnessConstant);
    return clampedInt32(static_cast<double>(hardnessMultiplier) * static_cast<double>(clampedInt32(tier)));
}

} // namespace zor
