#include "Framework/input/InputConfig.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/input/InputState.h"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/algorithm/string/trim.hpp>

#include <algorithm>
#include <vector>

namespace zor {
namespace {

std::shared_ptr<ConfigFile> g_gamepadMappings;

void logSkipped(const ConfigFile& file, std::size_t index, const std::string& reason) {
    LogHandler::log(LogHandler::Warning, "input",
                    file.path() + " line " + std::to_string(index + 1) + " skipped: " + reason);
}

} // namespace

void applyControls(const ConfigFile& controls, InputState& input) {
    const std::vector<std::string>& lines = controls.lines();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        std::string name;
        std::string value;
        if (!controls.getEntry(index, name, value)) {
            if (std::count(lines[index].begin(), lines[index].end(), '=') > 1)
                logSkipped(controls, index, "more than one '='");
            continue;
        }
        std::vector<std::string> bindings;
        boost::split(bindings, value, boost::is_any_of(","));
        for (std::string& binding : bindings) {
            boost::trim(binding);
            if (binding.empty()) continue;
            if (!input.bind(name, binding)) logSkipped(controls, index, "unknown input '" + binding + "'");
        }
    }
}

bool loadUserControls(InputState& input) {
    auto controls = std::make_shared<ConfigFile>(InputConfigFiles::UserControls);
    input.setControlsConfig(controls);
    if (!controls->load()) return false;
    applyControls(*controls, input);
    return true;
}

void installDefaultControls(InputState& input) {
    auto controls = std::make_shared<ConfigFile>(InputConfigFiles::UserControls);
    input.setControlsConfig(controls);
    controls->loadDefault(InputConfigFiles::DefaultControls);
    if (!controls->save()) {
        // An unwritable user folder must not leave the game without controls.
        LogHandler::log(LogHandler::Warning, "input",
                        std::string("Could not write ") + InputConfigFiles::UserControls +
                            "; playing with the default controls");
        applyControls(*controls, input);
        return;
    }
    loadUserControls(input);
}

void loadGamepadMappings() {
    g_gamepadMappings = std::make_shared<ConfigFile>(InputConfigFiles::UserGamepads);
    if (g_gamepadMappings->load()) return;
    g_gamepadMappings->loadDefault(InputConfigFiles::DefaultGamepads);
    g_gamepadMappings->save();
}

std::shared_ptr<const ConfigFile> gamepadMappings() {
    return g_gamepadMappings;
}

std::string findGamepadMapping(const ConfigFile& mappings, const std::string& guid) {
    for (const std::string& line : mappings.lines()) {
        if (line.compare(0, guid.size(), guid) == 0 && line.size() >= guid.size()) return line;
    }
    return {};
}

std::string findGamepadMapping(const std::string& guid) {
    return g_gamepadMappings ? findGamepadMapping(*g_gamepadMappings, guid) : std::string();
}

} // namespace zor
