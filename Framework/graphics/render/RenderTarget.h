#pragma once
// An off-screen colour buffer: a framebuffer object drawing into a dynamic RGBA texture,
// linear and clamped, with no depth or stencil. Its user binds `framebuffer` and sets a
// viewport of the target's size to draw into it; the texture then draws like any other.
// Render thread only.

#include <memory>

#include "Framework/core/math/Vector.h"

namespace zor {

class Texture;

class RenderTarget {
public:
    // Leaves the window's framebuffer bound; the GL viewport is not touched.
    RenderTarget(int width, int height);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // The texture's size, truncated to whole pixels.
    iVector2 getSize() const;

    std::shared_ptr<Texture> texture;
    unsigned framebuffer = 0;
};

} // namespace zor
