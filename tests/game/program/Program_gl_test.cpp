// The real program, started as a separate process on the sample data.

#include "tests/game/program/ProgramFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zor::test {
namespace {

TEST_F(ProgramTest, RunsUntilSigtermThenShutsDownInOrder) {
    const fs::path errors = output / "stderr.txt";
    GameProcess game(fs::current_path(), environment(), {"-set", "Screen.VSync", "0"}, errors);
    ASSERT_GT(game.pid(), 0);
    // The player's controls file is written just before the main loop starts.
    ASSERT_TRUE(game.waitUntil([&] { return fs::exists(user / "controls.cfg"); }, 60s)) << readText(errors);
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(game.running()) << readText(errors);

    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(30s), 0) << readText(errors);
    // The settings are saved on the way out, with the command line's change in them.
    ASSERT_TRUE(fs::exists(user / "settings.xml"));
    const std::string settings = readText(user / "settings.xml");
    EXPECT_NE(settings.find("Key=\"Screen.VSync\" Value=\"0\""), std::string::npos) << settings;
}

TEST_F(ProgramTest, LoadsTheSampleDataShowsItCapturedAndShutsDownInOrder) {
    const fs::path errors = output / "stderr.txt";
    const fs::path log = output / "log.txt";
    const std::unique_ptr<GameProcess> started = startShownGame(errors, log);
    GameProcess& game = *started;
    ASSERT_TRUE(waitUntilShown(game, log)) << readText(log) << readText(errors);
    ASSERT_TRUE(game.running()) << readText(log) << readText(errors);
    // Past the fade-in.
    std::this_thread::sleep_for(1s);

    const std::optional<CapturedImage> frame = captureFrame(game);
    ASSERT_TRUE(frame) << readText(log) << readText(errors);
    EXPECT_EQ(frame->width, 640);
    EXPECT_EQ(frame->height, 360);
    // The loading screen: its dark background nearly everywhere, bright text and the
    // amber button on it.
    std::map<std::uint32_t, int> colours;
    int bright = 0;
    int amber = 0;
    for (std::size_t i = 0; i + 3 < frame->pixels.size(); i += 4) {
        const int b = frame->pixels[i], g = frame->pixels[i + 1], r = frame->pixels[i + 2];
        ++colours[std::uint32_t(r << 16 | g << 8 | b)];
        if (r > 200 && g > 200 && b > 180) ++bright;
        if (r > 150 && g > 90 && g < 170 && b < 80) ++amber;
    }
    const int pixels = frame->width * frame->height;
    const int background = colours[std::uint32_t(18 << 16 | 22 << 8 | 34)];
    EXPECT_GT(background, pixels / 2) << colours.size() << " colours";
    EXPECT_GT(bright, 200);
    EXPECT_GT(amber, 1000);
    EXPECT_GT(colours.size(), 20u);

    sendCommand({"-debug", "system", "resetAchievements"});
    ASSERT_TRUE(game.waitUntil([&] { return fs::exists(user / "progress.xml"); }, 60s)) << readText(errors);
    EXPECT_TRUE(game.running()) << readText(errors);

    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(60s), 0) << readText(errors);
    const std::string settings = readText(user / "settings.xml");
    EXPECT_TRUE(contains(settings, "Key=\"Screen.VSync\" Value=\"0\"")) << settings;
    EXPECT_TRUE(contains(settings, "Key=\"Screen.WindowSize\" Value=\"640;360\"")) << settings;
    EXPECT_TRUE(contains(readText(user / "progress.xml"), "<Progress")) << readText(user / "progress.xml");
    EXPECT_FALSE(hasSanitizerReport(readText(errors))) << readText(errors);
}

