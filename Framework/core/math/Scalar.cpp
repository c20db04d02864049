#include "Framework/core/math/Scalar.h"

#include <array>
#include <cmath>

namespace zor {
namespace {

constexpr std::array<std::int8_t, 256> makeLog2Table() {
    std::array<std::int8_t, 256> table{};
    table[0] = -1;
    for (int i = 1; i < 256; ++i)
        table[i] = std::int8_t(table[i / 2] + 1);
    return table;
}

constexpr std::array<std::int8_t, 256> kLog2Table = makeLog2Table();

} // namespace

float sign(float x) {
    if (x > 0.0f)
        return 1.0f;
    if (x < 0.0f)
        return -1.0f;
    return 0.0f;
}

float roundHalfAway(float x) { return x > 0.0f ? std::floor(x + 0.5f) : std::ceil(x - 0.5f); }

float clamp01(float x) {
    if (!(x > 0.0f))
        return 0.0f;
    return x < 1.0f ? x : 1.0f;
}

std::int32_t log2Floor(std::uint32_t n) {
    if (const std::uint32_t top = n >> 24)
        return 24 + kLog2Table[top];
    if (const std::uint32_t third = n >> 16)
        return 16 + kLog2Table[third];
    if (const std::uint32_t second = n >> 8)
        return 8 + kLog2Table[second];
    return kLog2Table[n];
}

} // namespace zor
