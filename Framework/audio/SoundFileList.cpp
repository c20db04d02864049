#include "Framework/audio/SoundFileList.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/text/TextUtils.h"

#include <vector>

namespace zor {

void SoundFileList::load() {
    std::vector<std::string> lines;
    readLines(joinPath("Audio", "files.lst"), lines, FileLocation::GameData, false);
    for (const std::string& line : lines) {
        m_extensions[removeExtension(line)] = extensionOf(line);
    }
}

std::string SoundFileList::find(const std::string& name) const {
    const auto entry = m_extensions.find(name);
    return entry == m_extensions.end() ? std::string() : entry->second;
}

} // namespace zor
