// Where the program starts and what it needs around it: a display, its game data, and a
// display that stays; each failure is said clearly and ends the program promptly.

#include "tests/game/program/DisplayConnection.h"
#include "tests/game/program/ProgramFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

namespace zor::test {
namespace {

class DisplayProgramTest : public ProgramTest {
protected:
    fs::path errors() const { return output / "stderr.txt"; }
    fs::path log() const { return output / "log.txt"; }
};

TEST_F(DisplayProgramTest, WithoutADisplayItSaysSo) {
    struct Case {
        const char* display;
        std::string expected;
    };
    const Case cases[] = {
        {"", "No display to open the game window on: neither DISPLAY nor WAYLAND_DISPLAY is set."},
        {":97", "Could not connect to the display :97: no X11 or Wayland server answers there"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display);
        Environment env = environment();
        env["DISPLAY"] = c.display;
        env["WAYLAND_DISPLAY"] = "";
        GameProcess game(fs::current_path(), env, {}, errors(), log());
        EXPECT_EQ(game.exitCode(30s), 255);
        EXPECT_TRUE(contains(readText(errors()), c.expected)) << readText(errors());
    }
}

TEST_F(DisplayProgramTest, AnXServerThatAnswersAMomentLateIsWaitedFor) {
    // A number far above the ones the other tests' servers take (each takes the lowest free
    // one), so that none of them starts on it between the program's start and this server's.
    std::string late;
    for (int number = 400 + getpid() % 400; late.empty(); ++number) {
        const std::string digits = std::to_string(number);
        if (!fs::exists("/tmp/.X11-unix/X" + digits) && !fs::exists("/tmp/.X" + digits + "-lock")) late = ":" + digits;
    }
    Environment env = environment();
    env["DISPLAY"] = late;
    GameProcess game(fs::current_path(), env, {"-set", "Screen.VSync", "0"}, errors(), log());
    // Late, but early enough that a loaded machine still starts the server within the
    // program's two seconds of retries.
    std::this_thread::sleep_for(200ms);
    const VirtualDisplay server(late);
    ASSERT_EQ(server.name(), late);
    const auto started = [&] { return contains(readText(log()), "First frame shown "); };
    ASSERT_TRUE(game.waitUntil(started, 60s) && started()) << readText(log()) << readText(errors());
    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(30s), 0) << readText(errors());
}

TEST_F(DisplayProgramTest, AFailureOnAWindowlessVideoDriverShowsItsBoxWithoutACrash) {
    // SDL's window-less driver gives a window without OpenGL: a fatal error, whose box SDL
    // cannot show while its video still runs on that driver.
    Environment env = environment();
    env["SDL_VIDEODRIVER"] = "offscreen";
    env["ZOR_NO_MESSAGEBOX"] = "";
    const DisplayConnection watch(display.name());
    ASSERT_TRUE(watch.open());
    GameProcess game(fs::current_path(), env, {}, errors(), log());
    const auto boxShown = [&] { return watch.dialogShown(); };
    ASSERT_TRUE(game.waitUntil(boxShown, 60s) && boxShown()) << readText(log()) << readText(errors());
    EXPECT_TRUE(contains(readText(errors()), "Failed to initialized OpenGL extensions (GLEW), error: the window is on "
                                             "no X11 (GLX) display"))
        << readText(errors());
    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(10s), 255) << readText(errors());
    EXPECT_FALSE(contains(readText(errors()), "Unhandled exception")) << readText(errors());
    EXPECT_FALSE(fs::exists(user / "crash.txt"));
}

TEST_F(DisplayProgramTest, StartedFromAnotherFolderItFindsItsDataBesideTheProgram) {
    GameProcess game(work.path(), environment(), {}, errors(), log());
    const auto started = [&] { return contains(readText(log()), "First frame shown "); };
    ASSERT_TRUE(game.waitUntil(started, 60s) && started()) << readText(log()) << readText(errors());
    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(30s), 0) << readText(errors());

    // A program with no data beside it names both places it looked in.
    const fs::path lonely = output / "morrowdeep";
    fs::copy_file(ZOR_PROGRAM_PATH, lonely);
    GameProcess alone(work.path(), environment(), {}, errors(), log(), lonely.string());
    EXPECT_EQ(alone.exitCode(30s), 255);
    EXPECT_TRUE(contains(readText(errors()), "The game data folder BundlePC was found neither in the working folder " +
                                                 work.path().string() + " nor beside the program in " +
                                                 output.path().string() + "."))
        << readText(errors());
}

TEST_F(DisplayProgramTest, LosingTheDisplayEndsTheGamePromptlyAndSavesItsSettings) {
    GameProcess game(fs::current_path(), environment(), {"-set", "Screen.VSync", "0"}, errors(), log());
    const auto started = [&] { return contains(readText(log()), "Game data loaded in "); };
    ASSERT_TRUE(game.waitUntil(started, 60s) && started()) << readText(log()) << readText(errors());
    display.stop();
    EXPECT_EQ(game.exitCode(20s), 1) << readText(errors());
    EXPECT_TRUE(contains(readText(errors()), "The connection to the display " + std::string(environment()["DISPLAY"]) +
                                                 " was lost; the game saves its settings and ends."))
        << readText(errors());
    EXPECT_TRUE(contains(readText(user / "settings.xml"), "Key=\"Screen.VSync\" Value=\"0\""))
        << readText(user / "settings.xml");
    EXPECT_FALSE(hasSanitizerReport(readText(errors()))) << readText(errors());
}

} // namespace
} // namespace zor::test
