#pragma once
// Window and input events, taken from SDL once per main-loop pass.

namespace zor {

// What a pressed key (platform repeats aside) does before it reaches the input state.
enum class KeyAction {
    Input,             // recorded in the input state
    ToggleFullscreen,  // Alt+Return
    Quit,              // Alt+F4
};
KeyAction keyDownAction(int scancode, bool altHeld);

// Takes every pending event: window focus and size, Alt+Return and Alt+F4, keys, mouse
// and controllers. A SIGINT or SIGTERM received meanwhile arrives as a quit request.
// False when the program is to end.
bool pumpEvents();

} // namespace zor
