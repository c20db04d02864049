#pragma once
// A rolling window of the last 100 samples with an incrementally kept sum.

#include <array>
#include <cstddef>
#include <limits>

namespace zor {

class SampleHistory {
public:
    static constexpr std::size_t Capacity = 100;

    void add(float value);
    // 0 while empty.
    float average() const;
    std::size_t filled() const { return m_filled; }

private:
    std::array<float, Capacity> m_samples{};
    std::size_t m_filled = 0;
    float m_sum = 0.0f;
    std::size_t m_position = 0;
};

// A history with the smallest and largest sample since the range was last reset. An
// unused range reads as (largest float, smallest positive normal float).
struct TrackedHistory {
    void add(float value);
    void resetRange();

    SampleHistory history;
    float minimum = std::numeric_limits<float>::max();
    float maximum = std::numeric_limits<float>::min();
};

} // namespace zor
