// The player's settings: a saved value the display cannot show never makes the game
// unstartable, an unreadable file is never overwritten, and a save that fails says so.

#include "tests/game/program/ProgramFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

namespace zor::test {
namespace {

class SettingsProgramTest : public ProgramTest {
protected:
    // Runs the game until it has shown a frame, then ends it with the signal; returns the
    // exit code.
    int runOnce(const Environment& env, const std::vector<std::string>& arguments, int signal = SIGTERM) {
        GameProcess game(fs::current_path(), env, arguments, errors(), log());
        const auto started = [&] { return contains(readText(log()), "First frame shown "); };
        if (!game.waitUntil(started, 60s) || !started()) {
            ADD_FAILURE() << "the game did not start: " << readText(log()) << readText(errors());
            return -1;
        }
        game.signal(signal);
        return game.exitCode(30s);
    }
    fs::path errors() const { return output / "stderr.txt"; }
    fs::path log() const { return output / "log.txt"; }
    std::string settingsFile() const { return readText(user / "settings.xml"); }
};

TEST_F(SettingsProgramTest, AWindowSizeTheDisplayCannotShowIsReplacedAndNeverSavedAgain) {
    // The size reaches the file from the command line, as a player's typo would.
    ASSERT_EQ(runOnce(environment(), {"-set", "Screen.WindowSize", "100000;100000"}), 0) << readText(errors());
    ASSERT_TRUE(contains(settingsFile(), "Value=\"100000;100000\"")) << settingsFile();

    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        EXPECT_EQ(runOnce(environment(), {}), 0) << readText(errors());
        EXPECT_EQ(contains(readText(log()), "The setting Screen.WindowSize 100000;100000 (from settings.xml) is not "
                                            "used: it is larger than the display's usable area of 1280x720; the "
                                            "window is 1280;720"),
                  start == 0)
            << readText(log());
        EXPECT_FALSE(contains(settingsFile(), "Screen.WindowSize")) << settingsFile();
    }

    user.write("settings.xml", "<Settings><Setting Key=\"Screen.WindowSize\" Value=\"0;0\"/></Settings>");
    EXPECT_EQ(runOnce(environment(), {}), 0) << readText(errors());
    EXPECT_TRUE(contains(readText(log()), "it is below the smallest window of 320x180")) << readText(log());
}

TEST_F(SettingsProgramTest, AnUnreadableSettingsFileIsKeptAsideAndTheGameStartsWithDefaults) {
    const std::string broken = "<Settings><Setting Key=\"SoundVolume\" Value=\"0.5\"/><Setting";
    user.write("settings.xml", broken);
    EXPECT_EQ(runOnce(environment(), {"-set", "Screen.VSync", "0"}), 0) << readText(errors());
    EXPECT_TRUE(contains(readText(log()), "Warning: The settings file " + (user / "settings.xml").string() +
                                              " cannot be read"))
        << readText(log());
    EXPECT_EQ(readText(user / "settings.xml.corrupt"), broken);
    EXPECT_TRUE(contains(settingsFile(), "Key=\"Screen.VSync\" Value=\"0\"")) << settingsFile();
}

TEST_F(SettingsProgramTest, SettingsThatCannotBeSavedAreAWarningOnStandardError) {
    // The user folder named by the variable is a plain file.
    Environment env = environment();
    env["ZOR_USER_DIR"] = (output / "a-file").string();
    output.write("a-file", "not a folder");
    EXPECT_EQ(runOnce(env, {"-set", "Screen.VSync", "0"}), 0) << readText(errors());
    EXPECT_TRUE(contains(readText(errors()), "Warning: the settings could not be saved: " +
                                                 (output / "a-file").string() + ": Not a directory"))
        << readText(errors());
}

TEST_F(SettingsProgramTest, SighupSavesAndQuitsLikeSigterm) {
    // Left over by a writer that was killed: gone after the next save.
    user.write("settings.xml.tmp-999999999-7", "<Settings");
    EXPECT_EQ(runOnce(environment(), {"-set", "Screen.VSync", "0"}, SIGHUP), 0) << readText(errors());
    EXPECT_TRUE(contains(settingsFile(), "Key=\"Screen.VSync\" Value=\"0\"")) << settingsFile();
    EXPECT_FALSE(fs::exists(user / "settings.xml.tmp-999999999-7"));
}

TEST_F(SettingsProgramTest, SetWarnsOfUndeclaredKeysAndValuesTheirTypeCannotHold) {
    EXPECT_EQ(runOnce(environment(), {"-set", "Screen.Vsync", "0", "-set", "Screen.VSync", "true"}), 0)
        << readText(errors());
    const std::string text = readText(log());
    EXPECT_TRUE(contains(text, "Warning: set: there is no setting 'Screen.Vsync'")) << text;
    EXPECT_TRUE(contains(text, "Warning: set: 'true' is no value the setting 'Screen.VSync' can hold")) << text;
}

} // namespace
} // namespace zor::test
