// draw_program_images <key image folder> <icon file>
// Draws the key prompt images "key_1.png" to "key_9.png" (keycaps with their digit, 16 x 16
// units at three pixels a unit) and the window icon, a 32 x 32 BMP: an amber gem on a
// dark slate.

#include "tools/spriteset_writer/writer/PngWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

using zor::spriteset::RgbaImage;

struct Rgba {
    float r, g, b, a;
};

using Shape = std::function<bool(float, float)>;
using Paint = std::function<Rgba(float, float)>;

std::uint8_t toByte(float value) { return std::uint8_t(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); }

// Paints `paint` over the image where `inside` holds, 4 x 4 samples a pixel, blending over
// what is there.
void fill(RgbaImage& image, const Shape& inside, const Paint& paint) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int covered = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) covered += inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f);
            if (covered == 0) continue;
            const Rgba c = paint(x + 0.5f, y + 0.5f);
            const float alpha = c.a * float(covered) / 16.0f;
            std::uint8_t* pixel = image.at(x, y);
            const float under = pixel[3] / 255.0f;
            const float out = alpha + under * (1.0f - alpha);
            const float source[3] = {c.r, c.g, c.b};
            for (int i = 0; i < 3; ++i) {
                const float below = pixel[i] / 255.0f;
                pixel[i] = toByte(out > 0.0f ? (source[i] * alpha + below * under * (1.0f - alpha)) / out : 0.0f);
            }
            pixel[3] = toByte(out);
        }
    }
}

Shape roundedRect(float left, float top, float width, float height, float radius) {
    return [=](float x, float y) {
        const float dx = std::max({left + radius - x, x - (left + width - radius), 0.0f});
        const float dy = std::max({top + radius - y, y - (top + height - radius), 0.0f});
        return x >= left && x <= left + width && y >= top && y <= top + height && dx * dx + dy * dy <= radius * radius;
    };
}

Paint solid(Rgba colour) {
    return [colour](float, float) { return colour; };
}

// The digits 1 to 9 on a 5 x 7 grid, one string a row.
const std::array<std::array<const char*, 7>, 9> Digits = {{
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"####.", "....#", "....#", ".###.", "....#", "....#", "####."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."},
}};

Shape digit(int number, float left, float top, float cell) {
    return [=](float x, float y) {
        const int column = int(std::floor((x - left) / cell));
        const int row = int(std::floor((y - top) / cell));
        if (column < 0 || column >= 5 || row < 0 || row >= 7) return false;
        return Digits[std::size_t(number - 1)][std::size_t(row)][column] == '#';
    };
}

RgbaImage keycap(int number) {
    RgbaImage image(48, 48);
    // The cap's side, then its face a little higher, lit from above.
    fill(image, roundedRect(2, 4, 44, 42, 8), solid({0.30f, 0.27f, 0.24f, 1.0f}));
    fill(image, roundedRect(4, 2, 40, 38, 7), [](float, float y) {
        const float light = 0.92f - 0.18f * y / 40.0f;
        return Rgba{light, light * 0.97f, light * 0.90f, 1.0f};
    });
    fill(image, digit(number, 24.0f - 2.5f * 4.0f, 21.0f - 3.5f * 4.0f, 4.0f), solid({0.16f, 0.13f, 0.10f, 1.0f}));
    return image;
}

RgbaImage gemIcon() {
    RgbaImage image(32, 32);
    fill(image, roundedRect(1, 1, 30, 30, 6), solid({0.13f, 0.15f, 0.20f, 1.0f}));
    // A cut gem: a crown over a pointed pavilion, lighter on the left facets.
    const Shape crown = [](float x, float y) { return y >= 8 && y <= 13 && std::fabs(x - 16) <= 6 + (y - 8); };
    const Shape pavilion = [](float x, float y) {
        return y > 13 && y <= 26 && std::fabs(x - 16) <= 11 * (26 - y) / 13;
    };
    const Paint amber = [](float x, float) {
        const float shade = x < 16 ? 1.0f : 0.8f;
        return Rgba{0.98f * shade, 0.70f * shade, 0.22f * shade, 1.0f};
    };
    fill(image, crown, amber);
    fill(image, pavilion, amber);
    return image;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// 32 bits a pixel, blue, green, red, alpha, rows from the bottom up.
void writeBmp(const std::filesystem::path& path, const RgbaImage& image) {
    const std::uint32_t pixelBytes = std::uint32_t(image.width * image.height * 4);
    std::vector<std::uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    put32(bytes, 14 + 40 + pixelBytes);
    put32(bytes, 0);
    put32(bytes, 14 + 40);
    put32(bytes, 40);
    put32(bytes, std::uint32_t(image.width));
    put32(bytes, std::uint32_t(image.height));
    put16(bytes, 1);
    put16(bytes, 32);
    put32(bytes, 0);  // uncompressed
    put32(bytes, pixelBytes);
    put32(bytes, 2835);  // 72 dots an inch
    put32(bytes, 2835);
    put32(bytes, 0);
    put32(bytes, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            bytes.insert(bytes.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file) throw std::runtime_error("could not write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: draw_program_images <key image folder> <icon file>\n";
        return 2;
    }
    try {
        const std::filesystem::path keys(argv[1]);
        std::filesystem::create_directories(keys);
        for (int number = 1; number <= 9; ++number)
            zor::spriteset::writePngFile((keys / ("key_" + std::to_string(number) + ".png")).string(), keycap(number));
        writeBmp(argv[2], gemIcon());
    } catch (const std::exception& error) {
        std::cerr << "draw_program_images: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
