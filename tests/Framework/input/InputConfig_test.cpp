#include "Framework/core/Errors.h"
#include "Framework/input/InputConfig.h"
#include "Framework/input/InputState.h"
#include "Framework/input/StandardInputs.h"
#include "tests/Framework/input/InputTestFolders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zor {
namespace {

using test::InputTestFolders;

constexpr KeyCode Space = 45;
constexpr KeyCode GamepadA = 106;

std::vector<std::string> bindingsOf(const InputState& input, const std::string& name) {
    std::vector<std::string> list;
    input.getBindings(name, list);
    return list;
}

TEST(ConfigFile, Entries) {
    ConfigFile file("x.cfg");
    file.lines() = {
        "jump = Key.Space",
        " \tattack\t=  Mouse.Left , Gamepad.X \t",
        "version = 2",
        " version = 3",
        "Version = 4",
        "# heading without an equals sign",
        "",
        "jump = Key.Space = Key.W",
        "= Key.Q",
        "empty =",
    };
    struct Case {
        std::size_t index;
        bool entry;
        const char* name;
        const char* value;
    } cases[] = {
        {0, true, "jump", "Key.Space"}, {1, true, "attack", "Mouse.Left , Gamepad.X"},
        {2, false, "", ""},             {3, false, "", ""},
        {4, true, "Version", "4"},      {5, false, "", ""},
        {6, false, "", ""},             {7, false, "", ""},
        {8, true, "", "Key.Q"},         {9, true, "empty", ""},
        {10, false, "", ""},
    };
    for (const Case& c : cases) {
        std::string name = "?";
        std::string value = "?";
        ASSERT_EQ(file.getEntry(c.index, name, value), c.entry) << c.index;
        if (c.entry) {
            EXPECT_EQ(name, c.name) << c.index;
            EXPECT_EQ(value, c.value) << c.index;
        }
    }
}

class ControlsFiles : public ::testing::Test {
protected:
    ControlsFiles() { addStandardThresholdButtons(input); }

