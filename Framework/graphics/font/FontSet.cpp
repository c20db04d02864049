#include "Framework/graphics/font/FontSet.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/text/TextUtils.h"

#include <vector>

namespace zor {

void FontSet::load(const std::string& folder) {
    const std::string listPath = joinPath(folder, "fonts.txt");
    m_listPath = listPath;
    std::vector<std::string> lines;
    if (readLines(listPath, lines, FileLocation::GameData, false) == 0) return;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        (*this)[removeExtension(line)] = std::make_shared<Font>(joinPath(folder, line));
    }
}

Font& FontSet::require(const std::string& name) const { return *requireShared(name); }

std::shared_ptr<Font> FontSet::requireShared(const std::string& name) const {
    const auto found = find(name);
    if (found == end() || !found->second)
        throw CheckReleaseError("Font '" + name + "' is not loaded; it must be listed in " + m_listPath);
    return found->second;
}

} // namespace zor
