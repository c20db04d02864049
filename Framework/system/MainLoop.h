#pragma once
// The main loop: fixed update steps, frames limited to "System.MaxFramesPerSecond",
// sleeping in between. It ends on the quit request (state request kind 4), on the
// window's close, on Alt+F4, or on SIGINT/SIGTERM.

namespace zor {

void runMainLoop();

} // namespace zor
