#pragma once
// The window's viewports. Content is laid out in a virtual resolution (640 x 360 for the
// main view) that each viewport scales to its pixels; the module keeps the viewports, the
// one being drawn, the stereo eye and the frame values the main loop publishes for the
// renderers. Main thread only.

#include "Framework/core/math/Rect.h"

#include <cstdint>
#include <vector>

namespace zor {

namespace Screen {

enum StereoModeEnum : std::int32_t { StereoNone = 0, StereoFirstEye = 1, StereoSecondEye = 2 };

// Scale modes of a viewport.
enum ScaleMode : std::int32_t {
    ScaleCover = 0,        // the virtual area covers the viewport, one axis cropped
    ScaleFit = 1,          // the virtual area fits inside, bars on one axis (also any unknown mode)
    ScaleAverage = 2,      // the average of the two
    ScaleAverageSnapped = 3, // the average snapped to a whole number, or to 1/n below 0.75
};

// The smallest scale mode 3 snaps to is 1 / MaxScaleDivisor; a smaller average (a window
// of a few pixels) would otherwise search divisors without end.
constexpr int MaxScaleDivisor = 256;

struct Viewport {
    std::int32_t windowWidth = 0;  // the window's drawable area in pixels
    std::int32_t windowHeight = 0;
    std::int32_t x = 0;  // top-left corner in window pixels, y from the top
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    fpRect visibleArea;  // the part of the virtual plane shown, in virtual units (computed)
    float virtualWidth = 0.0f;
    float virtualHeight = 0.0f;
    float offsetX = 0.0f;  // centring offset in pixels (computed)
    float offsetY = 0.0f;
    float scale = 0.0f;  // pixels per virtual unit (computed)
    std::int32_t scaleMode = ScaleCover;

    // Recomputes scale, offsets and visible area; leaves them alone while the window
    // size, the rectangle or the virtual size is all zeros.
    void updateScale();
};

// Pixels per virtual unit for a viewport of W x H pixels showing VW x VH units.
float scaleForMode(std::int32_t mode, float width, float height, float virtualWidth, float virtualHeight);

// Start-up: exactly one viewport (extra ones erased, a new all-zero one when none).
void initViewports();
std::vector<Viewport>& viewports();

// The viewport being drawn. With an index outside the array the current viewport is an
// all-zero one, so nothing reads past the array.
std::int32_t currentViewportIndex();
void setCurrentViewportIndex(std::int32_t index);
const Viewport& currentViewport();

StereoModeEnum stereoMode();
void setStereoMode(StereoModeEnum mode);

// Seconds since the previous frame after the loop's limits (the render may scale it).
float frameTime();
void setFrameTime(float seconds);
// The part of a step left over after the frame's update steps, in steps.
float interpolation();
void setInterpolation(float fraction);

// A virtual rectangle of the current viewport in window pixels, OpenGL's bottom-left
// origin, every value truncated toward zero.
iRect toWindowRect(const fpRect& rect);

// The window's framebuffer with a GL viewport on the current viewport.
void bindScreenFramebuffer();

} // namespace Screen

} // namespace zor
