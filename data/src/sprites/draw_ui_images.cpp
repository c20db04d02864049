// draw_ui_images <output folder>
// Draws the images of the "Sprites/ui" set as PNG files, at three pixels a layout unit.
// Shapes are covered by 4 x 4 samples a pixel, so their edges are smooth.

#include "tools/spriteset_writer/writer/PngWriter.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>

namespace {

using zor::spriteset::RgbaImage;

struct Rgba {
    float r, g, b, a;
};

// Fills every pixel with `colour(x, y)` weighted by the share of its samples `inside`.
RgbaImage draw(int width, int height, const std::function<bool(float, float)>& inside,
               const std::function<Rgba(float, float)>& colour) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int covered = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) covered += inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f);
            }
            if (covered == 0) continue;
            const Rgba c = colour(x + 0.5f, y + 0.5f);
            std::uint8_t* pixel = image.at(x, y);
            pixel[0] = static_cast<std::uint8_t>(std::lround(std::clamp(c.r, 0.0f, 1.0f) * 255.0f));
            pixel[1] = static_cast<std::uint8_t>(std::lround(std::clamp(c.g, 0.0f, 1.0f) * 255.0f));
            pixel[2] = static_cast<std::uint8_t>(std::lround(std::clamp(c.b, 0.0f, 1.0f) * 255.0f));
            pixel[3] = static_cast<std::uint8_t>(std::lround(std::clamp(c.a, 0.0f, 1.0f) * 255.0f * covered / 16.0f));
        }
    }
    return image;
}

std::function<bool(float, float)> roundedRect(float width, float height, float radius) {
    return [=](float x, float y) {
        const float dx = std::max({radius - x, x - (width - radius), 0.0f});
        const float dy = std::max({radius - y, y - (height - radius), 0.0f});
        return dx * dx + dy * dy <= radius * radius;
    };
}

// A border `border` pixels wide in `edge`, the rest in `fill`, shaded a little towards the bottom.
std::function<Rgba(float, float)> framed(float width, float height, float border, Rgba fill, Rgba edge) {
    return [=](float x, float y) {
        const bool onEdge = x < border || y < border || x > width - border || y > height - border;
        Rgba c = onEdge ? edge : fill;
        const float shade = 1.0f - 0.25f * y / height;
        return Rgba{c.r * shade, c.g * shade, c.b * shade, c.a};
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: draw_ui_images <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    try {
        std::filesystem::create_directories(folder);
        const auto save = [&folder](const char* name, const RgbaImage& image) {
            zor::spriteset::writePngFile((folder / (std::string(name) + ".png")).string(), image);
        };

        // Slate panel behind menus: 60 x 40 units.
        save("panel", draw(180, 120, roundedRect(180, 120, 12),
                           framed(180, 120, 4, {0.16f, 0.19f, 0.24f, 0.92f}, {0.55f, 0.47f, 0.33f, 1.0f})));
        // Lamp-brass button: 48 x 16 units.
        save("button_face", draw(144, 48, roundedRect(144, 48, 9),
                                 framed(144, 48, 3, {0.78f, 0.56f, 0.22f, 1.0f}, {0.42f, 0.27f, 0.10f, 1.0f})));
        // Soft halo shown around a hovered button: 56 x 24 units, fading out from the middle.
        save("button_glow", draw(168, 72, roundedRect(168, 72, 30), [](float x, float y) {
                 const float dx = (x - 84.0f) / 84.0f, dy = (y - 36.0f) / 36.0f;
                 return Rgba{1.0f, 0.86f, 0.52f, std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy))};
             }));
        // Dot of the loading spinner: 4 x 4 units.
        save("spinner_dot", draw(12, 12, [](float x, float y) { return std::hypot(x - 6.0f, y - 6.0f) <= 6.0f; },
                                 [](float, float) { return Rgba{0.95f, 0.92f, 0.80f, 1.0f}; }));
        // Pointer arrow: 8 x 12 units, tip at the top-left corner.
        save("cursor", draw(24, 36,
                            [](float x, float y) { return x <= y * 0.62f && y <= 34.0f - x * 0.55f; },
                            [](float x, float y) {
                                const bool edge = x > y * 0.62f - 2.0f || y > 34.0f - x * 0.55f - 2.0f;
                                return edge ? Rgba{0.1f, 0.08f, 0.06f, 1.0f} : Rgba{0.96f, 0.94f, 0.88f, 1.0f};
                            }));
    } catch (const std::exception& error) {
        std::cerr << "draw_ui_images: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
