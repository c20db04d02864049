#pragma once
// The program's pseudo-random generator: Marsaglia's multiply-with-carry
// with the multipliers 36969 (z) and 18000 (w). Not locked; copying the two
// state words copies the sequence.

#include <cstdint>

#include "Framework/core/math/IRandomizer.h"
#include "Framework/core/math/Vector.h"

namespace zor {

class Randomizer {
public:
    Randomizer() = default;
    Randomizer(std::uint32_t w, std::uint32_t z) : w_(w), z_(z) {}

    // The generator made from one seed (the clock seed at start-up): w = seed,
    // z = seed * 16052147 modulo 2^32.
    static Randomizer fromSeed(std::uint32_t seed);

    std::uint32_t w() const { return w_; }
    std::uint32_t z() const { return z_; }
    void setState(std::uint32_t w, std::uint32_t z) {
        w_ = w;
        z_ = z;
    }

    // Every draw steps once; this is the raw 32-bit output of the step.
    std::uint32_t next();
    // Output & 0x7FFFFFFF.
    std::int32_t nextInt31() { return std::int32_t(next() & 0x7FFFFFFFu); }
    // A uniform index below count: the high word of output * count.
    std::uint32_t nextIndex(std::uint32_t count) {
        return std::uint32_t((std::uint64_t(next()) * count) >> 32);
    }
    // Bit 31 of the output.
    bool nextBool() { return (next() & 0x80000000u) != 0; }
    // Output * 2^-32 rounded to float: in [0, 1], 1.0 for outputs from 0xFFFFFF80 on.
    float nextFloat();
    float nextFloatScaled(float scale) { return scale * nextFloat(); }
    // a + (b - a) * nextFloat(), with b - a and the sum in double and only the
    // result rounded to float; a > b is allowed and b itself can come out.
    float nextFloatRange(float a, float b);
    // A unit vector at a uniform angle.
    fpVector2 nextDirection();

private:
    std::uint32_t w_ = 0;
    std::uint32_t z_ = 0;
};

// The clock seed of start-up: the system time in hundredths of a second since
// 1601-01-01 UTC, reduced modulo 2147483647.
std::uint32_t clockSeed();

// IRandomizer over an embedded generator (used as RandomizerAdapter<Randomizer>).
template <typename Generator>
class RandomizerAdapter : public IRandomizer {
public:
    RandomizerAdapter(std::uint32_t w, std::uint32_t z) : generator_(w, z) {}

    const Generator& generator() const { return generator_; }

    void seed(std::uint32_t first, std::uint32_t second) override { generator_.setState(first, second); }
    std::int32_t nextIntRange(std::int32_t a, std::int32_t b) override {
        // Wrapping 32-bit arithmetic, as the stored levels were generated with.
        const std::int32_t span = std::int32_t(std::uint32_t(b) - std::uint32_t(a));
        return std::int32_t(std::uint32_t(a) + std::uint32_t(scaledHighWord(span)));
    }
    std::int32_t nextIntBelow(std::int32_t n) override { return scaledHighWord(n); }
    std::int32_t nextInt31() override { return generator_.nextInt31(); }
    float nextFloatRange(float a, float b) override { return generator_.nextFloatRange(a, b); }
    float nextFloatScaled(float x) override { return generator_.nextFloatScaled(x); }
    float nextFloat() override { return generator_.nextFloat(); }

private:
    // High 32 bits of the unsigned output times the sign-extended bound.
    std::int32_t scaledHighWord(std::int32_t bound) {
        const std::uint64_t product = std::uint64_t(generator_.next()) * std::uint64_t(std::int64_t(bound));
        return std::int32_t(std::uint32_t(product >> 32));
    }

    Generator generator_;
};

} // namespace zor
