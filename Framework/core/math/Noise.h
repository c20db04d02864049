#pragma once
// Simplex noise for the level builder; pure functions of their arguments.

#include <cstdint>

namespace zor {

// In about [-1, 1].
float simplexNoise1D(float x);
// Fractal sum of octaves (frequency doubling, amplitude times persistence per
// octave), each mapped to [0, 1] and averaged by amplitude, so the result lies
// in [0, 1]. Fewer than one octave gives 0.5, the value of no noise.
float simplexNoise2D(std::int32_t octaves, float x, float y, float persistence);

} // namespace zor
