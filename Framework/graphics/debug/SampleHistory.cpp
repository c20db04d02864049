#include "Framework/graphics/debug/SampleHistory.h"

#include <algorithm>
#include <numeric>

namespace zor {

void SampleHistory::add(float value) {
    m_sum = m_sum - m_samples[m_position] + value;
    m_samples[m_position] = value;
    ++m_position;
    m_filled = std::max(m_filled, m_position);
    if (m_position == Capacity) {
        m_position = 0;
        // Once per round the sum is taken afresh, so rounding drift never builds up.
        m_sum = std::accumulate(m_samples.begin(), m_samples.end(), 0.0f);
    }
}

float SampleHistory::average() const { return m_filled == 0 ? 0.0f : m_sum / static_cast<float>(m_filled); }

void TrackedHistory::add(float value) {
    history.add(value);
    minimum = std::min(minimum, value);
    maximum = std::max(maximum, value);
}

void TrackedHistory::resetRange() {
    minimum = std::numeric_limits<float>::max();
    maximum = std::numeric_limits<float>::min();
}

} // namespace zor