TEST_F(ProgramTest, PlaysAGameFromTheMenusAndQuitsBackToThem) {
    const fs::path errors = output / "stderr.txt";
    const fs::path log = output / "log.txt";
    const std::unique_ptr<GameProcess> started = startShownGame(errors, log);
    GameProcess& game = *started;
    ASSERT_TRUE(waitUntilShown(game, log)) << readText(log) << readText(errors);

    // From the loading screen on to the menus, the intro and into the game, which is built
    // on the worker and handed back.
    ASSERT_TRUE(pressUntilLogged(game, "Return", log, "Game built and handed back"))
        << readText(log) << readText(errors);
    // Quitting fades the game out, destroys it on the worker and goes back to the menus.
    ASSERT_TRUE(pressUntilLogged(game, "Escape", log, "Game destroyed, back to the menus"))
        << readText(log) << readText(errors);
    std::this_thread::sleep_for(1s);  // past the change of state
    const std::optional<CapturedImage> frame = captureFrame(game);
    ASSERT_TRUE(frame) << readText(log) << readText(errors);
    std::map<std::uint32_t, int> colours;
    for (std::size_t i = 0; i + 3 < frame->pixels.size(); i += 4)
        ++colours[std::uint32_t(frame->pixels[i + 2] << 16 | frame->pixels[i + 1] << 8 | frame->pixels[i])];
    const auto most = std::max_element(colours.begin(), colours.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    // The menus' stand-in fills the screen in earth brown.
    EXPECT_EQ(most->first, std::uint32_t(56 << 16 | 40 << 8 | 24)) << std::hex << most->first;
    EXPECT_GT(most->second, frame->width * frame->height / 2);

    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(60s), 0) << readText(errors);
    const std::string text = readText(log);
    EXPECT_EQ(text.find("Game built and handed back"), text.rfind("Game built and handed back")) << text;
    EXPECT_FALSE(contains(text, "Error")) << text;
    EXPECT_FALSE(hasSanitizerReport(readText(errors))) << readText(errors);
}

