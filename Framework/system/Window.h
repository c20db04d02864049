#pragma once
// The game window with its OpenGL context, the driver checks and the screen settings
// ("Screen.VSync", "Screen.WindowSize", "Screen.Fullscreen").

#include "Framework/core/events/EventList.h"

#include <vector>

namespace zor {

// The title of the window and the caption of the error message box.
inline constexpr const char* ProductName = "Morrowdeep";

// Starts SDL (timer, video, game controllers), opens the window from the screen settings,
// sets "icon.bmp" beside the game data folder as its icon when there is one, makes the
// OpenGL context current on this thread and shows a black first frame. A "Screen.WindowSize"
// the display cannot show, or one SDL cannot make a window of, is replaced by the default
// size with a warning naming the setting. Failures, among them a missing display or one
// that stays unreachable for two seconds, throw MainError.
void createWindow();
// Deletes the context, then the window (either may be missing), then stops SDL's video.
// An error box shown afterwards makes its own connection to the display; SDL's box
// crashes when video runs on a window-less driver.
void closeVideo();

// Loads the OpenGL entry points and refuses drivers without OpenGL 2.1, framebuffer
// objects or 2048-pixel textures and render buffers (MainError).
void checkOpenGLSupport();

// Applies the swap interval always, the window size and full-screen choice when they
// changed or `force` is set; then refits the first viewport and fires screenChanged. A size
// the display cannot show is replaced as at creation.
void applyScreenSettings(bool force);

// A listener that applies the screen settings whenever a "Screen." setting changes.
std::vector<EventConnection> watchScreenSettings();

} // namespace zor
