#pragma once
// The display the game window opens on, and what happens when it goes away.

#include <string>

namespace zor {

// The display named by the environment: $DISPLAY, else $WAYLAND_DISPLAY; empty when
// neither is set (the program then has nowhere to open its window).
std::string displayName();

// Called when the connection to the X server breaks: the server ended, the session logged
// out, a forwarded display dropped. It runs inside the failing X call, on the thread that
// made it (the main thread), and must not return: the display can no longer be used, and
// every X or OpenGL call would fail or wait for ever. Should it return, the process ends
// at once with exit code 1.
using DisplayLostHandler = void (*)();
void onDisplayLost(DisplayLostHandler handler);

} // namespace zor
