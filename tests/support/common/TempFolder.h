#pragma once
// A fresh folder under the system temporary folder, removed with everything in it
// when the object goes away. Tests write user files only into such folders.

#include <filesystem>
#include <string>

namespace zor::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Writes a text or binary file below the folder, creating parent folders.
    void write(const std::string& relativePath, const std::string& contents) const;
    std::string read(const std::string& relativePath) const;

private:
    std::filesystem::path m_path;
};

// Sets an environment variable for the lifetime of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_hadValue = false;
    std::string m_oldValue;
};

} // namespace zor::test
