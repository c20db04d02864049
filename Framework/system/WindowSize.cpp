#include "Framework/system/WindowSize.h"

#include <algorithm>

namespace zor {

namespace {

std::string sizeText(iVector2 size) { return std::to_string(size.x) + "x" + std::to_string(size.y); }

} // namespace

WindowSizeChoice chooseWindowSize(iVector2 wanted, iVector2 fallback, iVector2 usable) {
    const bool usableKnown = usable.x > 0 && usable.y > 0;
    WindowSizeChoice choice{wanted, {}};
    if (wanted.x < MinimumWindowSize.x || wanted.y < MinimumWindowSize.y)
        choice.reason = "it is below the smallest window of " + sizeText(MinimumWindowSize);
    else if (usableKnown && (wanted.x > usable.x || wanted.y > usable.y))
        choice.reason = "it is larger than the display's usable area of " + sizeText(usable);
    if (choice.reason.empty()) return choice;
    choice.size = fallback;
    if (usableKnown) choice.size = iVector2(std::min(fallback.x, usable.x), std::min(fallback.y, usable.y));
    return choice;
}

} // namespace zor
