#include "Framework/core/io/CaseInsensitiveLookup.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <memory>

namespace zor {

namespace {

bool exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// The lowest entry of `folder` equal to `component` ignoring case; empty when none.
std::string matchInFolder(const std::string& folder, const std::string& component) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir) return {};
    std::string best;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (::strcasecmp(entry->d_name, component.c_str()) != 0) continue;
        if (best.empty() || best > entry->d_name) best = entry->d_name;
    }
    return best;
}

} // namespace

std::string findIgnoringCase(const std::string& root, const std::string& name) {
    std::string path = root;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        const std::string component = name.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;
        const std::string prefix = path.empty() ? std::string() : path + "/";
        if (exists(prefix + component)) {
            path = prefix + component;
            continue;
        }
        const std::string found = matchInFolder(path, component);
        if (found.empty()) return {};
        path = prefix + found;
    }
    return path;
}

} // namespace zor
