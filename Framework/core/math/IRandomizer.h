#pragma once
// The generator interface the level builder draws from, so that a level can
// be rebuilt from two stored seeds with either implementation.

#include <cstdint>

namespace zor {

class IRandomizer {
public:
    virtual ~IRandomizer() = default;
    // Sets the state words: w = first, z = second.
    virtual void seed(std::uint32_t first, std::uint32_t second) = 0;
    // Every draw below steps the generator exactly once.
    virtual std::int32_t nextIntRange(std::int32_t a, std::int32_t b) = 0;
    virtual std::int32_t nextIntBelow(std::int32_t n) = 0;
    // A non-negative 31-bit integer.
    virtual std::int32_t nextInt31() = 0;
    virtual float nextFloatRange(float a, float b) = 0;
    virtual float nextFloatScaled(float x) = 0;
    // In [0, 1]; 1.0 is possible.
    virtual float nextFloat() = 0;
};

} // namespace zor
