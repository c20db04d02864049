#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/input/InputState.h"
#include "Framework/platform/QuitSignals.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/EventPump.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>

namespace zor {
namespace {

// The event pump on SDL's event queue alone: no display is needed to push events.
class EventPumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
        if (!SettingsHandler::exists()) new SettingsHandler();
        if (!SystemEvents::exists()) new SystemEvents();
        SettingsHandler& settings = SettingsHandler::instance();
        settings.declare("Screen.Fullscreen", "", std::int32_t(0), SettingPermanent, SettingPublic);
        settings.declare("Screen.WindowSize", "", fpVector2(1280, 720), SettingPermanent, SettingPublic);
        appState().fullscreen = false;
        appState().unfocused = false;
        toggled = SystemEvents::instance().fullscreenToggled.connect(this, [](EventPumpTest* t) { ++t->toggles; });
        lost = SystemEvents::instance().focusLost.connect(this, [](EventPumpTest* t) { ++t->focusLosses; });
        input.bind("accept", "Key.Return");
    }
    void TearDown() override {
        toggled.release();
        lost.release();
        appState().fullscreen = false;
        appState().unfocused = false;
        input.update(0.0f);
        SDL_Quit();
    }

    static void pushKey(SDL_Scancode scancode, Uint16 modifiers, Uint8 repeat = 0) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.repeat = repeat;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = modifiers;
        SDL_PushEvent(&event);
    }
    static void pushWindowEvent(Uint8 kind, int data1 = 0, int data2 = 0) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = kind;
        event.window.data1 = data1;
        event.window.data2 = data2;
        SDL_PushEvent(&event);
    }

    InputState& input = InputState::global();
    EventConnection toggled;
    EventConnection lost;
    int toggles = 0;
    int focusLosses = 0;
};

TEST_F(EventPumpTest, KeyActions) {
    struct Case {
        int scancode;
        bool alt;
        KeyAction action;
    };
    const Case cases[] = {
        {SDL_SCANCODE_RETURN, true, KeyAction::ToggleFullscreen},
        {SDL_SCANCODE_F4, true, KeyAction::Quit},
        {SDL_SCANCODE_RETURN, false, KeyAction::Input},
        {SDL_SCANCODE_F4, false, KeyAction::Input},
        {SDL_SCANCODE_KP_ENTER, true, KeyAction::Input},
        {SDL_SCANCODE_SPACE, true, KeyAction::Input},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keyDownAction(c.scancode, c.alt), c.action) << c.scancode << (c.alt ? " with Alt" : "");
}

TEST_F(EventPumpTest, AltReturnTogglesFullScreenAndTheKeyGoesNoFurther) {
    // Alt counts as it was when Return went down, however the keyboard is now.
    pushKey(SDL_SCANCODE_RETURN, KMOD_LALT);
    EXPECT_TRUE(pumpEvents());
    EXPECT_EQ(SettingsHandler::instance().getInt("Screen.Fullscreen"), 1);
    EXPECT_EQ(toggles, 1);
    EXPECT_FALSE(input.wasPressed("accept"));

    appState().fullscreen = true;  // as the settings listener would have applied it
    pushKey(SDL_SCANCODE_RETURN, KMOD_RALT);
    EXPECT_TRUE(pumpEvents());
    EXPECT_EQ(SettingsHandler::instance().getInt("Screen.Fullscreen"), 0);
    EXPECT_EQ(toggles, 2);

    // Platform repeats are ignored; a plain Return is input.
    pushKey(SDL_SCANCODE_RETURN, KMOD_LALT, 1);
    pushKey(SDL_SCANCODE_RETURN, KMOD_NONE);
    EXPECT_TRUE(pumpEvents());
    EXPECT_EQ(toggles, 2);
    EXPECT_TRUE(input.wasPressed("accept"));
}

TEST_F(EventPumpTest, EndsOnAltF4TheQuitRequestAndQuitSignals) {
    // The pump stops at once, so each case starts on an empty queue.
    const auto flush = [] { SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); };
    pushKey(SDL_SCANCODE_F4, KMOD_LALT);
    EXPECT_FALSE(pumpEvents());

    flush();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(pumpEvents());

    flush();
    EXPECT_TRUE(pumpEvents());
    installQuitSignalHandlers();
    std::raise(SIGTERM);
    EXPECT_FALSE(pumpEvents());
    flush();
    EXPECT_TRUE(pumpEvents());
}

TEST_F(EventPumpTest, ResizingSetsTheWindowSizeOnlyInAWindow) {
    pushWindowEvent(SDL_WINDOWEVENT_RESIZED, 800, 600);
    EXPECT_TRUE(pumpEvents());
    EXPECT_EQ(SettingsHandler::instance().getVector2("Screen.WindowSize"), fpVector2(800, 600));

    appState().fullscreen = true;
    pushWindowEvent(SDL_WINDOWEVENT_RESIZED, 1920, 1080);
    EXPECT_TRUE(pumpEvents());
    EXPECT_EQ(SettingsHandler::instance().getVector2("Screen.WindowSize"), fpVector2(800, 600));
}

TEST_F(EventPumpTest, FocusChangesAreAnnouncedAndKept) {
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(pumpEvents());
    EXPECT_TRUE(appState().unfocused);
    EXPECT_EQ(focusLosses, 1);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_TRUE(pumpEvents());
    EXPECT_FALSE(appState().unfocused);
}

} // namespace
} // namespace zor
