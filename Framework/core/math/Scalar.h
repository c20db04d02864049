#pragma once
// Small scalar helpers.

#include <cstdint>

namespace zor {

// 1, -1 or 0.
float sign(float x);
// Nearest whole number, halves away from zero (2.5 -> 3, -2.5 -> -3).
float roundHalfAway(float x);
// x held to [0, 1]; a NaN gives 0, so a broken fraction never reaches a colour or a blend.
float clamp01(float x);
// floor(log2 n), and -1 for 0.
std::int32_t log2Floor(std::uint32_t n);

} // namespace zor
