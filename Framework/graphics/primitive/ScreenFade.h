#pragma once
// Fades of the whole viewport, drawn as one filled rectangle with the primitive batch.

#include "Framework/graphics/primitive/PrimitiveBatch.h"

#include <cstdint>

namespace zor {

struct ScreenFade {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float unused = 0.0f;
    float duration = 0.0f;  // seconds
    float elapsed = 0.0f;   // seconds
    std::int32_t direction = 0;  // 0 runs from covered to clear, others from clear to covered
    std::int32_t viewportIndex = -1;  // -1 covers every viewport
};

// The cover's opacity at the fade's elapsed time, 0..1; an elapsed time past the
// duration (or a zero duration) counts as finished.
float screenFadeAlpha(const ScreenFade& fade);

// Covers the current viewport's visible area with the fade's colour at its opacity, in
// straight-alpha blending, and flushes the batch. Draws nothing for another viewport or
// at opacity 0.
void drawScreenFade(const ScreenFade& fade, PrimitiveBatch& batch);

// The state-change overlay: black at `level` (0 clear, 1 black) over the current
// viewport's visible area, in the batch's blend mode, flushed at once.
void drawFadeOverlay(float level, PrimitiveBatch& batch);

} // namespace zor
