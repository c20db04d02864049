#pragma once
// Shared OpenGL state of the renderer: numbered blend modes, the sampling parameters
// handed to every texture upload, clearing, and the names of GL error codes.
// Everything here is plain GL state on the main thread; whoever draws sets what it needs.

#include <cstdint>
#include <unordered_map>

#include "Framework/core/math/Color.h"

namespace zor {

// 0 disables blending, 1 to 8 select one fixed set-up (1 and 5 are both premultiplied
// "over"), any other number leaves the blend state alone. Batches start in mode 1.
using BlendMode = int;

void setBlendMode(BlendMode mode);
// Whether the mode leaves an opaque colour (alpha 255) exactly as drawing it with blending
// off does: the "over" modes 1, 4 and 5.
bool overwritesWhenOpaque(BlendMode mode);

// Filter codes: minFilter 0 nearest, 1 linear, 2-5 the mipmap variants (which also make an
// upload ask for mipmaps), others nearest; magFilter 1 linear, others nearest; a wrap of 0
// clamps to the edge, any other value repeats.
struct TextureSampling {
    std::int32_t minFilter = 0;
    std::int32_t magFilter = 0;
    std::int32_t wrapS = 0;
    std::int32_t wrapT = 0;

    bool wantsMipmaps() const { return minFilter >= 2 && minFilter <= 5; }
};

// The GL enum values a sampling record stands for, in the order they are applied.
struct TextureSamplingParameters {
    int minFilter, magFilter, wrapS, wrapT;
};
TextureSamplingParameters samplingParameters(const TextureSampling& sampling);

// Applies the record to the texture bound to GL_TEXTURE_2D; the caller binds it first.
void applyTextureSampling(const TextureSampling& sampling);

// Clears the colour buffer only (red from the lowest byte); depth and stencil stay.
void clearToColor(PackedColor color);

// GL error code -> its name, for the codes OpenGL 2.1 reports most.
const std::unordered_map<unsigned, const char*>& glErrorNames();

} // namespace zor
