#include "Framework/core/io/Files.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/capture/Capturer.h"
#include "Framework/graphics/capture/TgaWriter.h"
#include "Framework/graphics/screen/Screen.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace zor {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The test window is 64 x 64; the capture reads its back buffer.
class CapturerTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        initFileSystem("BundlePC");
        Screen::initViewports();
        setViewport(32, 16);
        // An earlier run's last image makes the numbering carry on.
        std::filesystem::create_directories(user / "Captures");
        std::ofstream(user / "Captures/left0000007.tga") << "old";
    }
    void TearDown() override {
        userEnvironment.reset();
        initFileSystem("BundlePC");
        Screen::setStereoMode(Screen::StereoNone);
        GLTest::TearDown();
    }

    static void setViewport(int width, int height) {
        Screen::Viewport& viewport = Screen::viewports().front();
        viewport.windowWidth = 64;
        viewport.windowHeight = 64;
        viewport.x = 0;
        viewport.y = 64 - height;  // the bottom-left corner of the window
        viewport.width = width;
        viewport.height = height;
    }

    // Renders the first eye red and the second blue, noting the eyes.
    void render() {
        const bool first = Screen::stereoMode() == Screen::StereoFirstEye;
        eyes.push_back(Screen::stereoMode());
        glClearColor(first ? 1.0f : 0.0f, 0.0f, first ? 0.0f : 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    static void waitForWriter(const Capturer& capturer) {
        for (int i = 0; i < 2000 && capturer.bufferedImages() > 0; ++i) sleepSeconds(0.005);
        ASSERT_EQ(capturer.bufferedImages(), 0);
    }

    test::TempFolder user;
    std::unique_ptr<test::ScopedEnv> userEnvironment = std::make_unique<test::ScopedEnv>("ZOR_USER_DIR", user.path().string());
    std::vector<Screen::StereoModeEnum> eyes;
};

TEST_F(CapturerTest, EverySecondFrameWritesAPairOfImagesSizedByTheViewportAtThatFrame) {
    Capturer capturer([this] { render(); });
    capturer.captureFrame();
    EXPECT_TRUE(eyes.empty());
    capturer.captureFrame();
    EXPECT_EQ(eyes, (std::vector<Screen::StereoModeEnum>{Screen::StereoFirstEye, Screen::StereoSecondEye}));
    EXPECT_EQ(Screen::currentViewportIndex(), 0);

    // The viewport grows between pairs: the next pair is as big as the new viewport.
    setViewport(64, 64);
    capturer.captureFrame();
    capturer.captureFrame();
    EXPECT_EQ(eyes.size(), 4u);
    EXPECT_EQ(capturer.frameCounter(), 4u);
    waitForWriter(capturer);

    const struct {
        const char* name;
        int width, height;
        std::uint8_t blue, red;
    } files[] = {{"left0000008.tga", 32, 16, 0, 255},
                 {"right0000008.tga", 32, 16, 255, 0},
                 {"left0000009.tga", 64, 64, 0, 255},
                 {"right0000009.tga", 64, 64, 255, 0}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const Bytes file = readAll(user / "Captures" / f.name);
        ASSERT_EQ(file.size(), TgaHeaderSize + std::size_t(f.width * f.height * 4));
        std::uint8_t header[TgaHeaderSize];
        tgaHeader(iVector2(f.width, f.height), header);
        EXPECT_EQ(Bytes(file.begin(), file.begin() + TgaHeaderSize), Bytes(header, header + TgaHeaderSize));
        // Blue, green, red, alpha of the eye's colour, in the first and last pixel.
        for (const std::size_t at : {TgaHeaderSize, file.size() - 4}) {
            EXPECT_EQ(file[at], f.blue);
            EXPECT_EQ(file[at + 1], 0);
            EXPECT_EQ(file[at + 2], f.red);
        }
    }
}

TEST_F(CapturerTest, ImagesStillWaitingAreWrittenWhenTheCapturerGoes) {
    {
        Capturer capturer([this] { render(); });
        for (int frame = 0; frame < 8; ++frame) capturer.captureFrame();
    }
    for (const char* name : {"left0000008.tga", "right0000008.tga", "left0000011.tga", "right0000011.tga"})
        EXPECT_EQ(std::filesystem::file_size(user / "Captures" / name), TgaHeaderSize + 32 * 16 * 4) << name;
}

} // namespace
} // namespace zor