TEST_F(ProgramTest, BrokenGameDataEndsInTheLoadErrorOrIsLoggedAndGoesOn) {
    struct Case {
        const char* what;
        const char* file;      // below BundlePC
        const char* contents;  // null: the file is removed
        bool fatal;            // ends in the error box (exit code 255), else runs until SIGTERM
        std::vector<std::string> expected;  // in standard error when fatal, else in the log
    };
    const Case cases[] = {
        {"a missing definition file", "Definitions/quests.xml", nullptr, true,
         {"Error while loading: Worker thread: Could not load QuestDefinitions from file 'Definitions/quests.xml', "
          "reason: Could not read file Definitions/quests.xml\n\nPlease verify game cache integrity.\n"}},
        {"a malformed definition file", "Definitions/actors.xml", "<ActorDefinitions><Actor Name=", true,
         {"Error while loading: Worker thread: Could not load ActorDefinitions from file 'Definitions/actors.xml', "
          "reason: Could not parse file Definitions/actors.xml: "}},
        {"a missing font", "Fonts/medium.fnt", nullptr, true,
         {"Error while loading: Could not read font definition Fonts/medium.fnt\n\nPlease verify game cache "
          "integrity.\n"}},
        {"a font list naming no font at all", "Fonts/fonts.txt", "", true,
         {"Error while loading: ", "debug"}},
        // Loaded on the worker: the data loads on, with the placeholder image.
        {"an unreadable sprite page", "Sprites/ui/page0.png", "\x89PNG\r\n\x1a\n cut short", false,
         {"Warning: Could not load texture 'Sprites/ui/page0.png': ", "Game data loaded in "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        fs::copy("BundlePC", folder / "BundlePC", fs::copy_options::recursive);
        if (c.contents)
            folder.write(std::string("BundlePC/") + c.file, c.contents);
        else
            fs::remove(folder / "BundlePC" / c.file);
        test::TempFolder caseUser;
        Environment env = environment();
        env["ZOR_USER_DIR"] = caseUser.path().string();
        const fs::path errors = output / "stderr.txt";
        const fs::path log = output / "log.txt";
        GameProcess game(folder.path(), env, {}, errors, log);
        if (c.fatal) {
            EXPECT_EQ(game.exitCode(120s), 255) << readText(log);
            for (const std::string& part : c.expected) EXPECT_TRUE(contains(readText(errors), part)) << readText(errors);
            // The services stopped before the exit: the music thread no longer uses the
            // sound device when the process's clean-up closes the library.
            EXPECT_FALSE(contains(readText(errors), "device not closed")) << readText(errors);
        } else {
            const auto logged = [&] {
                const std::string text = readText(log);
                for (const std::string& part : c.expected)
                    if (!contains(text, part)) return false;
                return true;
            };
            EXPECT_TRUE(game.waitUntil(logged, 120s) && logged()) << readText(log) << readText(errors);
            EXPECT_TRUE(game.running()) << readText(errors);
            game.signal(SIGTERM);
            EXPECT_EQ(game.exitCode(60s), 0) << readText(errors);
        }
        EXPECT_FALSE(hasSanitizerReport(readText(errors))) << readText(errors);
    }
}

TEST_F(ProgramTest, TheCrashFlagEndsInTheCrashReport) {
    const fs::path errors = output / "stderr.txt";
    GameProcess game(fs::current_path(), environment(), {"-debug", "system", "crash"}, errors, output / "log.txt");
    EXPECT_EQ(game.exitCode(120s), 255) << readText(errors);
    const std::string report = readText(user / "crash.txt");
    EXPECT_TRUE(contains(report, "Unhandled exception 0xC0000005 at 0x")) << report;
    EXPECT_TRUE(contains(report, "Access violation trying to write to 0x0000000000000000.")) << report;
    EXPECT_TRUE(contains(readText(errors), report.substr(0, report.find('\n')))) << readText(errors);
}

TEST_F(ProgramTest, RunsWithoutChoosingASoundBackend) {
    // Where no sound device opens, the game picks openal-soft's null output itself.
    Environment env = environment();
    env["ALSOFT_DRIVERS"] = "";
    const fs::path errors = output / "stderr.txt";
    const fs::path log = output / "log.txt";
    GameProcess game(fs::current_path(), env, {}, errors, log);
    ASSERT_TRUE(game.waitUntil([&] { return contains(readText(log), "Game data loaded in "); }, 120s))
        << readText(log) << readText(errors);
    EXPECT_TRUE(game.running()) << readText(errors);
    game.signal(SIGTERM);
    EXPECT_EQ(game.exitCode(60s), 0) << readText(errors);
}

TEST_F(ProgramTest, BrokenSettingsDeclarationsEndInAnErrorBox) {
    const fs::path folder = copyOfBundle();
    std::ofstream(folder / "BundlePC/Definitions/settings.xml") << "<Settings><Setting Key=\"Screen.VSync\"";
    const fs::path errors = output / "stderr.txt";
    GameProcess game(folder, environment(), {}, errors);
    EXPECT_EQ(game.exitCode(30s), 255);
    const std::string text = readText(errors);
    EXPECT_NE(text.find("Unexpected runtime error: Could not read settings definition Definitions/settings.xml, "
                        "reason: "),
              std::string::npos)
        << text;
    EXPECT_FALSE(fs::exists(user / "settings.xml"));  // nothing else runs on the way out
}

TEST_F(ProgramTest, BrokenDataDuringInitialisationIsALoadError) {
    const fs::path folder = copyOfBundle();
    std::ofstream(folder / "BundlePC/Definitions/textures.xml") << "<TextureDefinitions><Texture";
    const fs::path errors = output / "stderr.txt";
    GameProcess game(folder, environment(), {}, errors);
    EXPECT_EQ(game.exitCode(60s), 255);
    const std::string text = readText(errors);
    EXPECT_NE(text.find("Error while loading: Could not load "), std::string::npos) << text;
    EXPECT_NE(text.find("\n\nPlease verify game cache integrity.\n"), std::string::npos) << text;
}

} // namespace
} // namespace zor::test
