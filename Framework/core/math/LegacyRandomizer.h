#pragma once
// The level builder's older generator: the same multiply-with-carry steps as
// Randomizer, but its draws go through the single-precision float, so levels
// of old saves come out as they were first built.

#include <cstdint>

#include "Framework/core/math/IRandomizer.h"
#include "Framework/core/math/Randomizer.h"

namespace zor {

class LegacyRandomizer : public IRandomizer {
public:
    LegacyRandomizer(std::uint32_t w, std::uint32_t z) : generator_(w, z) {}

    void seed(std::uint32_t first, std::uint32_t second) override;
    // Can equal b when the float draw is 1.0.
    std::int32_t nextIntRange(std::int32_t a, std::int32_t b) override;
    // Can equal n when the float draw is 1.0.
    std::int32_t nextIntBelow(std::int32_t n) override;
    std::int32_t nextInt31() override;
    float nextFloatRange(float a, float b) override;
    float nextFloatScaled(float x) override;
    float nextFloat() override;

private:
    Randomizer generator_;
};

} // namespace zor
