#include "Framework/platform/Display.h"

#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdlib>

namespace zor {

namespace {

DisplayLostHandler g_onLost = nullptr;

// Xlib's own handler ends the process through exit(), whose clean-up then talks to the
// dead connection and waits for it for ever.
int onConnectionBroken(Display*) {
    if (g_onLost) g_onLost();
    _exit(1);
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

std::string displayName() {
    const std::string x11 = environment("DISPLAY");
    return x11.empty() ? environment("WAYLAND_DISPLAY") : x11;
}

void onDisplayLost(DisplayLostHandler handler) {
    g_onLost = handler;
    XSetIOErrorHandler(&onConnectionBroken);
}

} // namespace zor
