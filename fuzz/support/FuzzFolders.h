#pragma once
// The game data and user folders of one fuzzing process, made once below the temporary
// folder; the program's file roots point at them, so the readers under test open the
// input where the game would.

#include "Framework/core/io/Files.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace zor::fuzz {

struct Folders {
    std::string gameData;
    std::string user;
};

inline const Folders& folders() {
    static const Folders made = [] {
        char pattern[] = "/tmp/zor-fuzz-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        Folders result{std::string(pattern) + "/data", std::string(pattern) + "/user"};
        setenv("ZOR_USER_DIR", result.user.c_str(), 1);
        initFileSystem(result.gameData);
        createDirectories(result.gameData);
        return result;
    }();
    return made;
}

// Writes the bytes as the named file below the game data folder (FileLocation::GameData)
// or the user folder, creating its folder.
inline void writeInput(FileLocation location, const std::string& name, const std::uint8_t* data, std::size_t size) {
    const Folders& made = folders();
    const std::string path = (location == FileLocation::GameData ? made.gameData : made.user) + "/" + name;
    createDirectories(path.substr(0, path.rfind('/')));
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0) std::abort();
}

inline void writeInput(FileLocation location, const std::string& name, const std::string& text) {
    writeInput(location, name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// Ends a seed-writing run: the bytes as the seed file, exit status 0 only when all were
// written (exit runs no destructors, so the file is closed here).
[[noreturn]] inline void writeSeedAndExit(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* out = std::fopen(path, "wb");
    const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const bool closed = out && std::fclose(out) == 0;
    std::exit(written && closed ? 0 : 1);
}

// Stops the run with a crash libFuzzer keeps, when an accepted input breaks a promise.
inline void check(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace zor::fuzz
