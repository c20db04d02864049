#include "Framework/core/events/SystemEvents.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/GameController.h"
#include "Framework/input/ScreenMapping.h"
#include "Framework/input/SdlInput.h"
#include "Framework/input/StandardInputs.h"
#include "tests/support/common/TempFolder.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace zor {
namespace {

// The main viewport filling a window, as start-up and the screen settings make it.
void setWindow(int width, int height) {
    Screen::initViewports();
    Screen::Viewport& viewport = Screen::viewports()[0];
    viewport.windowWidth = viewport.width = width;
    viewport.windowHeight = viewport.height = height;
    viewport.x = viewport.y = 0;
    viewport.virtualWidth = 640.0f;
    viewport.virtualHeight = 360.0f;
    viewport.scaleMode = Screen::ScaleCover;
    viewport.updateScale();
}

class ScreenMapping : public ::testing::Test {
protected:
    ScreenMapping() {
        setWindow(1280, 720);
        addStandardAnalogueInputs(input);
        input.init();
    }
    ~ScreenMapping() override { Screen::viewports().clear(); }

    float mouse(AnalogueCode code, float raw) {
        input.setAnalogueValue(code, raw);
        return input.analogueInput(code)->normalized();
    }

    SystemEvents events;
    InputState input;
};

TEST_F(ScreenMapping, MousePositionFollowsTheWindowSize) {
    EXPECT_FLOAT_EQ(mouse(AnalogueCodes::MouseX, 640.0f), 320.0f);
    EXPECT_FLOAT_EQ(mouse(AnalogueCodes::MouseY, 720.0f), 360.0f);

    setWindow(1920, 1080);
    EXPECT_FLOAT_EQ(mouse(AnalogueCodes::MouseX, 640.0f), 320.0f) << "ranges change with the screen event only";
    events.screenChanged.fireNoArgs();
    EXPECT_NEAR(mouse(AnalogueCodes::MouseX, 640.0f), 213.333f, 0.001f);

    // A 5:4 window crops the sides: its left edge shows design x of about 95.
    setWindow(1280, 1024);
    events.screenChanged.fireNoArgs();
    EXPECT_NEAR(mouse(AnalogueCodes::MouseX, 0.0f), 95.0f, 0.1f);
    fpVector2 design;
    ASSERT_TRUE(windowToDesign(0.0f, 512.0f, design));
    EXPECT_NEAR(design.x, 95.0f, 0.1f);
    EXPECT_NEAR(design.y, 180.0f, 0.001f);
}

TEST_F(ScreenMapping, NoPointerWithoutAScaledViewport) {
    fpVector2 design{1.0f, 2.0f};
    Screen::viewports().clear();
    EXPECT_FALSE(windowToDesign(10.0f, 10.0f, design));
    Screen::initViewports(); // all zeros, never scaled
    EXPECT_FALSE(windowToDesign(10.0f, 10.0f, design));
    EXPECT_EQ(design, fpVector2(1.0f, 2.0f));
}

TEST_F(ScreenMapping, PollMapsTheMouseWithoutAButtonDown) {
    test::ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("input", 0, 0, 1280, 720, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    input.bind("attack", "Mouse.Left");
    setGamepadInUse(false);
    SDL_WarpMouseInWindow(window, 320, 180);
    SDL_PumpEvents();

    pollInput(input);
    EXPECT_FLOAT_EQ(input.analogueInput(AnalogueCodes::MouseX)->normalized(), 160.0f);
    EXPECT_FLOAT_EQ(input.analogueInput(AnalogueCodes::MouseY)->normalized(), 90.0f);
    EXPECT_FALSE(input.isHeld("attack"));
    EXPECT_TRUE(input.isIdle()) << "no gestures while the left button is up";
    EXPECT_FLOAT_EQ(input.gamepadUsed(), 0.0f);

    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace
} // namespace zor
