#pragma once
// A temporary game data folder for texture tests: files written by the test, plus a link
// to the real shaders so drawing still works. The game data root points at it while the
// object lives and returns to "BundlePC" afterwards.

#include "Framework/core/io/Files.h"
#include "tests/support/common/TempFolder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zor::test {

class TempGameData {
public:
    TempGameData() {
        std::filesystem::create_directory_symlink(std::filesystem::absolute("BundlePC/Shaders"),
                                                  m_folder / "Shaders");
        initFileSystem(m_folder.path().string());
    }
    ~TempGameData() { initFileSystem("BundlePC"); }
    TempGameData(const TempGameData&) = delete;
    TempGameData& operator=(const TempGameData&) = delete;

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        m_folder.write(name, std::string(bytes.begin(), bytes.end()));
    }

private:
    TempFolder m_folder;
};

} // namespace zor::test
