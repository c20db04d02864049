#include "Framework/input/InputConfig.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/input/InputState.h"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/algorithm/string/trim.hpp>

#include <algorithm>
#include <set>
#include <vector>

namespace zor {
namespace {

std::shared_ptr<ConfigFile> g_gamepadMappings;

void logSkipped(const ConfigFile& file, std::size_t index, const std::string& reason) {
    LogHandler::log(LogHandler::Warning, "input",
                    file.path() + " line " + std::to_string(index + 1) + " skipped: " + reason);
}

// A cut or edited player file must not leave a button without keys: "accept" alone
// decides whether the game gets past its first screen.
void bindMissingDefaults(const ConfigFile& controls, const std::set<std::string>& bound, InputState& input) {
    ConfigFile defaults(InputConfigFiles::DefaultControls);
    readLines(defaults.path(), defaults.lines(), FileLocation::GameData, false);
    std::vector<std::string> restored;
    for (std::size_t index = 0; index < defaults.lines().size(); ++index) {
        std::string name;
        std::string value;
        if (!defaults.getEntry(index, name, value) || bound.count(name)) continue;
        std::vector<std::string> bindings;
        boost::split(bindings, value, boost::is_any_of(","));
        bool any = false;
        for (std::string& binding : bindings) {
            boost::trim(binding);
            if (!binding.empty() && input.bind(name, binding)) any = true;
        }
        if (any && std::find(restored.begin(), restored.end(), name) == restored.end()) restored.push_back(name);
    }
    if (restored.empty()) return;
    std::string names;
    for (const std::string& name : restored) names += (names.empty() ? "" : ", ") + name;
    LogHandler::log(LogHandler::Warning, "input",
                    controls.path() + " binds nothing to " + names + "; those keep their default controls");
}

} // namespace

std::set<std::string> applyControls(const ConfigFile& controls, InputState& input) {
    std::set<std::string> bound;
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
            if (input.bind(name, binding))
                bound.insert(name);
            else
                logSkipped(controls, index, "unknown input '" + binding + "'");
        }
    }
    return bound;
}

bool loadUserControls(InputState& input) {
    auto controls = std::make_shared<ConfigFile>(InputConfigFiles::UserControls);
    input.setControlsConfig(controls);
    if (!controls->load()) return false;
    const std::set<std::string> bound = applyControls(*controls, input);
    bindMissingDefaults(*controls, bound, input);
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
