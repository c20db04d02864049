#pragma once
// The analogue inputs and threshold buttons every game registers at input set-up:
// pointer coordinates mapped from window pixels to design units, sticks and triggers
// normalized, and the stick directions and triggers usable as buttons in the controls.

namespace zor {

class InputState;

void addStandardAnalogueInputs(InputState& input);
void addStandardThresholdButtons(InputState& input);

} // namespace zor
