#include "Framework/input/StandardInputs.h"

#include "Framework/input/InputState.h"

namespace zor {

void addStandardAnalogueInputs(InputState& input) {
    input.addAnalogueInput("{RealScreenSizeLeft}", "{RealScreenSizeRight}", "mouse_x", "Mouse.X",
                           "{NormalizedScreenLeft}", "{NormalizedScreenRight}");
    input.addAnalogueInput("{RealScreenSizeTop}", "{RealScreenSizeBottom}", "mouse_y", "Mouse.Y",
                           "{NormalizedScreenTop}", "{NormalizedScreenBottom}");
    input.addAnalogueInput("-32768", "32767", "left_stick_x", "Gamepad.AnalogueLeftX", "-1", "1");
    input.addAnalogueInput("-32768", "32767", "left_stick_y", "Gamepad.AnalogueLeftY", "-1", "1");
    input.addAnalogueInput("-32768", "32767", "right_stick_x", "Gamepad.AnalogueRightX", "-1", "1");
    input.addAnalogueInput("-32768", "32767", "right_stick_y", "Gamepad.AnalogueRightY", "-1", "1");
    input.addAnalogueInput("-32768", "32767", "trigger_left", "Gamepad.TriggerLeft", "0", "1");
    input.addAnalogueInput("-32768", "32767", "trigger_right", "Gamepad.TriggerRight", "0", "1");
    input.addAnalogueInput("0", "1", "gamepad_used", "Gamepad.Used", "0", "1");
}

void addStandardThresholdButtons(InputState& input) {
    input.addThresholdButton("Gamepad.LeftTrigger", "trigger_left > 0.5");
    input.addThresholdButton("Gamepad.RightTrigger", "trigger_right > 0.5");
    input.addThresholdButton("Gamepad.LeftStickLeft", "left_stick_x < -0.5");
    input.addThresholdButton("Gamepad.LeftStickRight", "left_stick_x > 0.5");
    input.addThresholdButton("Gamepad.LeftStickUp", "left_stick_y < -0.5");
    input.addThresholdButton("Gamepad.LeftStickDown", "left_stick_y > 0.5");
    input.addThresholdButton("Gamepad.RightStickLeft", "right_stick_x < -0.5");
    input.addThresholdButton("Gamepad.RightStickRight", "right_stick_x > 0.5");
    input.addThresholdButton("Gamepad.RightStickUp", "right_stick_y < -0.5");
    input.addThresholdButton("Gamepad.RightStickDown", "right_stick_y > 0.5");
}

} // namespace zor
