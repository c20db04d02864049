#pragma once
// The one object game code asks about input. Virtual buttons ("jump", "menu_accept", ...)
// are bound to physical inputs and threshold buttons by the controls file; the platform
// adapter feeds presses, releases and polled held states; every update step ends with
// update(), which clears the one-step flags. It also carries the analogue inputs, the key
// display names and the pointer gestures. Main thread only.

#include "Framework/core/events/EventList.h"
#include "Framework/input/AnalogueInput.h"
#include "Framework/input/Button.h"
#include "Framework/input/CaseFoldedName.h"
#include "Framework/input/KeyNames.h"
#include "Framework/input/KeyState.h"
#include "Framework/input/PointerGestures.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

class ConfigFile;

class InputState {
public:
    static constexpr float FirstRepeatDelay = 0.4f;
    static constexpr float RepeatInterval = 0.07f;

    InputState();
    InputState(const InputState&) = delete;
    InputState& operator=(const InputState&) = delete;

    // The program's input state: constructed before main, destroyed after it.
    static InputState& global();

    // Start-up: resets the input clock and the gesture trackers, then follows the screen's
    // changes with the screen variables (refreshed once at once).
    void init();

    // Fed by the platform adapter. Inputs without a key state (bound to nothing) are dropped.
    void setKeyPressed(KeyCode code, bool down);
    void setKeyReleased(KeyCode code, bool up);
    void setKeyHeld(KeyCode code, bool down);
    // Stores a raw value and updates the bound threshold buttons over that input's variable.
    void setAnalogueValue(AnalogueCode code, float raw);

    // The poll before each update step reports the left button: pressed since the last
    // poll, still down, or released; positions are design units, the first one the pointer.
    void pointerPressed(const std::vector<fpVector2>& positions);
    void pointerMoved(const std::vector<fpVector2>& positions);
    void pointerReleased(const std::vector<fpVector2>& positions);

    // Virtual button queries; names are compared exactly, letter case included.
    bool isHeld(const std::string& name) const;
    bool wasPressed(const std::string& name) const;
    bool wasPressedOrRepeated(const std::string& name) const;
    bool wasReleased(const std::string& name) const;
    bool isIdle() const;
    // Inserts the bindings of `name`, in configuration order and as written, at the front
    // of `bindings`; leaves it alone for an unbound name.
    void getBindings(const std::string& name, std::vector<std::string>& bindings) const;
    // The current keyboard layout's text for a key name spelt exactly as in the name table.
    bool getKeyDisplayName(const std::string& keyName, std::string& text) const;
    // 1 while the game controller is the input in use, else 0.
    float gamepadUsed() const;

    // The held pointer: set from the step in which a press is polled until the end of the
    // step in which its release is polled; pressBegan only in the step of the press.
    bool pointerHeld() const { return m_pointer.held; }
    bool pointerPressBegan() const { return m_pointer.pressBegan; }
    const fpVector2& pointerHeldPosition() const { return m_pointer.position; }

    const PointerGestures& gestures() const { return m_gestures; }
    const AnalogueInput* analogueInput(AnalogueCode code) const;
    // Seconds of update steps since init().
    float clock() const { return m_clock; }

    // Set-up.
    // Binds a key name or threshold button name (any letter case) to a virtual button;
    // other names are ignored. Returns whether the binding name was known.
    bool bind(const std::string& virtualName, const std::string& bindingName);
    void addAnalogueInput(const std::string& inputMin, const std::string& inputMax, const std::string& variable,
                          const std::string& name, const std::string& outputMin, const std::string& outputMax);
    // "variable < number" or "variable > number"; malformed expressions are ignored.
    // Returns whether the button was registered.
    bool addThresholdButton(const std::string& name, const std::string& expression);
    void refreshAnalogueRanges();
    void setKeyDisplayNames(std::unordered_map<std::string, std::string> displayNames);
    void setControlsConfig(std::shared_ptr<ConfigFile> config);
    const std::shared_ptr<ConfigFile>& controlsConfig() const { return m_controlsConfig; }

    // End of the update step: advances the clock, clears the one-step flags, counts the
    // repeat timers down, ends the step of the gesture recognizer and lets go of a pointer
    // whose button is up.
    void update(float dt);

private:
    using KeyStates = std::unordered_map<Button, KeyState, ButtonHash>;

    template <class Flag>
    bool anyWithName(const std::string& name, Flag flag) const;
    KeyState* findKeyState(KeyCode code);
    void holdPointer(const std::vector<fpVector2>& positions);

    struct HeldPointer {
        bool buttonDown = false;  // as the last poll saw it
        bool held = false;
        bool pressBegan = false;
        fpVector2 position;
    };

    PointerGestures m_gestures;
    HeldPointer m_pointer;
    KeyStates m_keyStates;
    std::unordered_map<std::string, std::vector<std::string>> m_bindings;
    std::unordered_map<std::string, Button, CaseFoldedHash, CaseFoldedEqual> m_thresholdButtons;
    std::unordered_map<AnalogueCode, AnalogueInput> m_analogueInputs;
    std::shared_ptr<ConfigFile> m_controlsConfig;
    std::unordered_map<std::string, std::string> m_displayNames;
    float m_clock = 0.0f;
    EventConnection m_screenChanged;
};

// The held pointer for a debug menu's buttons: when the pointer is held, writes its
// position and whether the press began in this step and returns true; otherwise returns
// false and leaves both outputs alone.
bool getPointerHeld(const InputState& input, fpVector2& position, bool& pressBegan);

} // namespace zor
