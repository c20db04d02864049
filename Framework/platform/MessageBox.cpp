#include "Framework/platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace zor {

namespace {

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

bool messageBoxWanted() {
    if (environmentSet("ZOR_NO_MESSAGEBOX")) return false;
    return environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY");
}

void showErrorMessageBox(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    if (!messageBoxWanted()) return;
    // SDL needs no initialised video here; the box makes its own connection to the display.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

} // namespace zor
