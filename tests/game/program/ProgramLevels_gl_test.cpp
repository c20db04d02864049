// The real program playing levels of the sample data: the level asked for on the command
// line, its plain view, and level changes made with the host's own key.

#include "tests/game/program/ProgramFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zor::test {
namespace {

class LevelProgramTest : public ProgramTest {
protected:
    // The shown game (640 x 360) starting in the level, played from the menus on.
    std::unique_ptr<GameProcess> play(const std::string& level, const std::vector<std::string>& more = {}) {
        user.write("settings.xml", "<Settings><Setting Key=\"Screen.WindowSize\" Value=\"640;360\"/></Settings>");
        std::vector<std::string> arguments = {"-set", "Screen.VSync", "0", "-set", "Debug.SetLevel", level};
        arguments.insert(arguments.end(), more.begin(), more.end());
        auto game = std::make_unique<GameProcess>(fs::current_path(), environment(), arguments, errors(), log());
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
    // Where the log says the player entered the level, or nothing.
    std::optional<std::pair<int, int>> arrival(const std::string& level) const {
        const std::string text = readText(log());
        const std::size_t at = text.find("Entered " + level + " at ");
        const std::size_t open = at == std::string::npos ? at : text.find('(', at);
        if (open == std::string::npos) return std::nullopt;
        int x = 0;
        int y = 0;
        if (std::sscanf(text.c_str() + open, "(%d, %d)", &x, &y) != 2) return std::nullopt;
        return std::make_pair(x, y);
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
    const std::unique_ptr<GameProcess> game = play("mine1");
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

// A captured frame by screen position, (0, 0) at the top left.
class Frame {
public:
    using Colour = std::array<int, 3>;
    explicit Frame(const CapturedImage& image) : m_image(image) {}

    Colour at(int x, int y) const {
        if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height) return {-1, -1, -1};
        const std::size_t i = (std::size_t(m_image.height - 1 - y) * std::size_t(m_image.width) + std::size_t(x)) * 4;
        return {m_image.pixels[i + 2], m_image.pixels[i + 1], m_image.pixels[i]};
    }
    // Whether a pixel within reach of the place has the colour: outlines are thin.
    bool near(int x, int y, const Colour& colour, int reachX, int reachY) const {
        for (int dy = -reachY; dy <= reachY; ++dy)
            for (int dx = -reachX; dx <= reachX; ++dx)
                if (at(x + dx, y + dy) == colour) return true;
        return false;
    }
    // The smallest box holding every pixel of the colour: left, top, right, bottom; nothing
    // when there is none.
    std::optional<std::array<int, 4>> box(const Colour& colour) const {
        std::optional<std::array<int, 4>> found;
        for (int y = 0; y < m_image.height; ++y)
            for (int x = 0; x < m_image.width; ++x) {
                if (at(x, y) != colour) continue;
                if (!found) found = std::array<int, 4>{x, y, x, y};
                auto& b = *found;
                b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x), std::max(b[3], y)};
            }
        return found;
    }

private:
    const CapturedImage& m_image;
};

TEST_F(LevelProgramTest, TheTownIsShownAsItsSolidCellsAndBodyOutlinesWhereTheLevelHasThem) {
    // The plain view's colours.
    const Frame::Colour ground = {14, 12, 18};
    const Frame::Colour cell = {120, 92, 60};
    const Frame::Colour player = {90, 230, 110};
    const Frame::Colour actor = {230, 80, 70};
    const Frame::Colour exit = {90, 150, 250};
    const Frame::Colour shape = {80, 220, 220};
    // Places of the town's one patch (its cells are 40 pixels; "[start]" is at (200, 320)).
    // An outline is looked for within its reach (a townsman strolls), the rest at the pixel.
    struct Place {
        const char* what;
        int x, y;
        Frame::Colour colour;
        int reachX = 0, reachY = 0;
    };
    struct Start {
        const char* what;
        std::vector<std::string> arguments;
        int playerX, playerY;  // where the player stands, in the patch
        std::vector<Place> places;
    };
    // The patch lies 8 cells into its level; the forced start counts on that.
    constexpr int PatchLeft = 320;
    const std::vector<Start> starts = {
        {"at [start]",
         {},
         200,
         320,
         {{"the open square", 100, 200, ground},
          {"the square's back wall, not solid", 100, 120, ground},
          {"the ground it stands on", 100, 340, cell},
          {"the shale below", 300, 420, cell},
          {"the rock of the edge", 20, 380, cell},
          {"the feet of the townswoman greeting the player", 260, 320, actor, 30, 2}}},
        {"by the way down",
         {"-set", "Debug.ForceStartPosition", std::to_string(PatchLeft + 380) + ";320"},
         380,
         320,
         {{"the ground it stands on", 380, 340, cell},
          {"the air above the way down", 440, 300, ground},
          {"the hatch, flush with the square", 520, 340, cell},
          {"the hatch below it", 520, 400, cell},
          {"the exit's left side", 480, 320, exit, 3, 3},
          {"the exit's right side", 560, 320, exit, 3, 3},
          {"the trigger's left side", 400, 320, shape, 3, 3},
          {"the trigger's right side", 640, 320, shape, 3, 3},
          {"the feet of the townsman strolling on the hatch", 600, 318, actor, 115, 2}}},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(start.what);
        const std::unique_ptr<GameProcess> game = play("shalebury", start.arguments);
        ASSERT_TRUE(game->running()) << readText(errors());
        const std::optional<std::pair<int, int>> entered = arrival("shalebury");
        ASSERT_TRUE(entered) << readText(log());
        ASSERT_EQ(*entered, std::make_pair(PatchLeft + 200, 320)) << "the town's patch moved in its level";
        std::this_thread::sleep_for(1s);  // past the fade-in
        const std::optional<CapturedImage> image = captureFrame(*game);
        ASSERT_TRUE(image) << readText(log()) << readText(errors());
        const Frame frame(*image);

        // The bottom centre of the player's outline is where it stands: that ties the
        // screen to the patch.
        const std::optional<std::array<int, 4>> body = frame.box(player);
        ASSERT_TRUE(body) << "no player outline";
        const int patchX = ((*body)[0] + (*body)[2]) / 2 - start.playerX;
        const int patchY = (*body)[3] - start.playerY;
        // An outline, not a filled box.
        EXPECT_EQ(frame.at(((*body)[0] + (*body)[2]) / 2, ((*body)[1] + (*body)[3]) / 2), ground);
        EXPECT_GT((*body)[2] - (*body)[0], 8);
        EXPECT_GT((*body)[3] - (*body)[1], 16);
        for (const Place& place : start.places) {
            const int x = patchX + place.x;
            const int y = patchY + place.y;
            if (place.reachX > 0 || place.reachY > 0)
                EXPECT_TRUE(frame.near(x, y, place.colour, place.reachX, place.reachY)) << place.what;
            else
                EXPECT_EQ(frame.at(x, y), place.colour) << place.what << " at (" << place.x << ", " << place.y << ")";
        }
        quitToTheMenusAndEnd(*game);
    }
}

TEST_F(LevelProgramTest, TwentyLevelChangesWithTheHostsKey) {
    const std::unique_ptr<GameProcess> game = play("mine1");
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
