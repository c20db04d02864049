// The player's input files are hand-edited: any bytes must parse without a crash, and
// whatever binds must stay within the known inputs.

#include "Framework/core/text/TextUtils.h"
#include "Framework/input/InputConfig.h"
#include "Framework/input/InputState.h"
#include "Framework/input/InputVariables.h"
#include "Framework/input/StandardInputs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zor;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    ConfigFile file("controls.cfg");
    file.lines() = splitLines(text);

    InputState input;
    addStandardAnalogueInputs(input);
    addStandardThresholdButtons(input);
    applyControls(file, input);

    for (std::size_t index = 0; index < file.lines().size(); ++index) {
        std::string name;
        std::string value;
        if (!file.getEntry(index, name, value)) continue;
        if (name == "version") std::abort();
        std::vector<std::string> bindings;
        input.getBindings(name, bindings);
        for (const std::string& binding : bindings) {
            if (!findKeyCode(binding)) continue;
            const KeyCode code = *findKeyCode(binding);
            if (code < 0 || code >= KeyCodes::Count) std::abort();
        }
    }

    // Every code the adapter can send, and values on every analogue input.
    for (KeyCode code = -1; code <= KeyCodes::Count; ++code) {
        input.setKeyPressed(code, true);
        input.setKeyHeld(code, true);
        input.setKeyReleased(code, true);
    }
    for (AnalogueCode code = -1; code <= AnalogueCodes::Unknown; ++code) input.setAnalogueValue(code, -20000.0f);
    input.update(1.0f / 60.0f);

    // The same bytes as a gamepads file and as threshold expressions.
    const std::string guid(text.substr(0, 32));
    findGamepadMapping(file, guid);
    for (const std::string& line : file.lines()) {
        input.addThresholdButton(line, line);
        evaluateInputValue(line);
    }
    return 0;
}
