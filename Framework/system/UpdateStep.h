#pragma once
// One fixed update step of the whole program, and the render of one viewport.

namespace zor {

// The debug time controls applied to a time span: slow motion x 0.25, speed-up x 4,
// still 0.
float debugScaledTime(float seconds);

// Runs one step of `stepLength` seconds: pumped jobs, a failed worker job, the debug
// flags (time controls, with the step given to the game at most 0.1 s; resets, log,
// frame-rate display), the game's state requests, the state change and fade, input to the
// open settings debug menu or else the current game state, the menu itself, music, the
// store callbacks and the current game state's update.
void updateStep(float stepLength);

// Draws the current game state into the current viewport, then the fade overlay.
void renderFrame();

} // namespace zor
