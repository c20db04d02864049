// A settings writer killed at any moment leaves the last complete file, and the next
// write clears away what the killed one left half done.

#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "tests/support/common/KillChild.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <boost/property_tree/ptree.hpp>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace zor {
namespace {

constexpr std::uint32_t UserMask = SettingPersistent | SettingPermanent;
// Settings enough that a write takes a while, so kills land inside writes too.
constexpr int FillerSettings = 400;

void declareSettings(SettingsHandler& settings) {
    settings.declare("Test.Counter", "", std::int32_t(0), SettingPersistent, SettingPublic);
    for (int i = 0; i < FillerSettings; ++i)
        settings.declare("Test.Filler" + std::to_string(i), "", std::string(), SettingPersistent, SettingPublic);
}

// Writes the file again and again, each time with the next counter value, and reports
// each value on `done` once its write has returned.
[[noreturn]] void writeForever(int done) {
    SettingsHandler settings;
    declareSettings(settings);
    for (int i = 0; i < FillerSettings; ++i)
        settings.setValue("Test.Filler" + std::to_string(i), std::string(40, char('a' + i % 26)));
    for (std::int32_t counter = 1;; ++counter) {
        settings.setValue("Test.Counter", counter);
        if (!settings.saveUserSettings()) _exit(3);
        if (::write(done, &counter, sizeof counter) != sizeof counter) _exit(4);
    }
}

// The last counter value the writer reported before it died.
std::int32_t lastReported(int done) {
    std::int32_t last = 0;
    std::int32_t value = 0;
    while (::read(done, &value, sizeof value) == sizeof value) last = value;
    return last;
}

std::vector<std::string> temporaryFiles(const std::filesystem::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) found.push_back(entry.path());
    return found;
}

TEST(SettingsWriterKill, TheLastCompleteFileSurvivesAndTheNextWriteLeavesNoTemporaryFile) {
    test::TempFolder user;
    test::ScopedEnv userEnv("ZOR_USER_DIR", user.path().string());
    initFileSystem(user.path().string());
    std::mt19937 random(17);
    std::uniform_int_distribution<int> moment(0, 40000);
    int interruptedWrites = 0;

    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::close(fds[0]);
            writeForever(fds[1]);
        }
        ::close(fds[1]);
        // At least one complete write first, then a kill at a random moment.
        std::int32_t first = 0;
        ASSERT_EQ(::read(fds[0], &first, sizeof first), ssize_t(sizeof first));
        const int status = test::killAfter(writer, std::chrono::microseconds(moment(random)));
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed by itself: " << status;
        const std::int32_t reported = std::max(first, lastReported(fds[0]));
        ::close(fds[0]);

        // The file is whole: the last reported write, or the one that was renamed in place
        // just before the kill.
        SettingsHandler settings;
        declareSettings(settings);
        ASSERT_TRUE(settings.readValues("settings.xml", UserMask)) << user.read("settings.xml");
        const std::int32_t counter = settings.getInt("Test.Counter");
        EXPECT_TRUE(counter == reported || counter == reported + 1) << counter << " after " << reported;
        EXPECT_EQ(settings.getString("Test.Filler7"), std::string(40, 'h'));
        interruptedWrites += !temporaryFiles(user.path()).empty();

        ASSERT_TRUE(settings.saveUserSettings());
        EXPECT_TRUE(temporaryFiles(user.path()).empty());
    }
    // The kills did land inside writes.
    EXPECT_GT(interruptedWrites, 0);
}

} // namespace
} // namespace zor
