#pragma once
// Small integer helpers of level generation.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "Framework/core/math/IRandomizer.h"

namespace zor {

// Truncation toward zero, saturated to the 32-bit range; NaN gives 0.
inline std::int32_t truncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= double(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    if (value >= double(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(value);
}

inline std::int32_t saturatingAdd(std::int32_t a, std::int32_t b) {
    return truncToInt(double(a) + double(b));
}

// A random index into a list of `size` entries (size > 0). The legacy generator's draw can
// equal its bound; that index means the last entry.
inline std::size_t drawIndex(IRandomizer& randomizer, std::size_t size) {
    const std::int32_t drawn = randomizer.nextIntBelow(std::int32_t(size));
    if (drawn < 0) return 0;
    return std::size_t(drawn) >= size ? size - 1 : std::size_t(drawn);
}

} // namespace zor