    InputTestFolders folders;
    InputState input;
};

TEST_F(ControlsFiles, DefaultIsCopiedWithCrLfAndApplied) {
    folders.gameData.write("Config/default_controls.cfg", "# controls\nversion = 1\njump = Key.Space\r\n\r\n"
                                                           "attack = Gamepad.A, gamepad.righttrigger\n");
    ASSERT_FALSE(loadUserControls(input));
    EXPECT_TRUE(bindingsOf(input, "jump").empty());
    installDefaultControls(input);

    EXPECT_EQ(folders.user.read("controls.cfg"),
              "# controls\r\nversion = 1\r\njump = Key.Space\r\n\r\nattack = Gamepad.A, gamepad.righttrigger");
    ASSERT_TRUE(input.controlsConfig());
    EXPECT_EQ(input.controlsConfig()->path(), "controls.cfg");
    EXPECT_EQ(bindingsOf(input, "attack"), (std::vector<std::string>{"Gamepad.A", "gamepad.righttrigger"}));
    input.setKeyPressed(Space, true);
    EXPECT_TRUE(input.wasPressed("jump"));

    // The next start reads the player's copy, not the default.
    folders.gameData.write("Config/default_controls.cfg", "jump = Key.W\n");
    InputState next;
    ASSERT_TRUE(loadUserControls(next));
    EXPECT_EQ(bindingsOf(next, "jump"), (std::vector<std::string>{"Key.Space"}));
}

TEST_F(ControlsFiles, EmptyPlayerFileCountsAsMissingVersionOnlyDoesNot) {
    folders.user.write("controls.cfg", "");
    EXPECT_FALSE(loadUserControls(input));

    folders.user.write("controls.cfg", "version = 2");
    EXPECT_TRUE(loadUserControls(input)) << "read, although it binds nothing";
    EXPECT_TRUE(bindingsOf(input, "version").empty());
    EXPECT_TRUE(folders.logLines.empty());
}

TEST_F(ControlsFiles, LinesAndBindingsAreTrimmedCollectedAndMalformedOnesSkipped) {
    folders.user.write("controls.cfg",
                       "jump = Key.Space,,Gamepad.A\n"
                       " \t jump\t=\t key.w ,  Gamepad.LeftStickUp\n"
                       "jump = Key.Space = Key.W\n"
                       "attack = Key.Spacebar, Mouse.Left\n"
                       "menu heading\n"
                       "= Key.Q\n");
    ASSERT_TRUE(loadUserControls(input));
    EXPECT_EQ(bindingsOf(input, "jump"),
              (std::vector<std::string>{"Key.Space", "Gamepad.A", "key.w", "Gamepad.LeftStickUp"}));
    EXPECT_EQ(bindingsOf(input, "attack"), (std::vector<std::string>{"Mouse.Left"}));
    EXPECT_EQ(bindingsOf(input, ""), (std::vector<std::string>{"Key.Q"}));

    input.setKeyPressed(GamepadA, true);
    EXPECT_TRUE(input.wasPressed("jump"));

    ASSERT_EQ(folders.logLines.size(), 2u);
    EXPECT_NE(folders.logLines[0].find("controls.cfg line 3"), std::string::npos) << folders.logLines[0];
    EXPECT_NE(folders.logLines[1].find("controls.cfg line 4"), std::string::npos) << folders.logLines[1];
    EXPECT_NE(folders.logLines[1].find("Key.Spacebar"), std::string::npos) << folders.logLines[1];
}

TEST_F(ControlsFiles, ButtonsACutOrEditedPlayerFileLeavesUnboundKeepTheirDefaults) {
    folders.gameData.write("Config/default_controls.cfg",
                           "jump = Key.Space\naccept = Key.Return, Gamepad.A\nattack = Mouse.Left\nmenu = Key.Escape\n");
    // "accept" is cut off, "attack" names no input, "jump" is the player's own.
    folders.user.write("controls.cfg", "jump = Key.W\nattack = Key.Spacebar\nmenu = Key.Escape\nacc");
    ASSERT_TRUE(loadUserControls(input));

    EXPECT_EQ(bindingsOf(input, "jump"), (std::vector<std::string>{"Key.W"}));
    EXPECT_EQ(bindingsOf(input, "accept"), (std::vector<std::string>{"Key.Return", "Gamepad.A"}));
    EXPECT_EQ(bindingsOf(input, "attack"), (std::vector<std::string>{"Mouse.Left"}));
    EXPECT_EQ(bindingsOf(input, "menu"), (std::vector<std::string>{"Key.Escape"}));
    input.setKeyPressed(GamepadA, true);
    EXPECT_TRUE(input.wasPressed("accept"));

    const auto restored = std::find_if(folders.logLines.begin(), folders.logLines.end(), [](const std::string& line) {
        return line.find("default controls") != std::string::npos;
    });
    ASSERT_NE(restored, folders.logLines.end());
    EXPECT_NE(restored->find("controls.cfg"), std::string::npos) << *restored;
    EXPECT_NE(restored->find("accept, attack"), std::string::npos) << *restored;
    EXPECT_EQ(restored->find("jump"), std::string::npos) << *restored;
    EXPECT_EQ(std::count_if(folders.logLines.begin(), folders.logLines.end(),
                            [](const std::string& line) { return line.find("default controls") != std::string::npos; }),
              1);
}

TEST_F(ControlsFiles, MissingDefaultIsFatal) {
    try {
        installDefaultControls(input);
        FAIL() << "no error";
    } catch (const CheckReleaseError& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("Could not open file: ", 0), 0u) << text;
        EXPECT_NE(text.find("Config/default_controls.cfg"), std::string::npos) << text;
    }
}

