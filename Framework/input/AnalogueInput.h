#pragma once
// A raw analogue value (stick, trigger, pointer coordinate) mapped from its input range
// onto an output range. Bounds are texts (numbers or input variable names) so that
// screen-dependent ranges follow the window.

#include <string>

namespace zor {

struct AnalogueInput {
    std::string variable;
    float raw = 0.0f;
    float inputMin = 0.0f;
    float inputMax = 0.0f;
    float outputMin = 0.0f;
    float outputMax = 0.0f;
    std::string inputMinText;
    std::string inputMaxText;
    std::string outputMinText;
    std::string outputMaxText;

    // The raw value clamped to the input range and mapped linearly onto the output range;
    // 0 for an input range narrower than 0.00001.
    float normalized() const;

    // Evaluates the four bound texts again (after the input variables changed).
    void refreshRange();
};

} // namespace zor
