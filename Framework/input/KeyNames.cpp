#include "Framework/input/KeyNames.h"

#include "Framework/input/CaseFoldedName.h"

#include <array>
#include <unordered_map>

namespace zor {
namespace {

// Listed in code order: the position of a name is its key code.
constexpr std::array<const char*, KeyCodes::Count> kKeyNames = {
    "Key.Up", "Key.Down", "Key.Left", "Key.Right",
    "Key.A", "Key.B", "Key.C", "Key.D", "Key.E", "Key.F", "Key.G", "Key.H", "Key.I", "Key.J", "Key.K", "Key.L",
    "Key.M", "Key.N", "Key.O", "Key.P", "Key.Q", "Key.R", "Key.S", "Key.T", "Key.U", "Key.V", "Key.W", "Key.X",
    "Key.Y", "Key.Z",
    "Key.0", "Key.1", "Key.2", "Key.3", "Key.4", "Key.5", "Key.6", "Key.7", "Key.8", "Key.9",
    "Key.Backspace", "Key.Tab", "Key.Return", "Key.Pause", "Key.Escape", "Key.Space", "Key.Comma", "Key.Minus",
    "Key.Period", "Key.Equals", "Key.Slash", "Key.LeftBracket", "Key.RightBracket", "Key.Delete", "Key.Insert",
    "Key.Home", "Key.End", "Key.PageUp", "Key.PageDown",
    "Key.Numpad0", "Key.Numpad1", "Key.Numpad2", "Key.Numpad3", "Key.Numpad4", "Key.Numpad5", "Key.Numpad6",
    "Key.Numpad7", "Key.Numpad8", "Key.Numpad9", "Key.NumpadPeriod", "Key.NumpadDivide", "Key.NumpadMultiply",
    "Key.NumpadMinus", "Key.NumpadPlus", "Key.NumpadEnter", "Key.NumpadEquals",
    "Key.F1", "Key.F2", "Key.F3", "Key.F4", "Key.F5", "Key.F6", "Key.F7", "Key.F8", "Key.F9", "Key.F10",
    "Key.F11", "Key.F12", "Key.F13", "Key.F14", "Key.F15",
    "Key.NumLock", "Key.CapsLock", "Key.ScrollLock", "Key.PrintScreen",
    "Key.RightShift", "Key.LeftShift", "Key.RightCtrl", "Key.LeftCtrl", "Key.RightAlt", "Key.LeftAlt",
    "Mouse.Left", "Mouse.Right", "Mouse.Middle", "Mouse.Extra1", "Mouse.Extra2",
    "Gamepad.A", "Gamepad.B", "Gamepad.X", "Gamepad.Y", "Gamepad.Back", "Gamepad.Guide", "Gamepad.Start",
    "Gamepad.LeftStick", "Gamepad.RightStick", "Gamepad.LeftShoulder", "Gamepad.RightShoulder",
    "Gamepad.DpadUp", "Gamepad.DpadDown", "Gamepad.DpadLeft", "Gamepad.DpadRight",
};

constexpr std::array<const char*, AnalogueCodes::Unknown> kAnalogueNames = {
    "Mouse.X", "Mouse.Y", "Gamepad.Used",
    "Gamepad.AnalogueLeftX", "Gamepad.AnalogueLeftY", "Gamepad.AnalogueRightX", "Gamepad.AnalogueRightY",
    "Gamepad.TriggerLeft", "Gamepad.TriggerRight",
};

template <class Code>
using NameTable = std::unordered_map<std::string, Code, CaseFoldedHash, CaseFoldedEqual>;

template <class Code, std::size_t N>
NameTable<Code> makeTable(const std::array<const char*, N>& names) {
    NameTable<Code> table(11);
    table.max_load_factor(1.0f);
    for (std::size_t code = 0; code < N; ++code) table.emplace(names[code], static_cast<Code>(code));
    return table;
}

const NameTable<KeyCode>& keyNameTable() {
    static const auto table = makeTable<KeyCode>(kKeyNames);
    return table;
}

const NameTable<AnalogueCode>& analogueNameTable() {
    static const auto table = makeTable<AnalogueCode>(kAnalogueNames);
    return table;
}

} // namespace

std::optional<KeyCode> findKeyCode(const std::string& name) {
    const auto& table = keyNameTable();
    auto found = table.find(name);
    if (found == table.end()) return std::nullopt;
    return found->second;
}

std::string keyNameForCode(KeyCode code) {
    if (code < 0 || code >= KeyCodes::Count) return {};
    return kKeyNames[static_cast<std::size_t>(code)];
}

AnalogueCode findAnalogueCode(const std::string& name) {
    const auto& table = analogueNameTable();
    auto found = table.find(name);
    return found == table.end() ? AnalogueCodes::Unknown : found->second;
}

} // namespace zor
