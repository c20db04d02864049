#include "Framework/menu/MenuPointer.h"

#include "Framework/input/InputState.h"

namespace zor {

MenuPointer MenuPointer::read(const InputState& input) {
    const PointerGestures& gestures = input.gestures();
    MenuPointer pointer;
    pointer.held = input.pointerHeld() && !gestures.release.active;
    pointer.wentDown = input.pointerPressBegan();
    pointer.position = input.pointerHeldPosition();
    pointer.released = gestures.release.active;
    pointer.releasePosition = gestures.release.position;
    pointer.tapped = gestures.tap.active;
    pointer.tapPosition = gestures.tap.position;
    return pointer;
}

} // namespace zor
