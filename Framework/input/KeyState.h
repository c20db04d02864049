#pragma once
// The state of one bound physical input or threshold button, and the virtual
// button names it serves. The one-step flags last until the end of the update step.

#include <set>
#include <string>

namespace zor {

struct KeyState {
    std::set<std::string> names;
    bool held = false;
    bool pressed = false;
    bool released = false;
    bool repeat = false;       // pressed or auto-repeated in this step
    float repeatTimer = 0.0f;  // seconds until the next auto-repeat
};

} // namespace zor