TEST(ControlsFilesUnwritable, DefaultStillAppliesWhenTheCopyCannotBeWritten) {
    test::TempFolder gameData;
    test::TempFolder base;
    base.write("blocker", "a file where the user folder should be");
    test::ScopedEnv userEnv("ZOR_USER_DIR", (base.path() / "blocker" / "user").string());
    initFileSystem(gameData.path().string());
    gameData.write("Config/default_controls.cfg", "jump = Key.Space\n");
    LogHandler log;
    std::vector<std::string> lines;
    log.addSink([&](const std::string& line, LogHandler::LevelType) { lines.push_back(line); }, 1,
                LogHandler::Verbose, "%1%");

    InputState input;
    EXPECT_FALSE(loadUserControls(input));
    installDefaultControls(input);
    EXPECT_EQ(bindingsOf(input, "jump"), (std::vector<std::string>{"Key.Space"}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Could not write controls.cfg"), std::string::npos) << lines[0];
}

TEST(GamepadsFile, DefaultCopiedWhenMissingPlayerFileWins) {
    InputTestFolders folders;
    const std::string line = "03000000aaaa0000bbbb000000000000,Cave Pad,a:b0,b:b1,platform:Linux,";
    folders.gameData.write("Config/default_gamepads.cfg", "# mappings\n" + line + "\n");
    loadGamepadMappings();
    EXPECT_EQ(folders.user.read("gamepads.cfg"), "# mappings\r\n" + line);
    EXPECT_EQ(findGamepadMapping("03000000aaaa0000bbbb000000000000"), line);

    folders.user.write("gamepads.cfg", "03000000cccc0000dddd000000000000,Other,a:b1,\n");
    loadGamepadMappings();
    EXPECT_EQ(findGamepadMapping("03000000aaaa0000bbbb000000000000"), "");
    ASSERT_TRUE(gamepadMappings());
    EXPECT_EQ(gamepadMappings()->lines().size(), 1u);
}

TEST(GamepadsFile, MappingIsTheFirstLineStartingWithTheGuid) {
    ConfigFile mappings("gamepads.cfg");
    mappings.lines() = {"0300", "03000000AAAA,upper,", "03000000aaaa,first,", "03000000aaaa,second,"};
    struct Case {
        const char* guid;
        const char* line;
    } cases[] = {
        {"03000000aaaa", "03000000aaaa,first,"},
        {"03000000AAAA", "03000000AAAA,upper,"},
        {"03000000aaab", ""},
        {"030000", "03000000AAAA,upper,"},
        {"03000", "03000000AAAA,upper,"},
        {"0300000", "03000000AAAA,upper,"},
    };
    for (const Case& c : cases) EXPECT_EQ(findGamepadMapping(mappings, c.guid), c.line) << c.guid;
    EXPECT_EQ(findGamepadMapping(mappings, "03000000"), "03000000AAAA,upper,");
    EXPECT_EQ(findGamepadMapping(mappings, "030000000"), "") << "longer than the short line, no match";
}

TEST(DefaultControls, BindEveryActionOnKeyboardAndGamepad) {
    test::TempFolder user;
    test::ScopedEnv userEnv("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    LogHandler log;
    std::vector<std::string> lines;
    log.addSink([&](const std::string& line, LogHandler::LevelType) { lines.push_back(line); }, 1,
                LogHandler::Verbose, "%1%");
    InputState input;
    addStandardThresholdButtons(input);
    installDefaultControls(input);
    EXPECT_TRUE(lines.empty()) << "every binding known: " << (lines.empty() ? "" : lines[0]);

    const char* actions[] = {
        "move_left", "move_right", "move_up", "move_down", "jump", "attack", "run", "activate", "use_tool",
        "cycle_weapon", "cycle_tool", "weapon_1", "weapon_2", "weapon_3", "inventory", "pause",
        "menu_accept", "menu_cancel", "menu_up", "menu_down", "menu_left", "menu_right", "menu_skip",
        "menu_any", "cheat_noclip", "cheat_invincible", "cheat_step", "cheat_still",
    };
    for (const char* action : actions) {
        const auto list = bindingsOf(input, action);
        auto startsWith = [](const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; };
        EXPECT_TRUE(std::any_of(list.begin(), list.end(),
                                [&](const std::string& b) { return startsWith(b, "Key.") || startsWith(b, "Mouse."); }))
            << action << " has no keyboard or mouse binding";
        EXPECT_TRUE(std::any_of(list.begin(), list.end(), [&](const std::string& b) { return startsWith(b, "Gamepad."); }))
            << action << " has no gamepad binding";
    }
}

TEST(DefaultGamepads, HoldNoMappingLineYetAreValid) {
    test::TempFolder user;
    test::ScopedEnv userEnv("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    loadGamepadMappings();
    ASSERT_TRUE(gamepadMappings());
    for (const std::string& line : gamepadMappings()->lines())
        EXPECT_TRUE(line.empty() || line[0] == '#') << "an SDL mapping line would start with a GUID: " << line;
}

} // namespace
} // namespace zor
