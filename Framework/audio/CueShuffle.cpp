#include "Framework/audio/CueShuffle.h"

#include "Framework/core/math/Randomizer.h"

#include <utility>

namespace zor {

void CueShuffle::add(int sampleIndex, float weight) { m_entries.emplace_back(sampleIndex, weight); }

void CueShuffle::complete() {
    m_totalWeight = 0.0f;
    for (const auto& entry : m_entries) {
        m_totalWeight += entry.second;
    }
    m_remainingWeight = m_totalWeight;
    m_position = 0;
}

int CueShuffle::draw(Randomizer& randomizer) {
    const std::size_t count = m_entries.size();
    if (count == 0) {
        return -1;
    }
    if (m_position >= count) {
        m_position = 0;
        m_remainingWeight = m_totalWeight;
    }
    const float target = m_remainingWeight * randomizer.nextFloat();
    float sum = 0.0f;
    std::size_t drawn = m_position;
    for (; drawn < count; ++drawn) {
        sum += m_entries[drawn].second;
        if (sum >= target) {
            break;
        }
    }
    if (drawn == count) {
        // Rounding left the target above the sum of what remains. The last entry has not
        // been drawn in this cycle (entry 0 may have been).
        drawn = count - 1;
    }
    const int sample = m_entries[drawn].first;
    m_remainingWeight -= m_entries[drawn].second;
    if (drawn != m_position) {
        std::swap(m_entries[drawn], m_entries[m_position]);
    }
    ++m_position;
    return sample;
}

} // namespace zor
