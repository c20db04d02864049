#include "Framework/core/math/Randomizer.h"

#include <chrono>
#include <cmath>

#include "Framework/core/math/Angle.h"

namespace zor {

Randomizer Randomizer::fromSeed(std::uint32_t seed) { return Randomizer(seed, seed * 16052147u); }

std::uint32_t Randomizer::next() {
    z_ = 36969u * (z_ & 0xFFFFu) + (z_ >> 16);
    w_ = 18000u * (w_ & 0xFFFFu) + (w_ >> 16);
    return (z_ << 16) + w_;
}

float Randomizer::nextFloat() { return float(double(next()) * (1.0 / 4294967296.0)); }

float Randomizer::nextFloatRange(float a, float b) {
    const double f = nextFloat();
    return float(double(a) + (double(b) - double(a)) * f);
}

fpVector2 Randomizer::nextDirection() {
    const float angle = nextFloat() * kTwoPi;
    return {std::cos(angle), std::sin(angle)};
}

std::uint32_t clockSeed() {
    // 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
    constexpr std::int64_t kEpochOffset = 116444736000000000;
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>(
        std::chrono::system_clock::now().time_since_epoch());
    const double ticks = double(std::uint64_t(sinceEpoch.count() + kEpochOffset));
    const double hundredths = ticks / 10000000.0 * 100.0;
    return std::uint32_t(std::int32_t(std::fmod(hundredths, 2147483647.0)));
}

} // namespace zor
