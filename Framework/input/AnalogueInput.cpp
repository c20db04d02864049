#include "Framework/input/AnalogueInput.h"

#include "Framework/input/InputVariables.h"

#include <algorithm>
#include <cmath>

namespace zor {

float AnalogueInput::normalized() const {
    const float span = inputMax - inputMin;
    if (std::fabs(span) < 0.00001f) return 0.0f;
    float v = std::max(raw, inputMin);
    v = std::min(v, inputMax);
    return outputMin + (v - inputMin) / span * (outputMax - outputMin);
}

void AnalogueInput::refreshRange() {
    inputMin = evaluateInputValue(inputMinText);
    inputMax = evaluateInputValue(inputMaxText);
    outputMin = evaluateInputValue(outputMinText);
    outputMax = evaluateInputValue(outputMaxText);
}

} // namespace zor
