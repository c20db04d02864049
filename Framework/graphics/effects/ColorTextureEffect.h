#pragma once
// Textured geometry tinted by its vertex colour: the quad batches' default effect.

#include "Framework/graphics/effects/OGLTextureEffect.h"

namespace zor {

class ColorTextureEffect : public OGLTextureEffect {
public:
    ColorTextureEffect();
};

} // namespace zor
