#pragma once
// A plain-text input configuration file of the user folder, kept as its lines.
// Controls files hold "name = binding, binding, ..." entries; gamepad files hold one
// controller mapping per line.

#include <cstddef>
#include <string>
#include <vector>

namespace zor {

class ConfigFile {
public:
    explicit ConfigFile(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }
    std::vector<std::string>& lines() { return m_lines; }
    const std::vector<std::string>& lines() const { return m_lines; }

    // Replaces the lines with those of the user file; true when at least one byte was read
    // (a missing or empty file counts as not read).
    bool load();
    // Replaces the lines with those of a game data file, which must exist.
    void loadDefault(const std::string& gameDataName);
    // Writes the lines joined by "\r\n" (none after the last) to the user file; false when
    // it could not be written (the old file is left as it was).
    bool save() const;

    // The trimmed name and value of an entry line: false outside the lines, for a line
    // that does not split at "=" into exactly two parts, and for the "version" line.
    bool getEntry(std::size_t index, std::string& name, std::string& value) const;

private:
    std::string m_path;
    std::vector<std::string> m_lines;
};

} // namespace zor
