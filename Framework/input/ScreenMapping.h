#pragma once
// Where input meets the screen's last viewport: the screen variables that map window
// pixels to design units, and the same mapping for the pointer.

#include "Framework/core/math/Vector.h"

namespace zor {

class InputState;

// Sets the eight screen variables ("{RealScreenSizeRight}", "{NormalizedScreenLeft}", ...)
// from the last viewport and re-evaluates the analogue ranges of `input`. Without a
// viewport the variables keep their values.
void refreshScreenVariables(InputState& input);

// A window pixel position in design units of the last viewport; false, with `design`
// untouched, when there is no viewport with a positive scale yet.
bool windowToDesign(float x, float y, fpVector2& design);

} // namespace zor
