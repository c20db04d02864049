// draw_atlas_images <output folder> <name>...
// Draws the world's images at three pixels a layout unit, one PNG a name, its file the name
// with "/" turned into "_" and ".png" added. The name chooses the picture: "lighttile…"
// the soft light of a cell, "blobsq…" a soft square beam blob, "bolt…" a lightning bolt,
// "…signpost…" a signpost, a fringe piece by its suffix ("_n", "_w", "_e", "_s", "_ne",
// "_nw", "_sw", "_se"), ore and gem overlays ("…vein…" and "Textures/…") and tiles for
// the rest. Colours come from the name, so every image differs and stays the same.

#include "tools/spriteset_writer/writer/PngWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

namespace {

using zor::spriteset::RgbaImage;

constexpr int Cell = 120;   // a 40-unit tile
constexpr int Fringe = 36;  // how far a fringe piece reaches over its neighbour

struct Rgba {
    float r, g, b, a;
};

std::uint32_t hashName(const std::string& text, std::uint32_t salt = 0) {
    std::uint32_t h = 2166136261u ^ salt;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

// A value in [0, 1) from the name and a position.
float noise(const std::string& name, int x, int y) {
    const std::uint32_t h = hashName(name, std::uint32_t(x) * 73856093u ^ std::uint32_t(y) * 19349663u);
    return float(h & 0xFFFF) / 65536.0f;
}

Rgba baseColour(const std::string& name) {
    const std::uint32_t h = hashName(name);
    return {0.3f + 0.5f * float(h & 0xFF) / 255.0f, 0.25f + 0.45f * float((h >> 8) & 0xFF) / 255.0f,
            0.2f + 0.4f * float((h >> 16) & 0xFF) / 255.0f, 1.0f};
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void put(RgbaImage& image, int x, int y, Rgba c) {
    std::uint8_t* pixel = image.at(x, y);
    const float channels[4] = {c.r, c.g, c.b, c.a};
    for (int i = 0; i < 4; ++i) pixel[i] = std::uint8_t(std::lround(std::clamp(channels[i], 0.0f, 1.0f) * 255.0f));
}

RgbaImage paint(int width, int height, const std::function<Rgba(int, int)>& colour) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) put(image, x, y, colour(x, y));
    return image;
}

// Speckled rock, darker in 12-pixel clumps, shaded towards the bottom.
RgbaImage tile(const std::string& name) {
    const Rgba base = baseColour(name);
    return paint(Cell, Cell, [&](int x, int y) {
        const float grain = 0.8f + 0.2f * noise(name, x / 12, y / 12) + 0.1f * noise(name, x, y);
        const float shade = grain * (1.0f - 0.2f * float(y) / Cell);
        return Rgba{base.r * shade, base.g * shade, base.b * shade, 1.0f};
    });
}

// A ragged strip that fades away from the cell it grows from.
RgbaImage fringe(const std::string& name, int width, int height, bool fadeAlongX) {
    const Rgba base = baseColour(name.substr(0, name.rfind('_')));
    return paint(width, height, [&](int x, int y) {
        const float across = fadeAlongX ? float(x) / width : float(y) / height;
        const float reach = 0.5f + 0.5f * noise(name, fadeAlongX ? y / 6 : x / 6, 0);
        const float edge = std::min(across, 1.0f - across) * 2.0f;
        return Rgba{base.r, base.g, base.b, edge < reach ? 1.0f - edge / reach * 0.6f : 0.0f};
    });
}

// Round nuggets on a clear cell.
RgbaImage overlay(const std::string& name) {
    const Rgba base = baseColour(name);
    return paint(Cell, Cell, [&](int x, int y) {
        const int cx = x / 30, cy = y / 30;
        const float ox = 30.0f * cx + 8.0f + 14.0f * noise(name, cx, cy);
        const float oy = 30.0f * cy + 8.0f + 14.0f * noise(name, cy, cx + 7);
        const float d = std::hypot(float(x) - ox, float(y) - oy) / 9.0f;
        if (d > 1.0f) return Rgba{0.0f, 0.0f, 0.0f, 0.0f};
        const float light = 1.2f - 0.5f * d;
        return Rgba{base.r * light, base.g * light, base.b * light, 1.0f};
    });
}

// White, falling off from the middle: `square` keeps the corners of a square blob.
RgbaImage glow(int size, bool square) {
    return paint(size, size, [&](int x, int y) {
        const float dx = std::abs((x + 0.5f) / size * 2.0f - 1.0f);
        const float dy = std::abs((y + 0.5f) / size * 2.0f - 1.0f);
        const float d = square ? std::max(dx, dy) : std::hypot(dx, dy);
        const float a = std::clamp(1.0f - d, 0.0f, 1.0f);
        return Rgba{1.0f, 1.0f, 1.0f, a * a * (3.0f - 2.0f * a)};
    });
}

// A jagged bright line across the image, its kinks chosen by the name.
RgbaImage bolt(const std::string& name) {
    const int width = 256, height = 32;
    return paint(width, height, [&](int x, int y) {
        const int segment = x / 32;
        const float t = float(x % 32) / 32.0f;
        const float from = 6.0f + 20.0f * noise(name, segment, 0);
        const float to = 6.0f + 20.0f * noise(name, segment + 1, 0);
        const float d = std::abs(float(y) - (from + (to - from) * t));
        const float a = std::clamp(1.0f - d / 4.0f, 0.0f, 1.0f);
        return Rgba{0.8f + 0.2f * a, 0.9f, 1.0f, a};
    });
}

// A post with a board on top.
RgbaImage signpost() {
    const Rgba wood{0.45f, 0.3f, 0.18f, 1.0f};
    return paint(90, 120, [&](int x, int y) {
        const bool board = y >= 10 && y < 46 && x >= 4 && x < 86;
        const bool post = x >= 39 && x < 51 && y >= 46;
        if (!board && !post) return Rgba{0.0f, 0.0f, 0.0f, 0.0f};
        const float grain = 0.85f + 0.15f * noise("signpost", x / 3, y / 9);
        return Rgba{wood.r * grain, wood.g * grain, wood.b * grain, 1.0f};
    });
}

RgbaImage drawNamed(const std::string& name) {
    if (name.rfind("lighttile", 0) == 0) return glow(180, false);
    if (name.rfind("blobsq", 0) == 0) return glow(64, true);
    if (name.rfind("bolt", 0) == 0) return bolt(name);
    if (name.find("signpost") != std::string::npos) return signpost();
    for (const char* corner : {"_ne", "_nw", "_sw", "_se"})
        if (endsWith(name, corner)) return fringe(name, Fringe, Fringe, false);
    if (endsWith(name, "_n") || endsWith(name, "_s")) return fringe(name, Cell, Fringe, false);
    if (endsWith(name, "_w") || endsWith(name, "_e")) return fringe(name, Fringe, Cell, true);
    if (name.find("vein") != std::string::npos || name.rfind("Textures/", 0) == 0) return overlay(name);
    return tile(name);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: draw_atlas_images <output folder> <name>...\n";
        return 2;
    }
    try {
        const std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        for (int i = 2; i < argc; ++i) {
            std::string file = argv[i];
            std::replace(file.begin(), file.end(), '/', '_');
            zor::spriteset::writePngFile((folder / (file + ".png")).string(), drawNamed(argv[i]));
        }
    } catch (const std::exception& error) {
        std::cerr << "draw_atlas_images: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
