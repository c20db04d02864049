#include "Framework/input/ScreenMapping.h"

#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/InputState.h"
#include "Framework/input/InputVariables.h"

namespace zor {
namespace {

const Screen::Viewport* lastViewport() {
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    return viewports.empty() ? nullptr : &viewports.back();
}

} // namespace

void refreshScreenVariables(InputState& input) {
    if (const Screen::Viewport* viewport = lastViewport()) {
        const fpRect& visible = viewport->visibleArea;
        InputVariables::set("{RealScreenSizeLeft}") = 0.0f;
        InputVariables::set("{RealScreenSizeTop}") = 0.0f;
        InputVariables::set("{RealScreenSizeRight}") = static_cast<float>(viewport->width);
        InputVariables::set("{RealScreenSizeBottom}") = static_cast<float>(viewport->height);
        InputVariables::set("{NormalizedScreenLeft}") = visible.x;
        InputVariables::set("{NormalizedScreenTop}") = visible.y;
        InputVariables::set("{NormalizedScreenRight}") = visible.x + visible.w;
        InputVariables::set("{NormalizedScreenBottom}") = visible.y + visible.h;
    }
    input.refreshAnalogueRanges();
}

bool windowToDesign(float x, float y, fpVector2& design) {
    const Screen::Viewport* viewport = lastViewport();
    // A viewport not yet scaled would divide by zero.
    if (!viewport || !(viewport->scale > 0.0f)) return false;
    design = {(x - static_cast<float>(viewport->x) - viewport->offsetX) / viewport->scale,
              (y - static_cast<float>(viewport->y) - viewport->offsetY) / viewport->scale};
    return true;
}

} // namespace zor
