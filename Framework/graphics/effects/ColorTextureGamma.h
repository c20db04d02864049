#pragma once
// Raises the colour to a power; 1 leaves it unchanged.

#include "Framework/graphics/effects/OGLTextureEffect.h"

namespace zor {

class ColorTextureGamma : public OGLTextureEffect {
public:
    ColorTextureGamma();
    void apply() override;

    float power = 1.0f;

private:
    int m_power = -1;
};

} // namespace zor
