#pragma once
// Nearest-looking sampling of a linearly filtered texture. The user puts the texture's
// reciprocal width and height into filterInfo[0] and [1] and the screen pixels per
// texel into [2] and [3].

#include "Framework/graphics/effects/OGLTextureEffect.h"

namespace zor {

class ColorTextureFakeNearest : public OGLTextureEffect {
public:
    ColorTextureFakeNearest();
    void apply() override;

    float filterInfo[4] = {0.0f, 0.0f, 0.0f, 0.0f};

private:
    int m_filterInfo = -1;
};

} // namespace zor
