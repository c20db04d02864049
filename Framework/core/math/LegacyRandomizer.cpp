#include "Framework/core/math/LegacyRandomizer.h"

namespace zor {

void LegacyRandomizer::seed(std::uint32_t first, std::uint32_t second) { generator_.setState(first, second); }

std::int32_t LegacyRandomizer::nextIntRange(std::int32_t a, std::int32_t b) {
    const double f = generator_.nextFloat();
    return std::int32_t(std::int64_t(a) + std::int64_t(f * (double(b) - double(a))));
}

std::int32_t LegacyRandomizer::nextIntBelow(std::int32_t n) {
    const double f = generator_.nextFloat();
    return std::int32_t(f * double(n));
}

std::int32_t LegacyRandomizer::nextInt31() { return generator_.nextInt31(); }

float LegacyRandomizer::nextFloatRange(float a, float b) {
    const float f = generator_.nextFloat();
    const float d = b - a;
    return float(double(a) + double(d) * double(f));
}

float LegacyRandomizer::nextFloatScaled(float x) { return x * generator_.nextFloat(); }

float LegacyRandomizer::nextFloat() { return generator_.nextFloat(); }

} // namespace zor
