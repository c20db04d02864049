// Reads arbitrary text as "session.xml" and, after the first zero byte, its ".backup"
// copy. A session that is read has its current slot among the three, and its text as the
// game writes it reads back equal; one that is not read leaves the session as it was.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_session_file
//   build-fuzz/fuzz/fuzz_session_file -max_total_time=60 build-fuzz/fuzz/corpus/session_file

#include "Framework/core/settings/SettingsHandler.h"
#include "fuzz/support/FuzzFolders.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/GameSessionFile.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace {

// Files moved aside by one input must not change what the next one finds.
void emptyUserFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(zor::fuzz::folders().user, ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static zor::SettingsHandler settings;
    settings.declare("Profile.RespawnLevel", "", std::string("shalebury"), zor::SettingProfile, zor::SettingInternal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    emptyUserFolder();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string backupName = std::string(zor::GameSession::FileName) + ".backup";
    zor::fuzz::writeInput(zor::FileLocation::User, zor::GameSession::FileName, input.substr(0, split));
    if (split != std::string::npos)
        zor::fuzz::writeInput(zor::FileLocation::User, backupName, input.substr(split + 1));

    zor::GameSession session;
    session.currentProfile = 2;
    session.profiles[1].exists = true;
    session.profiles[1].totalOrbs = 7;
    if (!session.load()) {
        const zor::GameSession::ProfileSlot kept{true, false, 0.0, 0, 0, 7, 0};
        check(session.currentProfile == 2 && session.profiles[1] == kept && !session.profiles[0].exists &&
              !session.profiles[2].exists);
        return 0;
    }
    check(session.currentProfile >= 0 && session.currentProfile < zor::GameSession::ProfileCount);
    const std::string written = zor::formatSessionText(session);
    const auto reread = zor::parseSessionText(written.data(), written.size());
    check(reread && reread->currentProfile == session.currentProfile && reread->profiles == session.profiles);
    return 0;
}
