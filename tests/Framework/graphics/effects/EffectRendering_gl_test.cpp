#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/effects/ColorTextureBloomBlend.h"
#include "Framework/graphics/effects/ColorTextureBlurEffect.h"
#include "Framework/graphics/effects/ColorTextureGamma.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/support/gl/GLTestContext.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::Pixel;

constexpr PackedColor kWhite(0xFFFFFFFFu);

std::shared_ptr<Texture> textureOf(int width, int height, const std::vector<Pixel>& pixels) {
    auto texture = Texture::createDynamic(PixelFormatRGBA8, iVector2(width, height), TextureSampling{});
    texture->uploadPixels(pixels.data());
    return texture;
}

// Draws a texture over the whole 8 x 8 target through an effect, replacing what was there.
class EffectRenderingTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        VertexBufferPool::init();
        useTargetAsScreen(target);
        batch = std::make_unique<QuadBatch>(4);
    }
    void TearDown() override {
        batch.reset();
        VertexBufferPool::shutdown();
        GLTest::TearDown();
    }

    void drawThrough(OGLTextureEffect& effect, const Texture& texture) {
        bindTarget(target);
        batch->begin();
        batch->blendMode = 0;
        batch->currentEffect = &effect;
        batch->drawRegion(texture, {0, 0}, fpRect(0, 0, texture.width(), texture.height()), kWhite, 0, 0.0f, {0, 0},
                          {8.0f / texture.width(), 8.0f / texture.height()}, 0, 0.0f);
        batch->flush(0);
    }

    std::vector<Pixel> row(int yFromTop) { return readPixels(target, 0, 7 - yFromTop, 8, 1); }

    RenderTarget target{8, 8};
    std::unique_ptr<QuadBatch> batch;
};

TEST_F(EffectRenderingTest, GammaAtPowerOneLeavesTheImageAsItIs) {
    const std::vector<Pixel> image = {{0, 0, 0, 255},       {17, 99, 230, 255}, {128, 128, 128, 255}, {255, 255, 255, 255},
                                      {40, 20, 10, 64},     {0, 0, 0, 0},       {250, 1, 77, 255},    {64, 64, 64, 128}};
    const auto texture = textureOf(8, 1, image);
    ColorTextureGamma gamma;
    drawThrough(gamma, *texture);
    const std::vector<Pixel> drawn = row(3);
    for (int x = 0; x < 8; ++x) EXPECT_TRUE(test::nearPixel(drawn[x], image[x], 1)) << x;

    gamma.power = 2.0f;
    drawThrough(gamma, *texture);
    EXPECT_TRUE(test::nearPixel(row(3)[2], (Pixel{64, 64, 64, 255}), 2)) << testing::PrintToString(row(3)[2]);
}

TEST_F(EffectRenderingTest, BlurSpreadsAOnePixelLineOverTwoPixelsEachSide) {
    std::vector<Pixel> image(64, Pixel{0, 0, 0, 255});
    for (int y = 0; y < 8; ++y) image[y * 8 + 4] = {255, 255, 255, 255};
    const auto line = textureOf(8, 8, image);
    ColorTextureBlurEffect blur;
    blur.clampRect[2] = blur.clampRect[3] = 1.0f;

    // Across the line: binomial weights 1 4 6 4 1 out of 16.
    blur.blurDirection[0] = 1.0f / 8.0f;
    drawThrough(blur, *line);
    const std::uint8_t across[8] = {0, 0, 16, 64, 96, 64, 16, 0};
    for (int y : {0, 4, 7}) {
        const std::vector<Pixel> drawn = row(y);
        for (int x = 0; x < 8; ++x)
            EXPECT_TRUE(test::nearPixel(drawn[x], Pixel{across[x], across[x], across[x], 255}, 2))
                << "x " << x << " y " << y << ": " << testing::PrintToString(drawn[x]);
    }

    // Along the line nothing changes.
    blur.blurDirection[0] = 0.0f;
    blur.blurDirection[1] = 1.0f / 8.0f;
    drawThrough(blur, *line);
    EXPECT_EQ(row(0)[4], (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(row(0)[3], (Pixel{0, 0, 0, 255}));

    // Taps stay inside the clamp rectangle: with the line's column outside it, the line is
    // never read.
    blur.blurDirection[0] = 1.0f / 8.0f;
    blur.blurDirection[1] = 0.0f;
    blur.clampRect[2] = 3.5f / 8.0f;  // the centre of column 3
    drawThrough(blur, *line);
    EXPECT_EQ(row(0)[2], (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(row(0)[3], (Pixel{0, 0, 0, 255}));
}

TEST_F(EffectRenderingTest, BloomBlendScreensTheSourceOverTheTargetTexture) {
    const auto source = textureOf(1, 1, {{128, 128, 128, 255}});
    const auto scene = textureOf(1, 1, {{128, 64, 0, 255}});
    ColorTextureBloomBlend bloom;
    bloom.targetTexture = scene->glTexture();
    drawThrough(bloom, *source);
    // s + t (1 - s) per channel.
    EXPECT_TRUE(test::nearPixel(row(4)[4], (Pixel{192, 160, 128, 255}), 2)) << testing::PrintToString(row(4)[4]);
}

} // namespace
} // namespace zor
