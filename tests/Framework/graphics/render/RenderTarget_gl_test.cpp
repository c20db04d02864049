#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/graphics/texture/TextureCache.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace zor {
namespace {

using test::Pixel;

class RenderTargetTest : public test::GLTest {};

TEST_F(RenderTargetTest, IsACompleteFramebufferOverALinearClampedTexture) {
    const std::size_t cached = TextureCache::size();
    RenderTarget target(1024, 512);
    EXPECT_EQ(target.getSize(), iVector2(1024, 512));
    EXPECT_EQ(target.texture->cached()->name, "$dynamic");
    EXPECT_EQ(target.texture->cached()->channels, 4);
    EXPECT_EQ(TextureCache::size(), cached);

    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);  // the window's framebuffer again
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    glBindTexture(GL_TEXTURE_2D, target.texture->glTexture());
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
}

TEST_F(RenderTargetTest, DestroyingItDeletesTheFramebufferAndTheTexture) {
    unsigned framebuffer = 0, texture = 0;
    {
        RenderTarget target(16, 16);
        framebuffer = target.framebuffer;
        texture = target.texture->glTexture();
    }
    EXPECT_EQ(glIsFramebuffer(framebuffer), GL_FALSE);
    EXPECT_EQ(glIsTexture(texture), GL_FALSE);
}

TEST_F(RenderTargetTest, ClearToColorFillsTheColourBufferFromThePackedBytes) {
    RenderTarget target(4, 4);
    bindTarget(target);
    clearToColor(PackedColor::fromChannels(0, 0, 255, 128));
    EXPECT_EQ(pixelAt(target, 0, 0), (Pixel{0, 0, 255, 128}));
    EXPECT_EQ(pixelAt(target, 3, 3), (Pixel{0, 0, 255, 128}));
    clearToColor(PackedColor(0x04030201u));
    EXPECT_EQ(pixelAt(target, 2, 1), (Pixel{1, 2, 3, 4}));
}

TEST_F(RenderTargetTest, SamplingGoesToTheBoundTexture) {
    const auto texture = Texture::createDynamic(PixelFormatRGBA8, iVector2(2, 2), TextureSampling{});
    glBindTexture(GL_TEXTURE_2D, texture->glTexture());
    applyTextureSampling(TextureSampling{7, 2, 2, 0});
    const GLenum names[] = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T};
    const GLint expected[] = {GL_NEAREST, GL_NEAREST, GL_REPEAT, GL_CLAMP_TO_EDGE};
    for (int i = 0; i < 4; ++i) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, names[i], &value);
        EXPECT_EQ(value, expected[i]) << i;
    }
}

} // namespace
} // namespace zor
