#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/graphics/texture/TextureCache.h"
#include "tests/Framework/graphics/texture/PngFixtures.h"
#include "tests/Framework/graphics/texture/TempGameData.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <thread>

namespace zor {
namespace {

using test::PngSpec;
using test::writePng;
using Bytes = std::vector<std::uint8_t>;

class TextureGLTest : public test::GLTest {
protected:
    void TearDown() override {
        Texture::purgeCache();
        GLTest::TearDown();
    }

    // The texture's level 0 as RGBA bytes.
    static Bytes contents(const Texture& texture) {
        Bytes pixels(std::size_t(texture.cached()->pixelWidth) * texture.cached()->pixelHeight * 4);
        glBindTexture(GL_TEXTURE_2D, texture.glTexture());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static GLint levelParameter(const Texture& texture, GLenum name) {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, texture.glTexture());
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
        return value;
    }

    static GLint parameter(const Texture& texture, GLenum name) {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, texture.glTexture());
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }

    test::TempGameData data;
};

TEST_F(TextureGLTest, PixelsArePremultipliedUnlessTheNameSaysNonpremul) {
    const Bytes stored = {200, 100, 50, 128, 10, 20, 30, 0, 10, 20, 30, 255};
    data.write("Textures/glow.png", writePng(PngSpec(3, 1, PNG_COLOR_TYPE_RGBA, 8, stored)));
    data.write("Textures/glow[nonpremul].png", writePng(PngSpec(3, 1, PNG_COLOR_TYPE_RGBA, 8, stored)));
    const Texture premultiplied("Textures/glow.png", false, {});
    const Texture straight("Textures/glow[nonpremul].png", false, {});
    ASSERT_NE(premultiplied.glTexture(), 0u);
    EXPECT_EQ(contents(premultiplied), (Bytes{100, 50, 25, 128, 0, 0, 0, 0, 10, 20, 30, 255}));
    EXPECT_EQ(contents(straight), stored);
}

TEST_F(TextureGLTest, ChannelLayoutsUploadAsAlphaRGBOrRGBA) {
    PngSpec palette(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 1});
    palette.palette = {{255, 0, 0}, {0, 0, 255}};
    palette.paletteAlpha = {255, 0};
    PngSpec greyKeyed(3, 1, PNG_COLOR_TYPE_GRAY, 8, {5, 6, 7});
    greyKeyed.transparentColor = png_color_16{0, 0, 0, 0, 6};
    data.write("grey.png", writePng(PngSpec(3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 128, 255})));
    data.write("rgb.png", writePng(PngSpec(3, 1, PNG_COLOR_TYPE_RGB, 8, Bytes(9, 40))));
    data.write("palette.png", writePng(palette));
    data.write("greykeyed.png", writePng(greyKeyed));
    const struct {
        const char* name;
        GLint internalFormat;
        Bytes pixels;  // read back as RGBA
    } cases[] = {
        {"grey.png", GL_ALPHA, {0, 0, 0, 0, 0, 0, 0, 128, 0, 0, 0, 255}},
        {"rgb.png", GL_RGB, {40, 40, 40, 255, 40, 40, 40, 255, 40, 40, 40, 255}},
        {"palette.png", GL_RGBA, {255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"greykeyed.png", GL_RGBA, {5, 5, 5, 255, 0, 0, 0, 0, 7, 7, 7, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Texture texture(c.name, true, {});
        EXPECT_EQ(levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), c.internalFormat);
        EXPECT_EQ(contents(texture), c.pixels);
    }
}

TEST_F(TextureGLTest, SamplingIsAppliedAndMipmapFiltersAskForMipmaps) {
    data.write("a.png", writePng(PngSpec(4, 4, PNG_COLOR_TYPE_RGB, 8, Bytes(48, 1))));
    data.write("b.png", writePng(PngSpec(4, 4, PNG_COLOR_TYPE_RGB, 8, Bytes(48, 1))));
    const Texture mipmapped("a.png", true, TextureSampling{5, 1, 1, 0});
    const Texture plain("b.png", true, TextureSampling{1, 0, 0, 1});
    EXPECT_EQ(parameter(mipmapped, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(mipmapped, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(mipmapped, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(mipmapped, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(mipmapped, GL_GENERATE_MIPMAP), GL_TRUE);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(parameter(plain, GL_GENERATE_MIPMAP), GL_FALSE);
}

TEST_F(TextureGLTest, AWorkerLoadIsUploadedAtTheNextPump) {
    data.write("Textures/key_1.png", writePng(PngSpec(8, 8, PNG_COLOR_TYPE_RGBA, 8, Bytes(256, 255))));
    std::shared_ptr<Texture> loaded;
    std::thread worker([&loaded] { loaded = std::make_shared<Texture>("Textures/key_1.png", false, TextureSampling{}); });
    worker.join();
    EXPECT_EQ(loaded->glTexture(), 0u);
    EXPECT_FLOAT_EQ(loaded->width(), 8.0f);
    pumpRenderQueue();
    ASSERT_NE(loaded->glTexture(), 0u);
    EXPECT_EQ(glIsTexture(loaded->glTexture()), GL_TRUE);
    // A second load shares the record and the GL texture.
    const Texture again("Textures/key_1.png", false, {});
    EXPECT_EQ(again.glTexture(), loaded->glTexture());
}

// Dynamic textures are never cached, so their holder's release is the last one.
TEST_F(TextureGLTest, TheLastReleaseOnAWorkerDeletesOnTheRenderThread) {
    auto texture = Texture::createDynamic(PixelFormatRGBA8, iVector2(2, 2), TextureSampling{});
    const unsigned name = texture->glTexture();
    ASSERT_EQ(glIsTexture(name), GL_TRUE);
    std::thread worker([held = std::move(texture)]() mutable { held.reset(); });
    worker.join();
    EXPECT_EQ(glIsTexture(name), GL_TRUE);
    pumpRenderQueue();
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
}

TEST_F(TextureGLTest, ReleasesAfterTheContextIsGoneDeleteNothing) {
    auto onMain = Texture::createDynamic(PixelFormatRGBA8, iVector2(2, 2), TextureSampling{});
    auto onWorker = Texture::createDynamic(PixelFormatRGBA8, iVector2(2, 2), TextureSampling{});
    const unsigned names[] = {onMain->glTexture(), onWorker->glTexture()};
    std::thread worker([held = std::move(onWorker)]() mutable { held.reset(); });
    worker.join();  // its deletion waits in the queue
    markRenderContextLost();
    onMain.reset();
    pumpRenderQueue();
    markRenderThread();
    for (const unsigned name : names) {
        EXPECT_EQ(glIsTexture(name), GL_TRUE);
        glDeleteTextures(1, &name);
    }
}

TEST_F(TextureGLTest, APurgeDeletesTheGLTexturesNothingHolds) {
    data.write("a.png", writePng(PngSpec(2, 2, PNG_COLOR_TYPE_RGB, 8, Bytes(12, 9))));
    unsigned name = 0;
    {
        const Texture texture("a.png", true, {});
        name = texture.glTexture();
        pumpRenderQueue();
        Texture::purgeCache();
        EXPECT_EQ(glIsTexture(name), GL_TRUE);
    }
    EXPECT_EQ(glIsTexture(name), GL_TRUE);  // the cache still holds it
    Texture::purgeCache();
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
}

TEST_F(TextureGLTest, DynamicTexturesTakeTheirFormatAndNewPixels) {
    const auto rgb = Texture::createDynamic(PixelFormatRGB565, iVector2(3, 2), TextureSampling{});
    EXPECT_EQ(rgb->cached()->name, "$dynamic");
    EXPECT_EQ(rgb->cached()->channels, 3);
    EXPECT_FALSE(rgb->cached()->alpha);
    EXPECT_FLOAT_EQ(rgb->width(), 3.0f);  // never scaled
    EXPECT_EQ(TextureCache::size(), 0u);
    // Rows of 3 x 2 bytes: not a multiple of 4, so the unpack alignment must follow.
    const std::uint16_t red = 0xF800, blue = 0x001F;
    const std::uint16_t pixels[6] = {red, blue, red, blue, red, blue};
    rgb->uploadPixels(pixels);
    const Bytes read = contents(*rgb);
    EXPECT_EQ(Bytes(read.begin(), read.begin() + 8), (Bytes{255, 0, 0, 255, 0, 0, 255, 255}));
    EXPECT_EQ(Bytes(read.begin() + 12, read.begin() + 16), (Bytes{0, 0, 255, 255}));

    const auto rgba = Texture::createDynamic(PixelFormatRGBA8, iVector2(2, 1), TextureSampling{});
    EXPECT_EQ(rgba->cached()->channels, 4);
    const std::uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    rgba->uploadPixels(bytes);
    EXPECT_EQ(contents(*rgba), Bytes(bytes, bytes + 8));
}

} // namespace
} // namespace zor
