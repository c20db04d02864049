#pragma once
// Connects the input state to SDL: the input set-up that main runs once before the main
// loop, the poll at the start of every update step, and the rules by which the event
// pump turns SDL events into presses and releases.

#include "Framework/input/InputState.h"

union SDL_Event;

namespace zor {

// Key display names, analogue inputs, threshold buttons, the controls (the player's
// file, else the default copied to it) and the controller mappings. Needs the file roots
// and SDL's video and game controller parts. No controller is opened here.
void setupInputBindings(InputState& input = InputState::global());

// Held keys and mouse buttons, the controller's buttons and axes, the gamepad-in-use
// value, the mouse position and the pointer gestures.
void pollInput(InputState& input = InputState::global());

// The event rules: key down and up (platform repeats ignored; a key press marks the
// keyboard as the input in use), mouse buttons 1 to 5, controller buttons (a press marks
// the controller as in use) and joystick arrival and removal. Returns false for events
// that are not input. Alt+Enter and Alt+F4 are the event pump's, before this.
bool handleInputEvent(const SDL_Event& event, InputState& input = InputState::global());

// Records the release of an SDL mouse button (1 to 5; others are ignored).
void mouseButtonUp(int sdlButton, InputState& input = InputState::global());

// For every keyboard key code, the name SDL gives its key under the current layout.
void buildKeyDisplayNames(InputState& input);

} // namespace zor
