#include "Framework/core/io/Files.h"
#include "Framework/graphics/capture/Capturer.h"
#include "Framework/graphics/capture/TgaWriter.h"
#include "tests/support/common/TempFolder.h"

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

// Captures go to a scratch user folder.
class CaptureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(user.path() / "Captures");
        initFileSystem("BundlePC");
    }
    void TearDown() override {
        userEnvironment.reset();
        initFileSystem("BundlePC");
    }

    test::TempFolder user;
    std::unique_ptr<test::ScopedEnv> userEnvironment = std::make_unique<test::ScopedEnv>("ZOR_USER_DIR", user.path().string());
};

TEST(TgaHeader, DescribesAnUncompressedTrueColourImageWithAlphaFromTheBottomLeft) {
    std::uint8_t header[TgaHeaderSize];
    tgaHeader(iVector2(1920, 1080), header);
    const Bytes expected = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x07, 0x38, 0x04, 32, 0x08};
    EXPECT_EQ(Bytes(header, header + TgaHeaderSize), expected);
    tgaHeader(iVector2(70000, 3), header);  // only the low 16 bits fit
    EXPECT_EQ(header[12], 0x70);
    EXPECT_EQ(header[13], 0x11);
}

TEST_F(CaptureFiles, AnImageIsItsHeaderAndThenItsPixelsAsRead) {
    const std::vector<std::uint32_t> pixels = {0x11223344u, 0x55667788u, 0x99AABBCCu, 0xDDEEFF00u, 1u, 2u};
    ASSERT_TRUE(writeTGA("Captures/left0000000.tga", iVector2(3, 2), pixels.data()));
    const Bytes file = readAll(user / "Captures/left0000000.tga");
    ASSERT_EQ(file.size(), TgaHeaderSize + 3 * 2 * 4);
    EXPECT_EQ(file[12], 3);
    EXPECT_EQ(file[14], 2);
    EXPECT_EQ(Bytes(file.begin() + TgaHeaderSize, file.end()),
              Bytes(reinterpret_cast<const std::uint8_t*>(pixels.data()),
                    reinterpret_cast<const std::uint8_t*>(pixels.data() + pixels.size())));
}

TEST_F(CaptureFiles, AFileThatCannotBeWrittenWhollyIsReportedAndRemoved) {
    const std::vector<std::uint32_t> pixels(64 * 64, 0xFF00FF00u);
    EXPECT_FALSE(writeTGA("Missing/left0000000.tga", iVector2(64, 64), pixels.data()));
    std::filesystem::create_directories(user / "Captures/left0000001.tga");
    EXPECT_FALSE(writeTGA("Captures/left0000001.tga", iVector2(64, 64), pixels.data()));
    // A full disk: the header and pixels are buffered, and the failure shows when they are flushed.
    std::filesystem::create_symlink("/dev/full", user / "Captures/full.tga");
    EXPECT_FALSE(writeTGA("Captures/full.tga", iVector2(64, 64), pixels.data()));
    EXPECT_FALSE(std::filesystem::is_symlink(user / "Captures/full.tga"));
}

TEST(CaptureNumbering, TheNextNumberFollowsTheHighestLeftImage) {
    const struct {
        std::vector<std::string> entries;
        std::uint32_t next;
    } cases[] = {
        {{}, 0},
        {{"Captures/left0000007.tga", "Captures/left0000041.tga"}, 42},
        {{"Captures/left0000041.tga", "Captures/left0000007.tga"}, 42},
        {{"Captures/left.tga", "Captures/leftover.tga", "Captures/left12x.tga", "Captures/left-000003.tga"}, 0},
        {{"Captures/left10000000.tga"}, 10000001},
        {{"Captures/left0000003.tga", "Captures/left9999999999.tga"}, 4},
    };
    for (const auto& c : cases) EXPECT_EQ(nextCaptureNumber(c.entries), c.next) << testing::PrintToString(c.entries);
}

TEST(CaptureNotes, ShowPairsCapturedAndDataWaitingWithTwoSignificantDigits) {
    const std::uint64_t image = 1920 * 1080 * 4;
    const auto notes = captureNotes(1, 2 * image, 3, 3 * image);
    EXPECT_EQ(notes[0], "Capturing... 1 (0.015 GiB)");
    EXPECT_EQ(notes[1], "Buffered Frames: 3");
    EXPECT_EQ(notes[2], "Buffered Data: 24 MiB");
    const auto idle = captureNotes(0, 0, 0, 0);
    EXPECT_EQ(idle[0], "Capturing... 0 (0 GiB)");
    EXPECT_EQ(idle[2], "Buffered Data: 0 MiB");
    // Beyond 4 GiB the totals do not wrap.
    EXPECT_EQ(captureNotes(600, 600 * 2 * image, 0, 0)[0], "Capturing... 600 (9.3 GiB)");
}

} // namespace
} // namespace zor
