#include "Framework/platform/UserFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

namespace zor {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The documents entry of the XDG user-dirs file: a line XDG_DOCUMENTS_DIR="$HOME/...".
// Only an absolute path or one starting with $HOME is valid there.
std::string documentsFromUserDirs(const std::string& home) {
    std::string configHome = environment("XDG_CONFIG_HOME");
    if (configHome.empty() || configHome.front() != '/') {
        if (home.empty()) return {};
        configHome = home + "/.config";
    }
    std::ifstream file(configHome + "/user-dirs.dirs");
    static const std::string key = "XDG_DOCUMENTS_DIR=\"";
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        const std::size_t end = line.find('"', key.size());
        if (end == std::string::npos) return {};
        std::string value = line.substr(key.size(), end - key.size());
        static const std::string homeVariable = "$HOME";
        if (value.compare(0, homeVariable.size(), homeVariable) == 0) {
            if (home.empty()) return {};
            value = home + value.substr(homeVariable.size());
        }
        return !value.empty() && value.front() == '/' ? value : std::string();
    }
    return {};
}

// $HOME, else the home folder the password database gives the user.
std::string homeFolder() {
    const std::string home = environment("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir)
        return {};
    const std::string folder = found->pw_dir;
    return !folder.empty() && folder.front() == '/' ? folder : std::string();
}

} // namespace

std::string documentsFolder() {
    std::string folder = environment("XDG_DOCUMENTS_DIR");
    if (!folder.empty()) return folder;
    const std::string home = homeFolder();
    folder = documentsFromUserDirs(home);
    if (!folder.empty()) return folder;
    return home.empty() ? std::string() : home + "/Documents";
}

std::string userFolderOverride() {
    return environment("ZOR_USER_DIR");
}

} // namespace zor
