#pragma once
// The fixed vocabulary of physical inputs: every key, mouse button and controller
// button has a key code and a name ("Key.Space", "Mouse.Left", "Gamepad.A"); every
// analogue input has an analogue code and a name ("Mouse.X", "Gamepad.TriggerLeft").
// The names are what the controls file is written in; the codes are what the
// platform adapter produces and the input state stores.

#include <cstdint>
#include <optional>
#include <string>

namespace zor {

using KeyCode = std::int32_t;
using AnalogueCode = std::int32_t;

namespace KeyCodes {
constexpr KeyCode FirstMouse = 101;   // "Mouse.Left"
constexpr KeyCode FirstGamepad = 106; // "Gamepad.A"
constexpr KeyCode Count = 121;        // named codes are 0 to 120
constexpr KeyCode None = 121;         // no key; also the code of every threshold button
} // namespace KeyCodes

namespace AnalogueCodes {
constexpr AnalogueCode MouseX = 0;
constexpr AnalogueCode MouseY = 1;
constexpr AnalogueCode GamepadUsed = 2;
constexpr AnalogueCode FirstGamepadAxis = 3; // "Gamepad.AnalogueLeftX"; the six axes follow in order
constexpr AnalogueCode Unknown = 9;
} // namespace AnalogueCodes

// Case-insensitive; no value for a name that is not in the table.
std::optional<KeyCode> findKeyCode(const std::string& name);

// The name spelt as in the table; empty for a code without a name (121, negatives, ...).
std::string keyNameForCode(KeyCode code);

// Case-insensitive; AnalogueCodes::Unknown for a name that is not in the table.
AnalogueCode findAnalogueCode(const std::string& name);

} // namespace zor
