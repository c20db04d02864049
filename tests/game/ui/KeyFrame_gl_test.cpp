// The nine pieces of a key frame on screen, read back from a render target: each piece in
// its place, and a stretched edge repeating its image.

#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/texture/Texture.h"
#include "game/ui/KeyFrame.h"
#include "tests/support/gl/GLTestContext.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor {
namespace {

using test::Pixel;

class KeyFrameTest : public test::GLTest {};

// A repeating 4 x 4 image whose left two columns are `left` and right two `right`.
std::shared_ptr<Texture> keyImage(Pixel left, Pixel right) {
    std::vector<Pixel> pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) pixels.push_back(x < 2 ? left : right);
    TextureSampling repeat;
    repeat.wrapS = 1;
    repeat.wrapT = 1;
    auto texture = Texture::createDynamic(PixelFormatRGBA8, iVector2(4, 4), repeat);
    texture->uploadPixels(pixels.data());
    return texture;
}

Pixel grey(std::uint8_t level) { return {level, level, level, 255}; }

TEST_F(KeyFrameTest, NinePiecesAroundTheRectangleAndEdgesRepeat) {
    RenderTarget target(64, 48);
    useTargetAsScreen(target);
    std::vector<std::shared_ptr<Texture>> images;
    KeyFrameTextures textures{};
    for (int number = 1; number <= 9; ++number) {
        // Image n is grey 20 n; the top edge (2) has a red left half.
        images.push_back(number == 2 ? keyImage({255, 0, 0, 255}, grey(40)) : keyImage(grey(std::uint8_t(20 * number)),
                                                                                      grey(std::uint8_t(20 * number))));
        textures[std::size_t(number - 1)] = images.back().get();
    }
    QuadBatch batch(16);
    bindTarget(target);
    clearToColor(PackedColor(0xFF000000u));
    batch.begin();
    batch.setScreenProjection();
    drawKeyFrame(batch, textures, PackedColor(0xFFFFFFFFu), 10, 10, 20, 12);
    batch.flush(0);

    const Pixel red{255, 0, 0, 255};
    struct Case {
        const char* why;
        int x, y;
        Pixel expected;
    } cases[] = {
        {"outside the frame", 4, 4, {0, 0, 0, 255}},
        {"the top-left corner, 6 to 10", 7, 7, grey(20)},
        {"the top edge's first texel column pair", 11, 7, red},
        {"the top edge's second pair", 13, 7, grey(40)},
        {"the top edge repeating its image", 15, 7, red},
        {"the top-right corner, 30 to 34", 32, 8, grey(60)},
        {"the left edge", 8, 16, grey(80)},
        {"the centre", 20, 16, grey(100)},
        {"the right edge", 32, 16, grey(120)},
        {"the bottom-left corner, 22 to 26", 8, 24, grey(140)},
        {"the bottom edge", 20, 24, grey(160)},
        {"the bottom-right corner", 32, 24, grey(180)},
        {"below the frame", 20, 28, {0, 0, 0, 255}},
    };
    for (const Case& c : cases) EXPECT_EQ(pixelAt(target, c.x, c.y), c.expected) << c.why;
}

} // namespace
} // namespace zor
