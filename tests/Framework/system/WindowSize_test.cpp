#include "Framework/system/WindowSize.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(WindowSize, SizesTheDisplayCannotShowFallBackToTheDefaultWithTheReason) {
    const iVector2 fallback(1280, 720);
    struct Case {
        iVector2 wanted, usable, size;
        std::string reason;
    };
    const Case cases[] = {
        {{1280, 720}, {1920, 1080}, {1280, 720}, ""},
        {{1920, 1080}, {1920, 1080}, {1920, 1080}, ""},
        {{320, 180}, {1920, 1080}, {320, 180}, ""},
        {{100000, 100000}, {1920, 1080}, {1280, 720}, "it is larger than the display's usable area of 1920x1080"},
        {{2000, 700}, {1920, 1080}, {1280, 720}, "it is larger than the display's usable area of 1920x1080"},
        {{0, 0}, {1920, 1080}, {1280, 720}, "it is below the smallest window of 320x180"},
        {{-640, 360}, {1920, 1080}, {1280, 720}, "it is below the smallest window of 320x180"},
        {{640, 179}, {1920, 1080}, {1280, 720}, "it is below the smallest window of 320x180"},
        // A small screen: the default shrinks to fit.
        {{3000, 2000}, {1024, 600}, {1024, 600}, "it is larger than the display's usable area of 1024x600"},
        // Usable area unknown: only the minimum is checked.
        {{100000, 100000}, {0, 0}, {100000, 100000}, ""},
        {{10, 10}, {0, 0}, {1280, 720}, "it is below the smallest window of 320x180"},
    };
    for (const Case& c : cases) {
        const WindowSizeChoice choice = chooseWindowSize(c.wanted, fallback, c.usable);
        EXPECT_EQ(choice.size, c.size) << c.wanted.x << "x" << c.wanted.y;
        EXPECT_EQ(choice.reason, c.reason) << c.wanted.x << "x" << c.wanted.y;
    }
}

} // namespace
} // namespace zor
