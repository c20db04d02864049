#pragma once
// One direction of a separable blur, the taps kept inside a clamp rectangle.

#include <string>

#include "Framework/graphics/effects/OGLTextureEffect.h"

namespace zor {

class ColorTextureBlurEffect : public OGLTextureEffect {
public:
    // The program is compiled with two taps on each side of the centre.
    static const std::string kDefines;

    ColorTextureBlurEffect();
    void apply() override;

    // Step between taps in texture coordinates.
    float blurDirection[2] = {0.0f, 0.0f};
    // Left, top, right, bottom in texture coordinates; sent only while clampUV is set.
    float clampRect[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    // The tap count the user works its blur step out from (the program's is fixed).
    int sampleCount = 5;
    bool clampUV = true;

private:
    int m_blurDirection = -1;
    int m_clampRect = -1;
};

} // namespace zor
