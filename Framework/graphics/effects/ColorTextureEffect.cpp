#include "Framework/graphics/effects/ColorTextureEffect.h"

#include "Framework/graphics/effects/ShaderCache.h"

namespace zor {

ColorTextureEffect::ColorTextureEffect() {
    setShader(getShader("BasicEffect_ColorTexture.vert", "BasicEffect_ColorTexture.frag", ""));
}

} // namespace zor
