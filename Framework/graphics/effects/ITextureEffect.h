#pragma once
// An effect that samples a texture: the batches hand it each run's texture.

#include "Framework/graphics/effects/IColorEffect.h"

namespace zor {

class Texture;

class ITextureEffect : public virtual IColorEffect {
public:
    // Binds the texture's GL name to GL_TEXTURE_2D on the active unit.
    virtual void bindTexture(const Texture& texture) = 0;
};

} // namespace zor
