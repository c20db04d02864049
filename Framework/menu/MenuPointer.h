#pragma once
// The pointer as the items read it in one update step.

#include "Framework/core/math/Vector.h"

namespace zor {

class InputState;

struct MenuPointer {
    bool held = false;
    bool wentDown = false;  // the press began in this step
    fpVector2 position;     // while held
    bool released = false;  // the release was seen in this step
    fpVector2 releasePosition;
    bool tapped = false;  // a tap was recognised in this step
    fpVector2 tapPosition;

    static MenuPointer read(const InputState& input);
};

} // namespace zor
