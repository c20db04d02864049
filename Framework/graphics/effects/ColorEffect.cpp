#include "Framework/graphics/effects/ColorEffect.h"

#include "Framework/graphics/effects/ShaderCache.h"

namespace zor {

ColorEffect::ColorEffect() { setShader(getShader("BasicEffect_Color.vert", "BasicEffect_Color.frag", "")); }

} // namespace zor
