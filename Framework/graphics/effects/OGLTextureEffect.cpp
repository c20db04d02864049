#include "Framework/graphics/effects/OGLTextureEffect.h"

#include "Framework/graphics/texture/Texture.h"

#include <GL/glew.h>

namespace zor {

void OGLTextureEffect::setShader(std::shared_ptr<OGLShader> newShader) {
    OGLColorEffect::setShader(std::move(newShader));
    m_texture = uniform("u_texture");
    m_texCoord = attribute("a_texCoord");
}

void OGLTextureEffect::apply() {
    if (!usable()) return;
    OGLColorEffect::apply();
    glUniform1i(m_texture, 0);
    if (m_texCoord != -1) glEnableVertexAttribArray(static_cast<GLuint>(m_texCoord));
    glActiveTexture(GL_TEXTURE0);
}

void OGLTextureEffect::bindTexture(const Texture& texture) {
    glBindTexture(GL_TEXTURE_2D, texture.glTexture());
}

} // namespace zor
