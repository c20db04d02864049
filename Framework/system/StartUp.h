#pragma once
// The program's start-up, from the store library to the first game state's factory.

#include <string>

namespace zor {

// Start-up in its fixed order: quit signals, store, crash translator, load-error and quit
// handlers, log, system events, file roots ("BundlePC" of the working folder, else beside
// the program, and the user folder), settings, window and OpenGL checks, viewport, asset
// scales, screen settings, system initialisation, vertex buffers, the core debug flags
// and the "debug" command. Failures throw; a missing game data folder is a MainError
// naming both places looked in.
void startUp();

// The load-error handler: throws MainError("Error while loading: " + text +
// "\n\nPlease verify game cache integrity.").
[[noreturn]] void raiseLoadError(const std::string& text);
// The quit handler: the main loop ends after the current pass.
void requestQuit();

} // namespace zor
