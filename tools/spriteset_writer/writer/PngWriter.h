#pragma once
// PNG encoding of 8-bit RGBA images, for atlas pages and generated art.

#include <cstdint>
#include <string>
#include <vector>

namespace zor::spriteset {

// An RGBA image, rows top to bottom, 4 bytes a pixel.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    RgbaImage() = default;
    // Transparent black.
    RgbaImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 4, 0) {}
    std::uint8_t* at(int x, int y) { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
    const std::uint8_t* at(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
};

std::vector<std::uint8_t> encodePng(const RgbaImage& image);
// Throws std::runtime_error naming the path when the file cannot be written.
void writePngFile(const std::string& path, const RgbaImage& image);
// Decodes a PNG file of any colour type into RGBA; throws std::runtime_error naming the
// path when it cannot be read or decoded.
RgbaImage readPngFile(const std::string& path);

} // namespace zor::spriteset
