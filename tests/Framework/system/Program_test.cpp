#include "Framework/core/Errors.h"
#include "Framework/system/EventPump.h"
#include "Framework/system/Program.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace zor {
namespace {

template <class E>
std::string mainErrorText(const E& error) {
    try {
        throw error;
    } catch (...) {
        return toMainError(std::current_exception()).message;
    }
}

struct NotAnException {};

TEST(Program, ExceptionsBecomeMainErrors) {
    EXPECT_EQ(mainErrorText(MainError("OpenGL 2.1 support is missing")), "OpenGL 2.1 support is missing");
    EXPECT_EQ(mainErrorText(std::runtime_error("disk on fire")), "Unexpected runtime error: disk on fire");
    // Data errors are runtime errors.
    EXPECT_EQ(mainErrorText(CheckReleaseError("Could not read settings definition x")),
              "Unexpected runtime error: Could not read settings definition x");
    EXPECT_EQ(mainErrorText(std::logic_error("bad order")), "Unexpected exception: bad order");
    EXPECT_EQ(mainErrorText(std::bad_alloc()), std::string("Unexpected exception: ") + std::bad_alloc().what());
    EXPECT_EQ(mainErrorText(NotAnException()), "Unknown exception.");
    EXPECT_EQ(mainErrorText(42), "Unknown exception.");
}

TEST(EventPump, AltReturnAndAltF4AreTheWindowsAndOtherKeysInput) {
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
    // The scancodes the event pump was written for.
    EXPECT_EQ(SDL_SCANCODE_RETURN, 40);
    EXPECT_EQ(SDL_SCANCODE_F4, 61);
    EXPECT_EQ(SDL_SCANCODE_LALT, 226);
    EXPECT_EQ(SDL_SCANCODE_RALT, 230);
}

} // namespace
} // namespace zor
