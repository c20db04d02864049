#include "Framework/platform/MessageBox.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace zor {
namespace {

TEST(MessageBox, ShownOnlyWithADisplayAndWithoutTheTestSwitch) {
    struct Case {
        const char* display;
        const char* wayland;
        const char* noBox;
        bool wanted;
    };
    const Case cases[] = {
        {":0", "", "", true},
        {"", "wayland-0", "", true},
        {"", "", "", false},        // no display: a box could not be shown
        {":0", "", "1", false},     // tests and scripts switch boxes off
        {":0", "wayland-0", "yes", false},
    };
    for (const Case& c : cases) {
        test::ScopedEnv display("DISPLAY", c.display);
        test::ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland);
        test::ScopedEnv noBox("ZOR_NO_MESSAGEBOX", c.noBox);
        EXPECT_EQ(messageBoxWanted(), c.wanted)
            << "DISPLAY=" << c.display << " WAYLAND_DISPLAY=" << c.wayland << " ZOR_NO_MESSAGEBOX=" << c.noBox;
    }
}

TEST(MessageBox, LongLinesWrapAtBlanksOrInsideOverlongWords) {
    struct Case {
        std::string text, wrapped;
    };
    const Case cases[] = {
        {"short line", "short line"},
        {"one two three four", "one two\nthree four"},
        {"Error while loading: x\n\nPlease verify", "Error\nwhile\nloading: x\n\nPlease\nverify"},
        {"/a/very/long/path/without/blanks", "/a/very/lo\nng/path/wi\nthout/blan\nks"},
        {"cut \xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4", "cut\n\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\n\xC3\xA4"},
    };
    for (const Case& c : cases) EXPECT_EQ(wrapLines(c.text, 10), c.wrapped) << c.text;
}

TEST(MessageBox, TextAlwaysGoesToStandardError) {
    test::ScopedEnv noBox("ZOR_NO_MESSAGEBOX", "1");
    ::testing::internal::CaptureStderr();
    showErrorMessageBox("Morrowdeep", "Error while loading: x\n\nPlease verify game cache integrity.");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error while loading: x\n\nPlease verify game cache integrity.\n");
}

} // namespace
} // namespace zor
