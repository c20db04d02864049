#pragma once
// Blends a bloom image (the drawn texture) over a target texture bound on unit 1.

#include "Framework/graphics/effects/OGLTextureEffect.h"

namespace zor {

class ColorTextureBloomBlend : public OGLTextureEffect {
public:
    ColorTextureBloomBlend();
    void apply() override;

    float sourceOverBurn = 0.0f;
    float targetConstantFactor = 0.0f;
    float targetInverseSourceFactor = 1.0f;
    float power = 1.0f;
    // GL name of the target texture.
    unsigned targetTexture = 0;
    // Maps the source's texture coordinates into the target's: scale x, y, offset x, y.
    float targetTransform[4] = {1.0f, 1.0f, 0.0f, 0.0f};

private:
    int m_textureTarget = -1;
    int m_targetTransform = -1;
    int m_sourceOverBurn = -1;
    int m_targetConstantFactor = -1;
    int m_targetInverseSourceFactor = -1;
    int m_power = -1;
};

} // namespace zor
