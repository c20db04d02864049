#include "Framework/graphics/primitive/ScreenFade.h"

#include "Framework/graphics/screen/Screen.h"

namespace zor {

namespace {

// Straight alpha: the fade's colour is not premultiplied.
constexpr BlendMode StraightAlpha = 4;

void coverViewport(PackedColor color, PrimitiveBatch& batch) {
    batch.addFilledRect(Screen::currentViewport().visibleArea, color);
    batch.flush();
}

} // namespace

float screenFadeAlpha(const ScreenFade& fade) {
    float a = 1.0f;
    if (fade.duration != 0.0f)
        a = fade.elapsed / fade.duration;
    else if (fade.elapsed < 0.0f)
        a = 0.0f;
    if (a < 0.0f) a = 0.0f;
    if (!(a < 1.0f)) a = 1.0f;
    return fade.direction == 0 ? 1.0f - a : a;
}

void drawScreenFade(const ScreenFade& fade, PrimitiveBatch& batch) {
    if (fade.viewportIndex != -1 && fade.viewportIndex != Screen::currentViewportIndex()) return;
    const float alpha = screenFadeAlpha(fade);
    if (!(alpha > 0.0f)) return;
    batch.modelView = fpMatrix4::identity();
    batch.modelViewChanged = true;
    batch.blendMode = StraightAlpha;
    coverViewport(packColorPlain(fade.red, fade.green, fade.blue, alpha), batch);
}

void drawFadeOverlay(float level, PrimitiveBatch& batch) {
    batch.modelView = fpMatrix4::identity();
    batch.modelViewChanged = true;
    coverViewport(packColorPlain(0.0f, 0.0f, 0.0f, level), batch);
}

} // namespace zor
