#pragma once
// Colours: the packed 32-bit form used by vertices and batches, and the float
// triple read from data files.

#include <cstdint>
#include <iosfwd>

namespace zor {

// Red in bits 0-7, then green, blue and alpha: the bytes lie in memory in
// the order red, green, blue, alpha, as the vertex layout expects.
struct PackedColor {
    std::uint32_t value = 0;

    constexpr PackedColor() = default;
    constexpr explicit PackedColor(std::uint32_t packed) : value(packed) {}

    static constexpr PackedColor fromChannels(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                              std::uint8_t alpha) {
        return PackedColor(std::uint32_t(red) | std::uint32_t(green) << 8 | std::uint32_t(blue) << 16 |
                           std::uint32_t(alpha) << 24);
    }

    constexpr std::uint8_t red() const { return std::uint8_t(value); }
    constexpr std::uint8_t green() const { return std::uint8_t(value >> 8); }
    constexpr std::uint8_t blue() const { return std::uint8_t(value >> 16); }
    constexpr std::uint8_t alpha() const { return std::uint8_t(value >> 24); }

    // The channels as floats in [0, 1] (each byte / 255).
    constexpr float redFloat() const { return red() / 255.0f; }
    constexpr float greenFloat() const { return green() / 255.0f; }
    constexpr float blueFloat() const { return blue() / 255.0f; }
    constexpr float alphaFloat() const { return alpha() / 255.0f; }
};

constexpr bool operator==(const PackedColor& a, const PackedColor& b) { return a.value == b.value; }
constexpr bool operator!=(const PackedColor& a, const PackedColor& b) { return a.value != b.value; }

// Opaque white (0xFFFFFFFF), the colour that leaves a drawn image as it is.
const PackedColor& colorWhite();

// Four channels, each 0 to 1.
struct FloatColor {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;
};

// All four channels equal.
bool colorEquals(const FloatColor& a, const FloatColor& b);

// Shared opaque colours, each one object built on its first use (from any thread).
const FloatColor& colorBlackFloat();
const FloatColor& colorWhiteFloat();
const FloatColor& colorRedFloat();

struct Color3 {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;

    constexpr Color3() = default;
    constexpr Color3(float red, float green, float blue) : r(red), g(green), b(blue) {}
};

inline bool operator==(const Color3& a, const Color3& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(const Color3& a, const Color3& b) { return !(a == b); }

// Read only (data files never get colours written back): red, one separator
// character, green, one separator character, blue.
std::istream& operator>>(std::istream& in, Color3& c);

} // namespace zor
