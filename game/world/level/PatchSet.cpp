#include "game/world/level/PatchSet.h"

#include <algorithm>
#include <atomic>

namespace zor {

namespace {

std::atomic<std::int32_t> g_lastPatchId{0};

} // namespace

std::int32_t combineStep(std::int32_t step, std::int32_t scale) {
    if (step == 1) return scale;
    if (scale == step || scale == 1) return step;
    const std::int32_t high = std::max(step, scale);
    const std::int32_t low = std::min(step, scale);
    if (high % low == 0) return high;
    return step * scale;
}

PatchSet::Patch::Patch() : id(++g_lastPatchId) {}

} // namespace zor
