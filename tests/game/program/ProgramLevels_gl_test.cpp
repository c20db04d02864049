// The real program playing levels of the sample data: the level asked for on the command
// line, its plain view, and level changes made with the host's own key.

#include "tests/game/program/ProgramFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace zor::test {
namespace {

class LevelProgramTest : public ProgramTest {
protected:
    // The shown game (640 x 360) starting in "mine1", played from the menus on.
    std::unique_ptr<GameProcess> playMine1() {
        user.write("settings.xml", "<Settings><Setting Key=\"Screen.WindowSize\" Value=\"640;360\"/></Settings>");
        auto game = std::make_unique<GameProcess>(
            fs::current_path(), environment(),
            std::vector<std::string>{"-set", "Screen.VSync", "0", "-set", "Debug.SetLevel", "mine1"}, errors(),
            log());
        EXPECT_TRUE(waitUntilShown(*game, log())) << readText(log()) << readText(errors());
        EXPECT_TRUE(pressUntilLogged(*game, "Return", log(), "Game built and handed back"))
            << readText(log()) << readText(errors());
        return game;
    }
    fs::path errors() const { return output / "stderr.txt"; }
    fs::path log() const { return output / "log.txt"; }
    // The levels entered so far, in order, as the log names them.
    std::vector<std::string> entered() const {
        std::vector<std::string> levels;
        const std::string text = readText(log());
        const std::string mark = "Entered ";
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
            const std::size_t begin = at + mark.size();
            levels.push_back(text.substr(begin, text.find(' ', begin) - begin));
        }
        return levels;
    }
    void quitToTheMenusAndEnd(GameProcess& game) {
        ASSERT_TRUE(pressUntilLogged(game, "Escape", log(), "Game destroyed, back to the menus"))
            << readText(log()) << readText(errors());
        game.signal(SIGTERM);
        EXPECT_EQ(game.exitCode(120s), 0) << readText(errors());
        EXPECT_FALSE(contains(readText(log()), "Error")) << readText(log());
        EXPECT_FALSE(hasSanitizerReport(readText(errors()))) << readText(errors());
    }
};

TEST_F(LevelProgramTest, TheLevelAskedForIsBuiltEnteredAtItsStartShownAndLeftForTheMenus) {
    const std::unique_ptr<GameProcess> game = playMine1();
    ASSERT_TRUE(game->running()) << readText(errors());
    EXPECT_TRUE(contains(readText(log()), "Entered mine1 at [start]")) << readText(log());
    std::this_thread::sleep_for(1s);  // past the fade-in

    const std::optional<CapturedImage> frame = captureFrame(*game);
    ASSERT_TRUE(frame) << readText(log()) << readText(errors());
    // The plain view: the dark ground, the solid cells and the player's outline in green.
    int ground = 0;
    int cells = 0;
    int player = 0;
    for (std::size_t i = 0; i + 3 < frame->pixels.size(); i += 4) {
        const int b = frame->pixels[i], g = frame->pixels[i + 1], r = frame->pixels[i + 2];
        if (r == 14 && g == 12 && b == 18) ++ground;
        if (r == 120 && g == 92 && b == 60) ++cells;
        if (r == 90 && g == 230 && b == 110) ++player;
    }
    EXPECT_GT(ground, 1000);
    EXPECT_GT(cells, 10000);
    EXPECT_GT(player, 40);
    quitToTheMenusAndEnd(*game);
}

TEST_F(LevelProgramTest, TwentyLevelChangesWithTheHostsKey) {
    const std::unique_ptr<GameProcess> game = playMine1();
    ASSERT_EQ(entered(), std::vector<std::string>{"mine1"}) << readText(log());
    for (std::size_t change = 1; change <= 20 && game->running(); ++change) {
        SCOPED_TRACE(change);
        // A press during a fade or a build is not taken: press until the level changed.
        const auto changed = [&] { return entered().size() > change; };
        for (int attempt = 0; attempt < 30 && game->running() && !changed(); ++attempt) {
            pressKey("F9");
            game->waitUntil(changed, 3s);
        }
        ASSERT_TRUE(changed()) << readText(log()) << readText(errors());
    }
    const std::vector<std::string> levels = entered();
    EXPECT_EQ(std::set<std::string>(levels.begin(), levels.end()),
              (std::set<std::string>{"mine1", "shalebury", "cinder_hollow"}));
    quitToTheMenusAndEnd(*game);
}

} // namespace
} // namespace zor::test
