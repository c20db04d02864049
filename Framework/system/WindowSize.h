#pragma once
// Which size the game window gets from the setting "Screen.WindowSize": a saved size the
// display cannot show (larger than its usable area, or too small to play in) would leave
// the game unstartable or unusable at every later start.

#include "Framework/core/math/Vector.h"

#include <string>

namespace zor {

// Half the main view's layout size of 640 x 360.
inline constexpr iVector2 MinimumWindowSize{320, 180};

struct WindowSizeChoice {
    iVector2 size;
    // Why the wanted size was not taken; empty when it was.
    std::string reason;
};

// The wanted size when it is at least MinimumWindowSize and fits the usable area (ignored
// when it is not known: zero or less); otherwise the fallback size, shrunk to fit the
// usable area, with the reason.
WindowSizeChoice chooseWindowSize(iVector2 wanted, iVector2 fallback, iVector2 usable);

} // namespace zor
