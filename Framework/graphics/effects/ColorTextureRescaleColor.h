#pragma once
// Rescales the colour: level subtracted, gain, saturation kept, final scale.

#include "Framework/graphics/effects/OGLTextureEffect.h"

namespace zor {

class ColorTextureRescaleColor : public OGLTextureEffect {
public:
    ColorTextureRescaleColor();
    void apply() override;

    float colorTransform[4] = {0.0f, 4.0f, 0.5f, 1.0f};

private:
    int m_colorTransform = -1;
};

} // namespace zor
