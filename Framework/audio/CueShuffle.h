#pragma once
// Weighted drawing without replacement over a cue's samples: every sample is drawn once
// per cycle, heavier ones tending to come earlier; a new cycle starts once all are drawn.

#include <cstdint>
#include <utility>
#include <vector>

namespace zor {

class Randomizer;

class CueShuffle {
public:
    // Appends one sample in sample order.
    void add(int sampleIndex, float weight);
    // Starts the first cycle; call after the last add.
    void complete();
    // The next sample index of the cycle, or -1 when there are no samples.
    int draw(Randomizer& randomizer);

    // How many entries the current cycle has drawn so far.
    std::uint32_t position() const { return m_position; }
    float remainingWeight() const { return m_remainingWeight; }

private:
    // (sample index, weight); the drawn ones of this cycle are moved to the front.
    std::vector<std::pair<int, float>> m_entries;
    std::uint32_t m_position = 0;
    float m_totalWeight = 0.0f;
    float m_remainingWeight = 0.0f;
};

} // namespace zor
