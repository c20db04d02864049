#include "Framework/input/ScreenMapping.h"

#include "Framework/input/InputState.h"

namespace zor {

// Interim until the screen module lands: no viewport yet.
void refreshScreenVariables(InputState& input) {
    input.refreshAnalogueRanges();
}

bool windowToDesign(float, float, fpVector2&) {
    return false;
}

} // namespace zor
