#pragma once
// Flat-coloured geometry (the primitive batches).

#include "Framework/graphics/effects/OGLColorEffect.h"

namespace zor {

class ColorEffect : public OGLColorEffect {
public:
    ColorEffect();
};

} // namespace zor
