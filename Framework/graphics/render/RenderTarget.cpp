#include "Framework/graphics/render/RenderTarget.h"

#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/texture/Texture.h"

#include <GL/glew.h>

namespace zor {

RenderTarget::RenderTarget(int width, int height) {
    texture = Texture::createDynamic(PixelFormatRGBA8, iVector2(width, height), TextureSampling{1, 1, 0, 0});
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture->glTexture(), 0);
    const GLenum drawBuffers[] = {GL_COLOR_ATTACHMENT0};
    glDrawBuffers(1, drawBuffers);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

RenderTarget::~RenderTarget() {
    if (renderContextAlive()) glDeleteFramebuffers(1, &framebuffer);
    texture.reset();
}

iVector2 RenderTarget::getSize() const {
    return iVector2(static_cast<int>(texture->width()), static_cast<int>(texture->height()));
}

} // namespace zor
