#include "Framework/input/InputState.h"

#include "Framework/core/events/SystemEvents.h"
#include "Framework/input/ConfigFile.h"
#include "Framework/input/ScreenMapping.h"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/lexical_cast.hpp>

#include <algorithm>

namespace zor {
namespace {

template <class Map>
void startSmall(Map& map) {
    map.rehash(11);
    map.max_load_factor(1.0f);
}

InputState g_inputState;

} // namespace

InputState::InputState() {
    startSmall(m_keyStates);
    startSmall(m_bindings);
    startSmall(m_thresholdButtons);
    startSmall(m_analogueInputs);
    startSmall(m_displayNames);
}

InputState& InputState::global() {
    return g_inputState;
}

void InputState::init() {
    m_clock = 0.0f;
    m_gestures.reset();
    m_screenChanged = SystemEvents::instance().screenChanged.connect(
        this, [](InputState* input) { refreshScreenVariables(*input); });
    refreshScreenVariables(*this);
}

KeyState* InputState::findKeyState(KeyCode code) {
    auto found = m_keyStates.find(Button(code));
    return found == m_keyStates.end() ? nullptr : &found->second;
}

void InputState::setKeyPressed(KeyCode code, bool down) {
    KeyState* state = findKeyState(code);
    if (!state) return;
    state->pressed = down;
    if (down) {
        state->repeat = true;
        state->repeatTimer = FirstRepeatDelay;
    }
}

void InputState::setKeyReleased(KeyCode code, bool up) {
    if (KeyState* state = findKeyState(code)) state->released = up;
}

void InputState::setKeyHeld(KeyCode code, bool down) {
    KeyState* state = findKeyState(code);
    if (!state) return;
    state->held = down;
    if (down && state->repeatTimer <= 0.0f) {
        state->repeat = true;
        state->repeatTimer = RepeatInterval;
    }
}

void InputState::setAnalogueValue(AnalogueCode code, float raw) {
    auto found = m_analogueInputs.find(code);
    if (found == m_analogueInputs.end()) return;
    AnalogueInput& input = found->second;
    input.raw = raw;
    const float value = input.normalized();
    // Walks the key states rather than the threshold names, so that two names with the
    // same definition (one shared key state) are evaluated once per value.
    for (auto& [button, state] : m_keyStates) {
        if (!button.type || button.type->variable != input.variable) continue;
        const bool on = button.type->isOn(value);
        const bool heldBefore = state.held;
        state.pressed = on && !heldBefore;
        state.released = heldBefore && !on;
        state.held = on;
        if (state.pressed) {
            state.repeat = true;
            state.repeatTimer = FirstRepeatDelay;
        } else if (on && state.repeatTimer <= 0.0f) {
            state.repeat = true;
            state.repeatTimer = RepeatInterval;
        }
    }
}

void InputState::holdPointer(const std::vector<fpVector2>& positions) {
    m_pointer.buttonDown = true;
    m_pointer.pressBegan = !m_pointer.held;
    m_pointer.held = true;
    if (!positions.empty()) m_pointer.position = positions.front();
}

void InputState::pointerPressed(const std::vector<fpVector2>& positions) {
    m_gestures.pointerPressed(positions, m_clock);
    holdPointer(positions);
}

void InputState::pointerMoved(const std::vector<fpVector2>& positions) {
    m_gestures.pointerMoved(positions, m_clock);
    holdPointer(positions);
}

void InputState::pointerReleased(const std::vector<fpVector2>& positions) {
    m_gestures.pointerReleased(positions, m_clock);
    // Still held for this step: the release has its own flag in the gestures.
    m_pointer.buttonDown = false;
}

template <class Flag>
bool InputState::anyWithName(const std::string& name, Flag flag) const {
    for (const auto& entry : m_keyStates) {
        const KeyState& state = entry.second;
        if (flag(state) && state.names.count(name)) return true;
    }
    return false;
}

bool InputState::isHeld(const std::string& name) const {
    return anyWithName(name, [](const KeyState& s) { return s.held; });
}

bool InputState::wasPressed(const std::string& name) const {
    return anyWithName(name, [](const KeyState& s) { return s.pressed; });
}

bool InputState::wasPressedOrRepeated(const std::string& name) const {
    return anyWithName(name, [](const KeyState& s) { return s.repeat; });
}

bool InputState::wasReleased(const std::string& name) const {
    return anyWithName(name, [](const KeyState& s) { return s.released; });
}

bool InputState::isIdle() const {
    if (m_gestures.anyGesture()) return false;
    for (const auto& entry : m_keyStates) {
        if (entry.second.held) return false;
    }
    return true;
}

void InputState::getBindings(const std::string& name, std::vector<std::string>& bindings) const {
    auto found = m_bindings.find(name);
    if (found == m_bindings.end()) return;
    bindings.insert(bindings.begin(), found->second.begin(), found->second.end());
}

bool InputState::getKeyDisplayName(const std::string& keyName, std::string& text) const {
    auto found = m_displayNames.find(keyName);
    if (found == m_displayNames.end()) return false;
    text = found->second;
    return true;
}

float InputState::gamepadUsed() const {
    for (const auto& entry : m_analogueInputs) {
        if (entry.second.variable == "gamepad_used") return entry.second.normalized();
    }
    return 0.0f;
}

const AnalogueInput* InputState::analogueInput(AnalogueCode code) const {
    auto found = m_analogueInputs.find(code);
    return found == m_analogueInputs.end() ? nullptr : &found->second;
}

bool InputState::bind(const std::string& virtualName, const std::string& bindingName) {
    Button button;
    const std::optional<KeyCode> code = findKeyCode(bindingName);
    if (code && *code != KeyCodes::None) {
        button = Button(*code);
    } else {
        auto threshold = m_thresholdButtons.find(bindingName);
        if (threshold == m_thresholdButtons.end()) return false;
        button = threshold->second;
    }
    m_keyStates[button].names.insert(virtualName);
    m_bindings[virtualName].push_back(bindingName);
    return true;
}

void InputState::addAnalogueInput(const std::string& inputMin, const std::string& inputMax,
                                  const std::string& variable, const std::string& name,
                                  const std::string& outputMin, const std::string& outputMax) {
    const AnalogueCode code = findAnalogueCode(name);
    if (code == AnalogueCodes::Unknown || m_analogueInputs.count(code)) return;
    AnalogueInput input;
    input.variable = variable;
    input.inputMinText = inputMin;
    input.inputMaxText = inputMax;
    input.outputMinText = outputMin;
    input.outputMaxText = outputMax;
    input.refreshRange();
    m_analogueInputs.emplace(code, std::move(input));
}

bool InputState::addThresholdButton(const std::string& name, const std::string& expression) {
    std::vector<std::string> tokens;
    boost::split(tokens, expression, boost::is_any_of(" "), boost::token_compress_on);
    tokens.erase(std::remove(tokens.begin(), tokens.end(), std::string()), tokens.end());
    if (tokens.size() != 3) return false;

    auto type = std::make_shared<Button::VirtualButtonType>();
    if (tokens[1] == "<")
        type->comparison = Button::VirtualButtonType::Below;
    else if (tokens[1] == ">")
        type->comparison = Button::VirtualButtonType::Above;
    else
        return false;
    if (!boost::conversion::try_lexical_convert(tokens[2], type->threshold)) return false;
    type->name = name;
    type->variable = tokens[0];
    m_thresholdButtons[name] = Button(std::shared_ptr<const Button::VirtualButtonType>(std::move(type)));
    return true;
}

void InputState::refreshAnalogueRanges() {
    for (auto& entry : m_analogueInputs) entry.second.refreshRange();
}

void InputState::setKeyDisplayNames(std::unordered_map<std::string, std::string> displayNames) {
    m_displayNames = std::move(displayNames);
}

void InputState::setControlsConfig(std::shared_ptr<ConfigFile> config) {
    m_controlsConfig = std::move(config);
}

void InputState::update(float dt) {
    m_clock += dt;
    for (auto& entry : m_keyStates) {
        KeyState& state = entry.second;
        state.pressed = false;
        state.released = false;
        state.repeat = false;
        if (state.repeatTimer > 0.0f) state.repeatTimer -= dt;
    }
    m_gestures.endStep(m_clock, dt);
    if (m_pointer.buttonDown) {
        m_pointer.pressBegan = !m_pointer.held;
        m_pointer.held = true;
    } else {
        m_pointer.held = false;
    }
}

bool getPointerHeld(const InputState& input, fpVector2& position, bool& pressBegan) {
    if (!input.pointerHeld()) return false;
    position = input.pointerHeldPosition();
    pressBegan = input.pointerPressBegan();
    return true;
}

} // namespace zor
