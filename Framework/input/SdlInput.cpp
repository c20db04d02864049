#include "Framework/input/SdlInput.h"

#include "Framework/input/GameController.h"
#include "Framework/input/InputConfig.h"
#include "Framework/input/ScancodeTables.h"
#include "Framework/input/ScreenMapping.h"
#include "Framework/input/StandardInputs.h"

#include <SDL.h>

#include <algorithm>

namespace zor {
namespace {

bool g_leftWasDown = false;
fpVector2 g_pointer;

void press(InputState& input, KeyCode code) {
    if (code != KeyCodes::None) input.setKeyPressed(code, true);
}

void release(InputState& input, KeyCode code) {
    if (code != KeyCodes::None) input.setKeyReleased(code, true);
}

void pollPointer(InputState& input, bool leftDown, int x, int y) {
    // Without a viewport there is no design position, so no gesture can start.
    const bool tracked = leftDown && windowToDesign(static_cast<float>(x), static_cast<float>(y), g_pointer);
    if (tracked) {
        if (g_leftWasDown)
            input.pointerMoved({g_pointer});
        else
            input.pointerPressed({g_pointer});
    } else if (g_leftWasDown) {
        input.pointerReleased({g_pointer});
    }
    g_leftWasDown = tracked;
}

} // namespace

void buildKeyDisplayNames(InputState& input) {
    std::unordered_map<std::string, std::string> names;
    for (KeyCode code = 0; code < KeyCodes::Count; ++code) {
        const int scancode = keyToScancode(code);
        if (scancode == NoScancode) continue;
        const std::string name = keyNameForCode(code);
        const std::string text = SDL_GetKeyName(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode)));
        if (!name.empty() && !text.empty()) names.emplace(name, text);
    }
    input.setKeyDisplayNames(std::move(names));
}

void setupInputBindings(InputState& input) {
    buildKeyDisplayNames(input);
    addStandardAnalogueInputs(input);
    addStandardThresholdButtons(input);
    if (!loadUserControls(input)) installDefaultControls(input);
    loadGamepadMappings();
}

void pollInput(InputState& input) {
    int keyCount = 0;
    const Uint8* keys = SDL_GetKeyboardState(&keyCount);
    const int scancodes = std::min(keyCount, NoScancode + 1);
    for (int scancode = 0; scancode < scancodes; ++scancode) {
        const KeyCode code = scancodeToKey(scancode);
        if (code != KeyCodes::None) input.setKeyHeld(code, keys[scancode] != 0);
    }

    pollGameController(input);
    input.setAnalogueValue(AnalogueCodes::GamepadUsed, isGamepadInUse() ? 1.0f : 0.0f);

    int x = 0;
    int y = 0;
    const Uint32 buttons = SDL_GetMouseState(&x, &y);
    input.setKeyHeld(mouseButtonToKey(SDL_BUTTON_LEFT), (buttons & SDL_BUTTON_LMASK) != 0);
    input.setKeyHeld(mouseButtonToKey(SDL_BUTTON_RIGHT), (buttons & SDL_BUTTON_RMASK) != 0);
    input.setKeyHeld(mouseButtonToKey(SDL_BUTTON_MIDDLE), (buttons & SDL_BUTTON_MMASK) != 0);
    input.setKeyHeld(mouseButtonToKey(SDL_BUTTON_X1), (buttons & SDL_BUTTON_X1MASK) != 0);
    input.setKeyHeld(mouseButtonToKey(SDL_BUTTON_X2), (buttons & SDL_BUTTON_X2MASK) != 0);
    input.setAnalogueValue(AnalogueCodes::MouseX, static_cast<float>(x));
    input.setAnalogueValue(AnalogueCodes::MouseY, static_cast<float>(y));

    pollPointer(input, (buttons & SDL_BUTTON_LMASK) != 0, x, y);
}

void mouseButtonUp(int sdlButton, InputState& input) {
    release(input, mouseButtonToKey(sdlButton));
}

bool handleInputEvent(const SDL_Event& event, InputState& input) {
    switch (event.type) {
    case SDL_KEYDOWN: {
        if (event.key.repeat) return true;
        const KeyCode code = scancodeToKey(event.key.keysym.scancode);
        if (code != KeyCodes::None) {
            setGamepadInUse(false);
            press(input, code);
        }
        return true;
    }
    case SDL_KEYUP:
        if (!event.key.repeat) release(input, scancodeToKey(event.key.keysym.scancode));
        return true;
    case SDL_MOUSEBUTTONDOWN:
        press(input, mouseButtonToKey(event.button.button));
        return true;
    case SDL_MOUSEBUTTONUP:
        mouseButtonUp(event.button.button, input);
        return true;
    case SDL_CONTROLLERBUTTONDOWN: {
        const KeyCode code = gamepadButtonToKey(event.cbutton.button);
        if (code != KeyCodes::None) {
            setGamepadInUse(true);
            press(input, code);
        }
        return true;
    }
    case SDL_CONTROLLERBUTTONUP:
        release(input, gamepadButtonToKey(event.cbutton.button));
        return true;
    case SDL_JOYDEVICEADDED:
        openGameController(event.jdevice.which);
        return true;
    case SDL_JOYDEVICEREMOVED:
        closeDetachedGameController();
        return true;
    default:
        return false;
    }
}

} // namespace zor
