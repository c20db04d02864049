#pragma once
// What the boss instructions keep between them through one fight. BossStart sets it up;
// one fight runs at a time. The EnemySimulator owns it, so each game has its own and a
// replay of the same steps sees the same values.

#include "Framework/core/math/Color.h"

#include <cstdint>

namespace zor {

struct BossFight {
    // Game objects in the World when the fight began; the hatch stays shut at 6 more.
    std::int32_t baseObjectCount = 0;
    // Seconds in the current vulnerable period, or of the backdrop's fade back.
    float phaseTimer = 0.0f;
    // Seconds left of the ending's current step.
    float sequenceTimer = 0.0f;
    // The ambient colour of the fight, darker with each lost phase.
    PackedColor backdropColour{0xFFFFFFFF};
};

} // namespace zor
