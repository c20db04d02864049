#include "Framework/graphics/effects/OGLColorEffect.h"

#include <GL/glew.h>

#include <utility>

namespace zor {

fpMatrix4 shaderModelView(const fpMatrix4& modelView) {
    fpMatrix4 result = modelView;
    std::swap(result[1], result[4]);
    std::swap(result[2], result[8]);
    std::swap(result[6], result[9]);
    return result;
}

void OGLColorEffect::setShader(std::shared_ptr<OGLShader> newShader) {
    shader = std::move(newShader);
    m_projectionMatrix = uniform("u_PMatrix");
    m_modelViewMatrix = uniform("u_MVMatrix");
    m_position = attribute("a_position");
    m_color = attribute("a_color");
}

void OGLColorEffect::apply() {
    if (!usable()) return;
    glUseProgram(shader->program);
    glUniformMatrix4fv(m_projectionMatrix, 1, GL_FALSE, projection.m);
    const fpMatrix4 sent = shaderModelView(modelView);
    glUniformMatrix4fv(m_modelViewMatrix, 1, GL_FALSE, sent.m);
    if (m_position != -1) glEnableVertexAttribArray(static_cast<GLuint>(m_position));
    if (m_color != -1) glEnableVertexAttribArray(static_cast<GLuint>(m_color));
}

} // namespace zor
