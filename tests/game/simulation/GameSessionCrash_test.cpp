#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/GameSessionFile.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/KillChild.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace zor {
namespace {

// The session of one generation: every field changes from one to the next.
GameSession generation(std::int32_t g) {
    GameSession session;
    session.currentProfile = g % GameSession::ProfileCount;
    for (std::int32_t slot = 0; slot < GameSession::ProfileCount; ++slot) {
        GameSession::ProfileSlot& profile = session.profiles[std::size_t(slot)];
        profile.exists = slot == session.currentProfile || (g + slot) % 2 == 0;
        profile.finished = g % 5 == slot;
        profile.timePlayed = g * 0.25 + slot;
        profile.maxDepth = g;
        profile.totalExperience = g * 3 + slot;
        profile.totalOrbs = g % 1000;
        profile.deaths = slot;
    }
    return session;
}

bool isGeneration(const GameSession& session, std::int32_t g) {
    const GameSession expected = generation(g);
    return session.currentProfile == expected.currentProfile && session.profiles == expected.profiles;
}

TEST(GameSessionCrashTest, AKilledWriterAlwaysLeavesAWrittenGeneration) {
    test::TempFolder user;
    test::ScopedEnv userDir("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    test::LogCapture log;
    SettingsHandler settings;
    settings.declare("Profile.RespawnLevel", "", std::string("shalebury"), SettingProfile, SettingInternal);

    generation(0).save();
    std::mt19937 random(29);
    // A save takes some milliseconds (every file is synced), so most kills land inside one;
    // counted from a finished save, not from the fork, however busy the machine is.
    std::uniform_int_distribution<int> saves(0, 2);
    std::uniform_int_distribution<int> delay(0, 20000);
    std::int32_t last = 0;
    constexpr int Kills = 500;
    for (int kill = 0; kill < Kills; ++kill) {
        test::ReportingWriter writer(last + 1, [](std::int32_t g) { generation(g).save(); });
        ASSERT_GT(writer.pid(), 0);
        const int status = writer.killAfterCalls(saves(random), std::chrono::microseconds(delay(random)));
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself at kill " << kill;

        GameSession session;
        ASSERT_TRUE(session.load()) << "kill " << kill;
        const std::int32_t g = session.profiles[0].maxDepth;
        ASSERT_TRUE(isGeneration(session, g)) << "kill " << kill << ": a session that was never written";
        ASSERT_GE(g, last) << "kill " << kill << ": an older session than one read before";
        last = g;
        if (std::filesystem::exists(user / "session.xml.backup")) {
            const std::string backup = user.read("session.xml.backup");
            const auto read = parseSessionText(backup.data(), backup.size());
            ASSERT_TRUE(read && isGeneration(*read, read->profiles[0].maxDepth)) << "kill " << kill;
        }
    }
    for (const auto& entry : std::filesystem::directory_iterator(user.path()))
        EXPECT_EQ(entry.path().filename().string().find(".corrupt-"), std::string::npos) << entry.path();
    EXPECT_TRUE(log.warnings.empty());
    EXPECT_GT(last, 0) << "the writers never finished a session";
}

} // namespace
} // namespace zor
