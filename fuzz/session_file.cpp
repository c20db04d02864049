// Reads arbitrary text as "session.xml" and, after the first zero byte, its ".backup"
// copy. A session that is read names existing slots only and a current slot among them;
// one that is not read leaves the session as it was.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_session_file
//   build-fuzz/fuzz/fuzz_session_file -max_total_time=60 build-fuzz/fuzz/corpus/session_file

#include "fuzz/support/FuzzFolders.h"
#include "game/simulation/GameSession.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string backupName = std::string(zor::GameSession::FileName) + ".backup";
    zor::fuzz::writeInput(zor::FileLocation::User, zor::GameSession::FileName, input.substr(0, split));
    zor::fuzz::writeInput(zor::FileLocation::User, backupName,
                          split == std::string::npos ? std::string() : input.substr(split + 1));

    zor::GameSession session;
    session.currentProfile = 2;
    session.profiles[1].exists = true;
    if (!session.load()) {
        check(session.currentProfile == 2 && session.profiles[1].exists && !session.profiles[0].exists);
        return 0;
    }
    check(session.currentProfile >= 0 && session.currentProfile < zor::GameSession::ProfileCount);
    return 0;
}
