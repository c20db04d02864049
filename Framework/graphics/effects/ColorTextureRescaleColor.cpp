#include "Framework/graphics/effects/ColorTextureRescaleColor.h"

#include "Framework/graphics/effects/ShaderCache.h"

#include <GL/glew.h>

namespace zor {

ColorTextureRescaleColor::ColorTextureRescaleColor() {
    setShader(getShader("BasicEffect_ColorTexture.vert", "ColorTextureRescaleColor.frag", ""));
    m_colorTransform = uniform("u_colorTransform");
}

void ColorTextureRescaleColor::apply() {
    if (!usable()) return;
    OGLTextureEffect::apply();
    glUniform4f(m_colorTransform, colorTransform[0], colorTransform[1], colorTransform[2], colorTransform[3]);
}

} // namespace zor
