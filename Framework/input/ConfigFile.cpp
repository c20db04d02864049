#include "Framework/input/ConfigFile.h"

#include "Framework/core/io/Files.h"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/algorithm/string/trim.hpp>

namespace zor {

bool ConfigFile::load() {
    m_lines.clear();
    return readLines(m_path, m_lines, FileLocation::User, false) > 0;
}

void ConfigFile::loadDefault(const std::string& gameDataName) {
    m_lines.clear();
    readLines(gameDataName, m_lines, FileLocation::GameData, true);
}

bool ConfigFile::save() const {
    std::string text;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += m_lines[i];
    }
    return writeFile(m_path, text.data(), text.size(), 0);
}

bool ConfigFile::getEntry(std::size_t index, std::string& name, std::string& value) const {
    if (index >= m_lines.size()) return false;
    std::vector<std::string> parts;
    boost::split(parts, m_lines[index], boost::is_any_of("="));
    if (parts.size() != 2) return false;
    boost::trim(parts[0]);
    if (parts[0] == "version") return false;
    boost::trim(parts[1]);
    name = std::move(parts[0]);
    value = std::move(parts[1]);
    return true;
}

} // namespace zor
