#pragma once
// Which files the game data holds below "Audio": a relative path without its extension
// (a name below "Sounds" or "Music") -> that file's extension. Filled once before the
// music thread starts and only read afterwards, so that thread reads it without a lock.

#include <string>
#include <unordered_map>

namespace zor {

class SoundFileList {
public:
    // Enters every line of "Audio/files.lst" (not required); a later line with the same
    // name replaces an earlier one.
    void load();
    // The extension of the named file, or the empty text when it is not listed.
    std::string find(const std::string& name) const;

private:
    std::unordered_map<std::string, std::string> m_extensions;
};

} // namespace zor
