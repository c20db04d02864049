#include "Framework/input/ScancodeTables.h"

#include <SDL.h>

#include <array>
#include <utility>

namespace zor {
namespace {

static_assert(SDL_NUM_SCANCODES == NoScancode, "the tables are sized for SDL's scancode count");

constexpr int ControllerButtonCount = 15; // A to DPAD_RIGHT
constexpr int ControllerAxisCount = 6;    // LEFTX to TRIGGERRIGHT

struct ScancodeTables {
    std::array<int, KeyCodes::Count + 1> keyToScancode;
    std::array<KeyCode, NoScancode + 1> scancodeToKey;

    ScancodeTables() {
        keyToScancode.fill(NoScancode);
        scancodeToKey.fill(KeyCodes::None);
        auto pair = [this](const char* name, SDL_Scancode scancode) {
            const KeyCode code = *findKeyCode(name);
            keyToScancode[static_cast<std::size_t>(code)] = scancode;
            scancodeToKey[static_cast<std::size_t>(scancode)] = code;
        };
        pair("Key.Up", SDL_SCANCODE_UP);
        pair("Key.Down", SDL_SCANCODE_DOWN);
        pair("Key.Left", SDL_SCANCODE_LEFT);
        pair("Key.Right", SDL_SCANCODE_RIGHT);
        for (int i = 0; i < 26; ++i) {
            const std::string name = std::string("Key.") + static_cast<char>('A' + i);
            pair(name.c_str(), static_cast<SDL_Scancode>(SDL_SCANCODE_A + i));
        }
        for (int i = 1; i <= 9; ++i) {
            const std::string name = "Key." + std::to_string(i);
            pair(name.c_str(), static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i - 1));
        }
        pair("Key.0", SDL_SCANCODE_0);
        pair("Key.Return", SDL_SCANCODE_RETURN);
        pair("Key.Escape", SDL_SCANCODE_ESCAPE);
        pair("Key.Backspace", SDL_SCANCODE_BACKSPACE);
        pair("Key.Tab", SDL_SCANCODE_TAB);
        pair("Key.Space", SDL_SCANCODE_SPACE);
        pair("Key.Minus", SDL_SCANCODE_MINUS);
        pair("Key.Equals", SDL_SCANCODE_EQUALS);
        pair("Key.LeftBracket", SDL_SCANCODE_LEFTBRACKET);
        pair("Key.RightBracket", SDL_SCANCODE_RIGHTBRACKET);
        pair("Key.Comma", SDL_SCANCODE_COMMA);
        pair("Key.Period", SDL_SCANCODE_PERIOD);
        pair("Key.Slash", SDL_SCANCODE_SLASH);
        pair("Key.CapsLock", SDL_SCANCODE_CAPSLOCK);
        for (int i = 1; i <= 12; ++i) {
            const std::string name = "Key.F" + std::to_string(i);
            pair(name.c_str(), static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i - 1));
        }
        pair("Key.PrintScreen", SDL_SCANCODE_PRINTSCREEN);
        pair("Key.ScrollLock", SDL_SCANCODE_SCROLLLOCK);
        pair("Key.Pause", SDL_SCANCODE_PAUSE);
        pair("Key.Insert", SDL_SCANCODE_INSERT);
        pair("Key.Home", SDL_SCANCODE_HOME);
        pair("Key.PageUp", SDL_SCANCODE_PAGEUP);
        pair("Key.Delete", SDL_SCANCODE_DELETE);
        pair("Key.End", SDL_SCANCODE_END);
        pair("Key.PageDown", SDL_SCANCODE_PAGEDOWN);
        pair("Key.NumLock", SDL_SCANCODE_NUMLOCKCLEAR);
        pair("Key.NumpadDivide", SDL_SCANCODE_KP_DIVIDE);
        pair("Key.NumpadMultiply", SDL_SCANCODE_KP_MULTIPLY);
        pair("Key.NumpadMinus", SDL_SCANCODE_KP_MINUS);
        pair("Key.NumpadPlus", SDL_SCANCODE_KP_PLUS);
        pair("Key.NumpadEnter", SDL_SCANCODE_KP_ENTER);
        for (int i = 1; i <= 9; ++i) {
            const std::string name = "Key.Numpad" + std::to_string(i);
            pair(name.c_str(), static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + i - 1));
        }
        pair("Key.Numpad0", SDL_SCANCODE_KP_0);
        pair("Key.NumpadPeriod", SDL_SCANCODE_KP_PERIOD);
        pair("Key.NumpadEquals", SDL_SCANCODE_KP_EQUALS);
        pair("Key.F13", SDL_SCANCODE_F13);
        pair("Key.F14", SDL_SCANCODE_F14);
        pair("Key.F15", SDL_SCANCODE_F15);
        pair("Key.LeftCtrl", SDL_SCANCODE_LCTRL);
        pair("Key.LeftShift", SDL_SCANCODE_LSHIFT);
        pair("Key.LeftAlt", SDL_SCANCODE_LALT);
        pair("Key.RightCtrl", SDL_SCANCODE_RCTRL);
        pair("Key.RightShift", SDL_SCANCODE_RSHIFT);
        pair("Key.RightAlt", SDL_SCANCODE_RALT);
    }
};

const ScancodeTables& tables() {
    static const ScancodeTables built;
    return built;
}

} // namespace

KeyCode scancodeToKey(int scancode) {
    if (scancode < 0 || scancode > NoScancode) return KeyCodes::None;
    return tables().scancodeToKey[static_cast<std::size_t>(scancode)];
}

int keyToScancode(KeyCode code) {
    if (code < 0 || code > KeyCodes::Count) return NoScancode;
    return tables().keyToScancode[static_cast<std::size_t>(code)];
}

KeyCode mouseButtonToKey(int sdlButton) {
    // Our names list the right button before the middle one; SDL numbers middle first.
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return KeyCodes::FirstMouse;
    case SDL_BUTTON_MIDDLE: return KeyCodes::FirstMouse + 2;
    case SDL_BUTTON_RIGHT: return KeyCodes::FirstMouse + 1;
    case SDL_BUTTON_X1: return KeyCodes::FirstMouse + 3;
    case SDL_BUTTON_X2: return KeyCodes::FirstMouse + 4;
    default: return KeyCodes::None;
    }
}

KeyCode gamepadButtonToKey(int sdlButton) {
    if (sdlButton < 0 || sdlButton >= ControllerButtonCount) return KeyCodes::None;
    return KeyCodes::FirstGamepad + sdlButton;
}

AnalogueCode gamepadAxisToAnalogue(int sdlAxis) {
    if (sdlAxis < 0 || sdlAxis >= ControllerAxisCount) return AnalogueCodes::Unknown;
    return AnalogueCodes::FirstGamepadAxis + sdlAxis;
}

} // namespace zor
