#include "Framework/input/InputState.h"
#include "Framework/input/InputVariables.h"
#include "Framework/input/StandardInputs.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor {
namespace {

constexpr float Step = 1.0f / 60.0f;
constexpr KeyCode Space = 45;
constexpr KeyCode KeyW = 26;

// "HPRT" with a '.' for each flag that is clear: held, pressed, released, repeat.
std::string flags(const InputState& input, const std::string& name) {
    std::string text = "....";
    if (input.isHeld(name)) text[0] = 'H';
    if (input.wasPressed(name)) text[1] = 'P';
    if (input.wasReleased(name)) text[2] = 'R';
    if (input.wasPressedOrRepeated(name)) text[3] = 'T';
    return text;
}

TEST(InputState, KeyTimelineOfOneUpdateStepPerPass) {
    struct Row {
        const char* pump; // edges recorded by the event pump before the step: P press, R release
        bool down;        // held state found by the poll
        const char* expected;
    } rows[] = {
        {"P", true, "HP.T"},  // the step of the press
        {"", true, "H..."},   // held from the poll only
        {"R", false, "..R."},
        {"", false, "...."},
        {"PR", false, ".PRT"}, // press and release within one pass: pressed and released, not held
        {"", false, "...."},
        {"P", true, "HP.T"},
        {"", true, "H..."}, // a second step in the same frame sees no press
    };
    InputState input;
    input.bind("jump", "Key.Space");
    int step = 1;
    for (const Row& row : rows) {
        for (const char* c = row.pump; *c; ++c) {
            if (*c == 'P') input.setKeyPressed(Space, true);
            if (*c == 'R') input.setKeyReleased(Space, true);
        }
        input.setKeyHeld(Space, row.down);
        EXPECT_EQ(flags(input, "jump"), row.expected) << "step " << step;
        input.update(Step);
        ++step;
    }
}

TEST(InputState, HeldPointerOverOnePress) {
    struct Row {
        char poll;  // P pressed, M still down, R released, '.' up
        float x;    // pointer x of the poll
        bool held;
        bool pressBegan;
        float heldX;
    } rows[] = {
        {'.', 0, false, true, -1},  // up: the outputs keep what the caller put there
        {'P', 10, true, true, 10},   // the step of the press
        {'M', 12, true, false, 12},
        {'M', 15, true, false, 15},
        {'R', 15, true, false, 15},  // the release is its own flag; still held in its step
        {'.', 0, false, true, -1},
        {'P', 30, true, true, 30},   // a new press begins anew
    };
    InputState input;
    int step = 1;
    for (const Row& row : rows) {
        const std::vector<fpVector2> at = {fpVector2(row.x, 5.0f)};
        if (row.poll == 'P') input.pointerPressed(at);
        if (row.poll == 'M') input.pointerMoved(at);
        if (row.poll == 'R') input.pointerReleased(at);
        fpVector2 position(-1.0f, -1.0f);
        bool pressBegan = true;
        EXPECT_EQ(getPointerHeld(input, position, pressBegan), row.held) << "step " << step;
        EXPECT_EQ(pressBegan, row.pressBegan) << "step " << step;
        EXPECT_EQ(position.x, row.heldX) << "step " << step;
        input.update(Step);
        ++step;
    }
}

TEST(InputState, HeldKeyRepeatsAfterFirstDelayThenEveryInterval) {
    InputState input;
    input.bind("menu_down", "Key.Down");
    std::vector<int> repeats;
    for (int step = 1; step <= 60; ++step) {
        if (step == 1) input.setKeyPressed(1, true);
        input.setKeyHeld(1, true);
        if (input.wasPressedOrRepeated("menu_down")) repeats.push_back(step);
        EXPECT_TRUE(input.isHeld("menu_down"));
        input.update(Step);
    }
    // Step n starts at (n - 1) / 60 s: the first repeat in the step that starts at 0.4 s,
    // then every fifth step (0.07 s is 4.2 steps, rounded up).
    EXPECT_EQ(repeats, (std::vector<int>{1, 25, 30, 35, 40, 45, 50, 55, 60}));
}

TEST(InputState, UnboundKeysAreDropped) {
    InputState input;
    input.bind("jump", "Key.Space");
    input.setKeyPressed(KeyW, true);
    input.setKeyHeld(KeyW, true);
    EXPECT_TRUE(input.isIdle());
    EXPECT_FALSE(input.isHeld("jump"));
    EXPECT_FALSE(input.wasPressed(""));
}

TEST(InputState, VirtualNamesAreExactBindingNamesFoldCase) {
    InputState input;
    EXPECT_TRUE(input.bind("jump", "key.space"));
    EXPECT_TRUE(input.bind("jump", "Gamepad.A"));
    EXPECT_TRUE(input.bind("attack", "KEY.SPACE"));
    EXPECT_FALSE(input.bind("jump", "Key.Spacebar"));
    EXPECT_FALSE(input.bind("jump", ""));

    input.setKeyPressed(Space, true);
    input.setKeyHeld(Space, true);
    EXPECT_TRUE(input.isHeld("jump"));
    EXPECT_TRUE(input.isHeld("attack")) << "two names on one key both hear it";
    EXPECT_FALSE(input.isHeld("Jump"));
    EXPECT_FALSE(input.isIdle());

    std::vector<std::string> bindings = {"already there"};
    input.getBindings("jump", bindings);
    EXPECT_EQ(bindings, (std::vector<std::string>{"key.space", "Gamepad.A", "already there"}));
    input.getBindings("Jump", bindings);
    EXPECT_EQ(bindings.size(), 3u);
}

class ThresholdButtons : public ::testing::Test {
protected:
    ThresholdButtons() {
        addStandardAnalogueInputs(input);
        addStandardThresholdButtons(input);
        input.bind("move_left", "Gamepad.LeftStickLeft");
        input.bind("run", "gamepad.lefttrigger");
    }
    float normalized(AnalogueCode code) const { return input.analogueInput(code)->normalized(); }

