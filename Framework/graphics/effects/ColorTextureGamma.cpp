#include "Framework/graphics/effects/ColorTextureGamma.h"

#include "Framework/graphics/effects/ShaderCache.h"

#include <GL/glew.h>

namespace zor {

ColorTextureGamma::ColorTextureGamma() {
    setShader(getShader("BasicEffect_ColorTexture.vert", "ColorTextureGamma.frag", ""));
    m_power = uniform("u_power");
}

void ColorTextureGamma::apply() {
    if (!usable()) return;
    OGLTextureEffect::apply();
    glUniform1f(m_power, power);
}

} // namespace zor
