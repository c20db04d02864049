#pragma once
// Translation between SDL's input numbers and our key and analogue codes.

#include "Framework/input/KeyNames.h"

namespace zor {

// SDL's scancode count; the key-to-scancode table holds it for codes without a scancode.
constexpr int NoScancode = 512;

// KeyCodes::None for a scancode outside 0..512 or one without a key.
KeyCode scancodeToKey(int scancode);
// NoScancode for mouse and controller codes, KeyCodes::None and codes outside the table.
int keyToScancode(KeyCode code);
// SDL mouse buttons 1 to 5 (left, middle, right, X1, X2); KeyCodes::None for any other.
KeyCode mouseButtonToKey(int sdlButton);
// SDL game-controller buttons 0 to 14; KeyCodes::None for any other.
KeyCode gamepadButtonToKey(int sdlButton);
// SDL game-controller axes 0 to 5; AnalogueCodes::Unknown for any other.
AnalogueCode gamepadAxisToAnalogue(int sdlAxis);

} // namespace zor
