#include "Framework/graphics/effects/ColorTextureBlurEffect.h"

#include "Framework/graphics/effects/ShaderCache.h"

#include <GL/glew.h>

namespace zor {

const std::string ColorTextureBlurEffect::kDefines = "#define NUM_SAMPLES 2\n#define CLAMP_UV\n";

ColorTextureBlurEffect::ColorTextureBlurEffect() {
    setShader(getShader("BasicEffect_ColorTexture.vert", "ColorTextureBlur.frag", kDefines));
    m_blurDirection = uniform("u_blurUVDir");
    if (clampUV) m_clampRect = uniform("u_uvClamp");
}

void ColorTextureBlurEffect::apply() {
    if (!usable()) return;
    OGLTextureEffect::apply();
    glUniform2f(m_blurDirection, blurDirection[0], blurDirection[1]);
    if (clampUV) glUniform4fv(m_clampRect, 1, clampRect);
}

} // namespace zor
