#include "Framework/graphics/effects/ColorTextureFakeNearest.h"

#include "Framework/graphics/effects/ShaderCache.h"

#include <GL/glew.h>

namespace zor {

ColorTextureFakeNearest::ColorTextureFakeNearest() {
    setShader(getShader("BasicEffect_ColorTexture.vert", "ColorTextureFakeNearest.frag", ""));
    m_filterInfo = uniform("u_filterInfo");
}

void ColorTextureFakeNearest::apply() {
    if (!usable()) return;
    OGLTextureEffect::apply();
    // The program reads the scale first and the texel size second.
    glUniform4f(m_filterInfo, filterInfo[2], filterInfo[3], filterInfo[0], filterInfo[1]);
}

} // namespace zor