    InputState input;
};

TEST_F(ThresholdButtons, SticksAndTriggersNormalize) {
    struct Case {
        AnalogueCode code;
        float raw;
        float expected;
    } cases[] = {
        {3, -32768.0f, -1.0f}, {3, 32767.0f, 1.0f}, {3, 0.0f, 1.0f / 65535.0f}, {6, -40000.0f, -1.0f},
        {7, -32768.0f, 0.0f},  {7, 32767.0f, 1.0f}, {7, 40000.0f, 1.0f},         {2, 1.0f, 1.0f},
    };
    for (const Case& c : cases) {
        input.setAnalogueValue(c.code, c.raw);
        if (c.code == 3 && c.raw == 0.0f) {
            EXPECT_GT(normalized(c.code), 0.0f) << "centre is just above 0";
        }
        EXPECT_NEAR(normalized(c.code), c.expected, 1e-6f) << c.code << " at " << c.raw;
    }
}

TEST_F(ThresholdButtons, ComparisonIsStrictAtTheThreshold) {
    // The trigger maps -32768..32767 onto 0..1, so raw -0.5 is exactly 0.5.
    input.setAnalogueValue(7, -0.5f);
    EXPECT_FLOAT_EQ(normalized(7), 0.5f);
    EXPECT_FALSE(input.isHeld("run"));
    input.setAnalogueValue(7, 0.0f);
    EXPECT_TRUE(input.isHeld("run"));
    EXPECT_TRUE(input.wasPressed("run"));
}

TEST_F(ThresholdButtons, StickDirectionBehavesLikeAKey) {
    std::vector<int> repeats;
    for (int step = 1; step <= 40; ++step) {
        input.setAnalogueValue(3, step <= 35 ? -20000.0f : -10000.0f);
        if (step == 1) {
            EXPECT_EQ(flags(input, "move_left"), "HP.T");
        } else if (step == 2) {
            EXPECT_EQ(flags(input, "move_left"), "H...");
        } else if (step == 36) {
            EXPECT_EQ(flags(input, "move_left"), "..R.") << "back inside the threshold";
        }
        if (input.wasPressedOrRepeated("move_left")) repeats.push_back(step);
        input.update(Step);
    }
    EXPECT_EQ(repeats, (std::vector<int>{1, 25, 30, 35}));
    EXPECT_TRUE(input.isIdle());
}

TEST_F(ThresholdButtons, OtherAxesLeaveTheButtonAlone) {
    input.setAnalogueValue(3, -32768.0f);
    input.update(Step);
    input.setAnalogueValue(4, 0.0f); // left stick y: another variable
    EXPECT_TRUE(input.isHeld("move_left"));
    EXPECT_FALSE(input.wasPressed("move_left"));
}

TEST(ThresholdExpressions, OnlyVariableComparisonNumberIsAccepted) {
    struct Case {
        const char* expression;
        bool accepted;
    } cases[] = {
        {"x > 0.5", true},  {"x < -0.5", true},  {"x >= 0.5", false}, {"x > 0.5 y", false},
        {"x > half", false}, {"x>0.5", false},    {"x = 0.5", false},  {"", false},
        {"x > 0.5 ", true},
    };
    for (const Case& c : cases) {
        InputState input;
        EXPECT_EQ(input.addThresholdButton("T", c.expression), c.accepted) << "'" << c.expression << "'";
        EXPECT_EQ(input.bind("v", "t"), c.accepted) << "'" << c.expression << "'";
    }
}

TEST(AnalogueInputs, FirstRegistrationStaysAndUnknownNamesAreDropped) {
    InputState input;
    input.addAnalogueInput("0", "10", "first", "Gamepad.TriggerLeft", "0", "1");
    input.addAnalogueInput("0", "20", "second", "gamepad.triggerleft", "0", "1");
    input.addAnalogueInput("0", "1", "nothing", "Gamepad.Trigger", "0", "1");
    ASSERT_NE(input.analogueInput(7), nullptr);
    EXPECT_EQ(input.analogueInput(7)->variable, "first");
    EXPECT_EQ(input.analogueInput(9), nullptr);
    EXPECT_FLOAT_EQ(input.gamepadUsed(), 0.0f) << "no gamepad_used input registered";

    input.addAnalogueInput("0", "0", "flat", "Gamepad.AnalogueLeftX", "-1", "1");
    input.setAnalogueValue(3, 5.0f);
    EXPECT_FLOAT_EQ(input.analogueInput(3)->normalized(), 0.0f) << "zero-width input range";
}

TEST(AnalogueInputs, BoundsFollowVariablesOnRefresh) {
    InputState input;
    InputVariables::set("{TestRight}") = 1280.0f;
    input.addAnalogueInput("0", "{TestRight}", "mouse_x", "Mouse.X", "0", "640");
    input.setAnalogueValue(0, 640.0f);
    EXPECT_FLOAT_EQ(input.analogueInput(0)->normalized(), 320.0f);
    InputVariables::set("{TestRight}") = 1920.0f; // the window grew
    EXPECT_FLOAT_EQ(input.analogueInput(0)->normalized(), 320.0f) << "bounds change only on refresh";
    input.refreshAnalogueRanges();
    EXPECT_NEAR(input.analogueInput(0)->normalized(), 213.333f, 0.001f);
}

TEST(AnalogueInputs, ValueTexts) {
    InputVariables::set("{TestValue}") = 7.5f;
    struct Case {
        const char* text;
        float value;
    } cases[] = {
        {"0.5", 0.5f}, {"-32768", -32768.0f}, {"0.5 ", 0.0f}, {" 0.5", 0.0f},
        {"half", 0.0f}, {"", 0.0f},           {"{TestValue}", 7.5f}, {"{testvalue}", 0.0f},
    };
    for (const Case& c : cases) EXPECT_FLOAT_EQ(evaluateInputValue(c.text), c.value) << "'" << c.text << "'";
}

TEST(InputState, GamepadUsedFollowsItsAnalogueInput) {
    InputState input;
    addStandardAnalogueInputs(input);
    EXPECT_FLOAT_EQ(input.gamepadUsed(), 0.0f);
    input.setAnalogueValue(2, 1.0f);
    EXPECT_FLOAT_EQ(input.gamepadUsed(), 1.0f);
}

} // namespace
} // namespace zor
