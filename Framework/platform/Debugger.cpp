#include "Framework/platform/Debugger.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zor {

int tracerPidFromStatus(const std::string& statusText) {
    static const std::string key = "TracerPid:";
    std::istringstream lines(statusText);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        const char* digits = line.c_str() + key.size();
        char* end = nullptr;
        const long pid = std::strtol(digits, &end, 10);
        return end != digits && pid > 0 && pid <= INT_MAX ? static_cast<int>(pid) : 0;
    }
    return 0;
}

bool isDebuggerAttached() {
    std::ifstream file("/proc/self/status");
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    return tracerPidFromStatus(text.str()) != 0;
}

void debuggerOutput(const std::string& text) {
    if (!isDebuggerAttached())
        return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace zor
