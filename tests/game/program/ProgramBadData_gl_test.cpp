// Damaged game data: the program says what is wrong and where, never hangs, and never
// shows a silent black window.

#include "tests/game/program/DisplayConnection.h"
#include "tests/game/program/ProgramFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace zor::test {
namespace {

// What the loading screen puts on the screen: its text and spinner in light colours
// (always, also without the shapes effect) and its dark blue background (with it).
struct LoadingScreenLook {
    int text = 0;
    int background = 0;
};

LoadingScreenLook lookAt(const ScreenImage& image) {
    LoadingScreenLook look;
    for (const std::uint32_t pixel : image.pixels) {
        const int r = int(pixel >> 16), g = int(pixel >> 8 & 0xFF);
        if (r > 120 && g > 100) ++look.text;
        if (pixel == 0x121622u) ++look.background;
    }
    return look;
}

std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes) c = char(random());
    return bytes;
}

// The game in a copy of the sample data, with one file of it replaced.
class BadDataTest : public ProgramTest {
protected:
    fs::path withFile(const std::string& file, const std::string& contents) {
        const fs::path folder = copyOfBundle();
        work.write("BundlePC/" + file, contents);
        return folder;
    }
    std::string cutFile(const std::string& file, std::size_t keep) const {
        std::string bytes = readText(fs::path("BundlePC") / file);
        return bytes.substr(0, std::min(keep, bytes.size()));
    }
    fs::path errors() const { return output / "stderr.txt"; }
    fs::path log() const { return output / "log.txt"; }
};

TEST_F(BadDataTest, AQuitSignalEndsTheWaitingErrorBoxWithTheErrorsExitCodeAndLeavesNoProcess) {
    const fs::path folder = withFile("Definitions/actors.xml", cutFile("Definitions/actors.xml", 700));
    Environment env = environment();
    env["ZOR_NO_MESSAGEBOX"] = "";  // the box is shown on the test's display
    const DisplayConnection watch(display.name());
    ASSERT_TRUE(watch.open());
    struct Case {
        int signal;
        int exitCode;  // -1: ended by the signal
    };
    // A killed program cannot clean up: the box ends itself when it sees it gone.
    for (const Case c : {Case{SIGTERM, 255}, Case{SIGINT, 255}, Case{SIGHUP, 255}, Case{SIGKILL, -1}}) {
        SCOPED_TRACE(c.signal);
        GameProcess game(folder, env, {}, errors(), log());
        const auto boxShown = [&] { return watch.dialogShown(); };
        ASSERT_TRUE(game.waitUntil(boxShown, 60s) && boxShown()) << readText(log()) << readText(errors());
        ASSERT_TRUE(game.running()) << readText(errors());
        EXPECT_TRUE(contains(readText(errors()), "Error while loading: ")) << readText(errors());
        EXPECT_TRUE(contains(readText(errors()), "Definitions/actors.xml")) << readText(errors());
        game.signal(c.signal);
        EXPECT_EQ(game.exitCode(10s), c.exitCode) << readText(errors());
        // The box's own process (SDL shows it from a child) is gone with it.
        EXPECT_TRUE(noProcessLeft("ZOR_USER_DIR", env["ZOR_USER_DIR"], 5s));
        EXPECT_TRUE(eventually([&] { return !watch.dialogShown(); }, 5s));
    }
}

TEST_F(BadDataTest, ImagesAndShadersTheGameSurvivesAreWarningsAndTheLoadingScreenShows) {
    struct Case {
        const char* what;
        const char* file;
        std::string contents;
        const char* warning;
    };
    const Case cases[] = {
        {"a cut key image", "Textures/key_1.png", cutFile("Textures/key_1.png", 60),
         "Warning: Could not load texture 'Textures/key_1.png': "},
        {"a cut font page", "Fonts/medium.png", cutFile("Fonts/medium.png", 300),
         "Warning: Could not load texture 'Fonts/medium.png': "},
        {"a key image of random bytes", "Textures/key_2.png", randomBytes(2000, 2),
         "Warning: Could not load texture 'Textures/key_2.png': "},
        {"a shader that does not compile", "Shaders/BasicEffect_Color.frag", "void main() { gl_FragColor = oops; }",
         "Warning: Could not compile shader 'Shaders/BasicEffect_Color.frag': "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualDisplay screen;
        ASSERT_FALSE(screen.name().empty());
        TempFolder data;
        fs::copy("BundlePC", data / "BundlePC", fs::copy_options::recursive);
        data.write(std::string("BundlePC/") + c.file, c.contents);
        TempFolder caseUser;
        Environment env = environment();
        env["DISPLAY"] = screen.name();
        env["ZOR_USER_DIR"] = caseUser.path().string();
        GameProcess game(data.path(), env, {"-set", "Screen.VSync", "0"}, errors(), log());
        const auto started = [&] {
            const std::string text = readText(log());
            return contains(text, c.warning) && contains(text, "First frame shown ");
        };
        ASSERT_TRUE(game.waitUntil(started, 60s) && started()) << readText(log()) << readText(errors());
        EXPECT_FALSE(contains(readText(log()), " Error: ")) << readText(log());
        // Past the fade-in.
        std::this_thread::sleep_for(1500ms);
        ASSERT_TRUE(game.running()) << readText(errors());
        const DisplayConnection connection(screen.name());
        ASSERT_TRUE(connection.open());
        const ScreenImage screenImage = connection.screen();
        ASSERT_EQ(screenImage.width, 1280);
        const LoadingScreenLook look = lookAt(screenImage);
        const int area = screenImage.width * screenImage.height;
        EXPECT_GT(look.text, 5000) << "the loading screen's text is missing";
        if (std::string(c.file).find("Shaders/") == std::string::npos) {
            EXPECT_GT(look.background, area / 2) << "the loading screen's background is missing";
        }
        game.signal(SIGTERM);
        EXPECT_EQ(game.exitCode(30s), 0) << readText(errors());
        EXPECT_FALSE(hasSanitizerReport(readText(errors()))) << readText(errors());
    }
}

TEST_F(BadDataTest, ErrorsNameTheFileAndShowDamagedBytesEscaped) {
    struct Case {
        const char* what;
        const char* file;
        std::string contents;
        std::vector<std::string> expected;  // in standard error
    };
    std::string actors = readText("BundlePC/Definitions/actors.xml");
    actors.insert(actors.rfind("</ActorDefinitions>"),
                  "<Actor><Name>\x1B[31mdug\x01up</Name><CollisionBox>wide</CollisionBox></Actor>\n");
    const Case cases[] = {
        {"a damaged leaderboard file", "Definitions/leaderboards.xml", "<Leaderboards><Leaderboard Name=",
         {"Error while loading: Could not load leaderboards definition, Definitions/leaderboards.xml, line 1: "}},
        {"raw bytes in a definition's name", "Definitions/actors.xml", actors,
         {"Could not read Actor definition '\\x1B[31mdug\\x01up' in file 'Definitions/actors.xml'"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder data;
        fs::copy("BundlePC", data / "BundlePC", fs::copy_options::recursive);
        data.write(std::string("BundlePC/") + c.file, c.contents);
        GameProcess game(data.path(), environment(), {}, errors(), log());
        EXPECT_EQ(game.exitCode(60s), 255) << readText(log());
        const std::string text = readText(errors());
        for (const std::string& part : c.expected) EXPECT_TRUE(contains(text, part)) << text;
        EXPECT_EQ(text.find('\x1B'), std::string::npos) << "a raw escape byte reached the terminal";
        EXPECT_FALSE(contains(text, "device not closed")) << text;
    }
}

} // namespace
} // namespace zor::test
