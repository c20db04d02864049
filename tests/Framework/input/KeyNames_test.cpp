#include "Framework/input/KeyNames.h"
#include "Framework/input/InputState.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(KeyNames, NamesFoldLetterCaseButNotLength) {
    struct Case {
        const char* name;
        std::optional<KeyCode> code;
    } cases[] = {
        {"Key.Space", 45},     {"KEY.SPACE", 45},   {"key.space", 45},     {"Key.Spac", std::nullopt},
        {"Key.Space ", std::nullopt}, {"Key.Up", 0}, {"Key.LeftAlt", 100}, {"Mouse.Right", 102},
        {"Mouse.Middle", 103}, {"Gamepad.A", 106},  {"gamepad.dpadright", 120}, {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(findKeyCode(c.name), c.code) << c.name;
}

TEST(KeyNames, EveryCodeHasExactlyOneNameThatLeadsBack) {
    for (KeyCode code = 0; code < KeyCodes::Count; ++code) {
        const std::string name = keyNameForCode(code);
        ASSERT_FALSE(name.empty()) << code;
        EXPECT_EQ(findKeyCode(name), code) << name;
    }
    EXPECT_EQ(keyNameForCode(121), "");
    EXPECT_EQ(keyNameForCode(-1), "");
    EXPECT_EQ(keyNameForCode(102), "Mouse.Right");
}

TEST(KeyNames, AnalogueNames) {
    struct Case {
        const char* name;
        AnalogueCode code;
    } cases[] = {
        {"Mouse.X", 0}, {"Mouse.Y", 1}, {"Gamepad.Used", 2}, {"Gamepad.AnalogueLeftX", 3},
        {"gamepad.triggerleft", 7}, {"GAMEPAD.TRIGGERRIGHT", 8}, {"Gamepad.Trigger", 9}, {"Key.Space", 9},
    };
    for (const Case& c : cases) EXPECT_EQ(findAnalogueCode(c.name), c.code) << c.name;
}

TEST(KeyNames, DisplayNamesAreLookedUpWithTheExactSpelling) {
    InputState input;
    std::string text = "unchanged";
    EXPECT_FALSE(input.getKeyDisplayName("Key.A", text)) << "no display names yet";
    input.setKeyDisplayNames({{"Key.A", "Q"}});
    EXPECT_FALSE(input.getKeyDisplayName("key.a", text));
    EXPECT_FALSE(input.getKeyDisplayName("Mouse.Left", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(input.getKeyDisplayName("Key.A", text));
    EXPECT_EQ(text, "Q");
}

} // namespace
} // namespace zor
