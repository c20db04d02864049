#include "Framework/core/math/Noise.h"

#include <array>
#include <cstdint>

namespace zor {
namespace {

// The permutation of Perlin's reference improved noise.
constexpr std::uint8_t kPermutation[256] = {
    151, 160, 137, 91,  90,  15,  131, 13,  201, 95,  96,  53,  194, 233, 7,   225, 140, 36,  103, 30,  69,  142,
    8,   99,  37,  240, 21,  10,  23,  190, 6,   148, 247, 120, 234, 75,  0,   26,  197, 62,  94,  252, 219, 203,
    117, 35,  11,  32,  57,  177, 33,  88,  237, 149, 56,  87,  174, 20,  125, 136, 171, 168, 68,  175, 74,  165,
    71,  134, 139, 48,  27,  166, 77,  146, 158, 231, 83,  111, 229, 122, 60,  211, 133, 230, 220, 105, 92,  41,
    55,  46,  245, 40,  244, 102, 143, 54,  65,  25,  63,  161, 1,   216, 80,  73,  209, 76,  132, 187, 208, 89,
    18,  169, 200, 196, 135, 130, 116, 188, 159, 86,  164, 100, 109, 198, 173, 186, 3,   64,  52,  217, 226, 250,
    124, 123, 5,   202, 38,  147, 118, 126, 255, 82,  85,  212, 207, 206, 59,  227, 47,  16,  58,  17,  182, 189,
    28,  42,  223, 183, 170, 213, 119, 248, 152, 2,   44,  154, 163, 70,  221, 153, 101, 155, 167, 43,  172, 9,
    129, 22,  39,  253, 19,  98,  108, 110, 79,  113, 224, 232, 178, 185, 112, 104, 218, 246, 97,  228, 251, 34,
    242, 193, 238, 210, 144, 12,  191, 179, 162, 241, 81,  51,  145, 235, 249, 14,  239, 107, 49,  192, 214, 31,
    181, 199, 106, 157, 184, 84,  204, 176, 115, 121, 50,  45,  127, 4,   150, 254, 138, 236, 205, 93,  222, 114,
    67,  29,  24,  72,  243, 141, 128, 195, 78,  66,  215, 61,  156, 180,
};

// Stored twice so that a sum of two indices below 256 stays inside.
constexpr std::array<std::uint8_t, 512> makeDoubledTable() {
    std::array<std::uint8_t, 512> table{};
    for (int i = 0; i < 512; ++i)
        table[i] = kPermutation[i & 255];
    return table;
}

constexpr std::array<std::uint8_t, 512> kPerm = makeDoubledTable();

constexpr float kSkew = 0.3660254f;
constexpr float kUnskew = 0.21132487f;
constexpr float kUnskewTwice = 0.42264974f;

// Integer part for positive values, integer part minus 1 otherwise (so an
// exact 0 lands in cell -1).
std::int32_t cellOf(float v) {
    const auto truncated = static_cast<std::int32_t>(v);
    return v > 0.0f ? truncated : truncated - 1;
}

float gradient1D(std::int32_t hash, float x) {
    float grad = float((hash & 7) + 1);
    if (hash & 8)
        grad = -grad;
    return grad * x;
}

float gradient2D(std::int32_t hash, float dx, float dy) {
    const bool swap = (hash & 4) != 0;
    const float u = swap ? dy : dx;
    const float v = swap ? dx : dy;
    return ((hash & 1) ? -u : u) + ((hash & 2) ? -2.0f * v : 2.0f * v);
}

float corner2D(std::int32_t hash, float dx, float dy) {
    const float r = 0.5f - dx * dx - dy * dy;
    if (r < 0.0f)
        return 0.0f;
    const float r2 = r * r;
    return r2 * r2 * gradient2D(hash, dx, dy);
}

// One octave, in about [-1, 1].
float simplex2D(float x, float y) {
    const float s = (x + y) * kSkew;
    const std::int32_t i = cellOf(x + s);
    const std::int32_t j = cellOf(y + s);
    const float t = float(i + j) * kUnskew;
    const float x0 = x - (float(i) - t);
    const float y0 = y - (float(j) - t);
    const std::int32_t i1 = x0 > y0 ? 1 : 0;
    const std::int32_t j1 = x0 > y0 ? 0 : 1;
    const float x1 = x0 - float(i1) + kUnskew;
    const float y1 = y0 - float(j1) + kUnskew;
    const float x2 = x0 - 1.0f + kUnskewTwice;
    const float y2 = y0 - 1.0f + kUnskewTwice;

    // Masked rather than reduced by the signed remainder: negative cells
    // would otherwise index before the table.
    const std::int32_t ii = i & 255;
    const std::int32_t jj = j & 255;
    const float n0 = corner2D(kPerm[ii + kPerm[jj]], x0, y0);
    const float n1 = corner2D(kPerm[ii + i1 + kPerm[jj + j1]], x1, y1);
    const float n2 = corner2D(kPerm[ii + 1 + kPerm[jj + 1]], x2, y2);
    return 40.0f * (n0 + n1 + n2);
}

} // namespace

float simplexNoise1D(float x) {
    const std::int32_t i0 = cellOf(x);
    const float x0 = x - float(i0);
    const float x1 = x0 - 1.0f;
    float t0 = 1.0f - x0 * x0;
    t0 *= t0;
    float t1 = 1.0f - x1 * x1;
    t1 *= t1;
    const float n0 = t0 * t0 * gradient1D(kPerm[i0 & 255], x0);
    const float n1 = t1 * t1 * gradient1D(kPerm[(i0 + 1) & 255], x1);
    return 0.395f * (n0 + n1);
}

float simplexNoise2D(std::int32_t octaves, float x, float y, float persistence) {
    if (octaves < 1)
        return 0.5f;
    float total = 0.0f;
    float frequency = 1.0f;
    float amplitude = 1.0f;
    float amplitudeSum = 0.0f;
    for (std::int32_t octave = 0; octave < octaves; ++octave) {
        const float noise = simplex2D(x * frequency, y * frequency);
        total += amplitude * (noise + 1.0f) * 0.5f;
        amplitudeSum += amplitude;
        frequency *= 2.0f;
        amplitude *= persistence;
    }
    return total / amplitudeSum;
}

} // namespace zor
