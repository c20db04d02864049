#include "tests/support/common/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zor::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zor-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
    m_path = buffer.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TempFolder::write(const std::string& relativePath, const std::string& contents) const {
    auto target = m_path / relativePath;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out << contents;
    if (!out) throw std::runtime_error("could not write " + target.string());
}

std::string TempFolder::read(const std::string& relativePath) const {
    std::ifstream in(m_path / relativePath, std::ios::binary);
    if (!in) throw std::runtime_error("could not read " + (m_path / relativePath).string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : m_name(std::move(name)) {
    if (const char* old = std::getenv(m_name.c_str())) {
        m_hadValue = true;
        m_oldValue = old;
    }
    setenv(m_name.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_hadValue)
        setenv(m_name.c_str(), m_oldValue.c_str(), 1);
    else
        unsetenv(m_name.c_str());
}

} // namespace zor::test
