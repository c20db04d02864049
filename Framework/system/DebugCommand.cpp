#include "Framework/system/DebugCommand.h"

#include "Framework/core/commands/Commands.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/log/LogHandler.h"

#include <string>
#include <vector>

namespace zor {

namespace {

constexpr const char* LogSource = "Debug";

void flipDebugFlag(const std::vector<std::string>& arguments) {
    const std::string& category = arguments[0];
    const std::string& name = arguments[1];
    DebugFlag* flag = findDebugFlag(category, name);
    if (!flag) {
        LogHandler::log(LogHandler::Warning, LogSource, "No debug flag \"" + category + "\"/\"" + name + "\"");
        return;
    }
    const bool on = !flag->load();
    *flag = on;
    LogHandler::log(LogHandler::Info, LogSource,
                    "Debug flag \"" + category + "\"/\"" + name + "\" " + (on ? "on" : "off"));
}

} // namespace

void registerDebugCommand() { registerCommand("debug", 2, &flipDebugFlag); }

} // namespace zor
