#include "Framework/graphics/screen/Screen.h"

#include "Framework/core/math/Scalar.h"

#include <GL/glew.h>

#include <cmath>

namespace zor {

namespace Screen {

namespace {

struct ScreenState {
    std::vector<Viewport> viewports;
    std::int32_t current = 0;
    StereoModeEnum stereo = StereoNone;
    float frameTime = 0.0f;
    float interpolation = 0.0f;
};

ScreenState& state() {
    static ScreenState screen;
    return screen;
}

float snappedScale(float average) {
    if (average >= 0.75f) return roundHalfAway(average);
    // The divisor whose reciprocal lies nearest the average; a tie keeps the larger scale.
    int divisor = 2;
    while (divisor < MaxScaleDivisor &&
           std::fabs(1.0f / float(divisor + 1) - average) < std::fabs(1.0f / float(divisor) - average))
        ++divisor;
    return 1.0f / float(divisor);
}

} // namespace

float scaleForMode(std::int32_t mode, float width, float height, float virtualWidth, float virtualHeight) {
    const bool tallerThanVirtual = height * virtualWidth > width * virtualHeight;
    const float byWidth = width / virtualWidth;
    const float byHeight = height / virtualHeight;
    switch (mode) {
    case ScaleCover:
        return tallerThanVirtual ? byHeight : byWidth;
    case ScaleAverage:
        return (byWidth + byHeight) / 2.0f;
    case ScaleAverageSnapped:
        return snappedScale((byWidth + byHeight) / 2.0f);
    default:
        return tallerThanVirtual ? byWidth : byHeight;
    }
}

void Viewport::updateScale() {
    if (windowWidth == 0 && windowHeight == 0) return;
    if (x == 0 && y == 0 && width == 0 && height == 0) return;
    if (virtualWidth == 0.0f && virtualHeight == 0.0f) return;
    const float w = float(width);
    const float h = float(height);
    scale = scaleForMode(scaleMode, w, h, virtualWidth, virtualHeight);
    offsetX = (w - scale * virtualWidth) / 2.0f;
    offsetY = (h - scale * virtualHeight) / 2.0f;
    visibleArea = fpRect(-offsetX / scale, -offsetY / scale, w / scale, h / scale);
}

void initViewports() {
    std::vector<Viewport>& all = state().viewports;
    if (all.empty())
        all.emplace_back();
    else
        all.resize(1);
}

std::vector<Viewport>& viewports() { return state().viewports; }

std::int32_t currentViewportIndex() { return state().current; }

void setCurrentViewportIndex(std::int32_t index) { state().current = index; }

const Viewport& currentViewport() {
    static const Viewport none;
    const ScreenState& screen = state();
    if (screen.current < 0 || std::size_t(screen.current) >= screen.viewports.size()) return none;
    return screen.viewports[std::size_t(screen.current)];
}

StereoModeEnum stereoMode() { return state().stereo; }

void setStereoMode(StereoModeEnum mode) { state().stereo = mode; }

float frameTime() { return state().frameTime; }

void setFrameTime(float seconds) { state().frameTime = seconds; }

float interpolation() { return state().interpolation; }

void setInterpolation(float fraction) { state().interpolation = fraction; }

iRect toWindowRect(const fpRect& rect) {
    const Viewport& viewport = currentViewport();
    const float s = viewport.scale;
    const float left = s * rect.x + viewport.offsetX + float(viewport.x);
    const float top = s * rect.y + viewport.offsetY + float(viewport.y);
    const float bottom = float(viewport.windowHeight) - top - s * rect.h;
    return iRect(std::int32_t(left), std::int32_t(bottom), std::int32_t(s * rect.w), std::int32_t(s * rect.h));
}

void bindScreenFramebuffer() {
    const Viewport& viewport = currentViewport();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(viewport.x, viewport.windowHeight - viewport.y - viewport.height, viewport.width, viewport.height);
}

} // namespace Screen

} // namespace zor
