#include "Framework/system/EventPump.h"

#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/input/SdlInput.h"
#include "Framework/platform/QuitSignals.h"
#include "Framework/system/ApplicationState.h"

#include <SDL.h>

namespace zor {

namespace {

// Seconds the cursor stays visible in full screen after the mouse moved.
constexpr float CursorShowTime = 1.0f;

void onWindowEvent(const SDL_WindowEvent& event) {
    ApplicationState& app = appState();
    switch (event.event) {
    case SDL_WINDOWEVENT_RESIZED:
        // The settings listener applies the new size.
        if (!app.fullscreen)
            SettingsHandler::instance().setValue("Screen.WindowSize",
                                                 fpVector2(float(event.data1), float(event.data2)));
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        SystemEvents::instance().focusGained.fire();
        app.unfocused = false;
        SDL_DisableScreenSaver();
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        SystemEvents::instance().focusLost.fire();
        app.unfocused = true;
        SDL_EnableScreenSaver();
        break;
    default:
        break;
    }
}

// Alt as it was when the key went down: the keyboard state is already that of the last
// event SDL has taken in, so a quick Alt+Return would otherwise lose its Alt.
bool altHeld(const SDL_KeyboardEvent& event) { return (event.keysym.mod & KMOD_ALT) != 0; }

} // namespace

KeyAction keyDownAction(int scancode, bool alt) {
    if (alt && scancode == SDL_SCANCODE_RETURN) return KeyAction::ToggleFullscreen;
    if (alt && scancode == SDL_SCANCODE_F4) return KeyAction::Quit;
    return KeyAction::Input;
}

bool pumpEvents() {
    forwardQuitSignals();
    ApplicationState& app = appState();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            return false;
        case SDL_WINDOWEVENT:
            onWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
            if (event.key.repeat) break;
            switch (keyDownAction(event.key.keysym.scancode, altHeld(event.key))) {
            case KeyAction::ToggleFullscreen:
                SettingsHandler::instance().setValue("Screen.Fullscreen", std::int32_t(app.fullscreen ? 0 : 1));
                SystemEvents::instance().fullscreenToggled.fire();
                break;
            case KeyAction::Quit:
                return false;
            case KeyAction::Input:
                handleInputEvent(event);
                break;
            }
            break;
        case SDL_MOUSEMOTION:
            if (SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE) SDL_ShowCursor(SDL_ENABLE);
            app.cursorTimer = CursorShowTime;
            break;
        default:
            handleInputEvent(event);
            break;
        }
    }
    return true;
}

} // namespace zor
