#pragma once
// Named numbers that analogue range bounds may refer to instead of a literal number.
// Only the screen variables ("{RealScreenSizeRight}", "{NormalizedScreenLeft}", ...)
// are stored; they follow the last viewport of the screen.

#include <string>

namespace zor {

class InputVariables {
public:
    // The variable's value, created at 0 when absent.
    static float& set(const std::string& name);
    static bool find(const std::string& name, float& value);
};

bool findInputVariable(const std::string& name, float& value);

// A variable's value when the text names one; else the text as a number when the whole
// text is one ("0.5" converts, "0.5 " does not); else 0.
float evaluateInputValue(const std::string& text);

} // namespace zor
