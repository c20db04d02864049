#include "game/simulation/digging/HardnessTierDepth.h"

#include <cmath>
#include <limits>

namespace zor {

float hardnessTierDepth(const LevelDefinition& level, std::int32_t tier) {
    if (level.hardnessMultiplier == 0) return 0.0f;
    constexpr float Beyond = std::numeric_limits<float>::infinity();
    // Power 0 makes the curve flat: it reaches no tier at a depth of its own.
    if (level.hardnessPower == 0.0f) return Beyond;
    const float base = float(tier) / float(level.hardnessMultiplier) - float(level.hardnessConstant);
    const float depth = std::pow(base, 1.0f / level.hardnessPower) / level.hardnessLinear -
                        float(level.hardnessDepthDelta) - float(level.startDepth);
    return std::isfinite(depth) ? depth : Beyond;
}

} // namespace zor
