#include "Framework/graphics/effects/ColorTextureBloomBlend.h"

#include "Framework/graphics/effects/ShaderCache.h"

#include <GL/glew.h>

namespace zor {

ColorTextureBloomBlend::ColorTextureBloomBlend() {
    setShader(getShader("BasicEffect_ColorTexture.vert", "ColorTextureBloomBlend.frag", ""));
    m_textureTarget = uniform("u_textureTarget");
    m_targetTransform = uniform("u_uvTargetTransform");
    m_sourceOverBurn = uniform("u_sourceOverBurn");
    m_targetConstantFactor = uniform("u_targetConstantFactor");
    m_targetInverseSourceFactor = uniform("u_targetInverseSourceFactor");
    m_power = uniform("u_power");
}

void ColorTextureBloomBlend::apply() {
    if (!usable()) return;
    OGLTextureEffect::apply();
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, targetTexture);
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(m_textureTarget, 1);
    glUniform4fv(m_targetTransform, 1, targetTransform);
    glUniform1f(m_sourceOverBurn, sourceOverBurn);
    glUniform1f(m_targetConstantFactor, targetConstantFactor);
    glUniform1f(m_targetInverseSourceFactor, targetInverseSourceFactor);
    glUniform1f(m_power, power);
}

} // namespace zor
