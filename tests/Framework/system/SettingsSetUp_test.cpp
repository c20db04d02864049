#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/SettingsSetUp.h"
#include "Framework/system/SystemCore.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zor {
namespace {

class SettingsSetUpTest : public ::testing::Test {
protected:
    void SetUp() override { initFileSystem("BundlePC"); }
    void TearDown() override { releaseServices(); }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
};

TEST_F(SettingsSetUpTest, DeclaresInCodeThenReadsTheGameDataAndTheUserValues) {
    user.write("settings.xml", "<Settings><Setting Key=\"Screen.VSync\" Value=\"0\"/>"
                               "<Setting Key=\"SoundVolume\" Value=\"0.5\"/></Settings>");
    initFileSystem("BundlePC");
    setUpSettings();
    SettingsHandler& settings = SettingsHandler::instance();
    EXPECT_EQ(settings.getString("Version"), "1.05");
    EXPECT_FLOAT_EQ(settings.getFloat("MusicVolume"), 0.3f);
    EXPECT_FLOAT_EQ(settings.getFloat("SoundVolume"), 0.5f);
    EXPECT_EQ(settings.getInt("Screen.VSync"), 0);
    EXPECT_EQ(settings.setting("Version").Persistence, std::uint32_t(SettingPermanent));
    EXPECT_EQ(settings.setting("SoundVolume").Visibility, SettingPublic);
    EXPECT_EQ(buildVersion(), "1.05");
}

TEST_F(SettingsSetUpTest, StaleVersionIsReplacedAndTheFileRewritten) {
    user.write("settings.xml", "<Settings><Setting Key=\"Version\" Value=\"1.01\"/>"
                               "<Setting Key=\"SoundVolume\" Value=\"0.5\"/></Settings>");
    initFileSystem("BundlePC");
    setUpSettings();
    EXPECT_EQ(SettingsHandler::instance().getString("Version"), "1.05");
    const std::string text = user.read("settings.xml");
    EXPECT_EQ(text.find("1.01"), std::string::npos) << text;
    EXPECT_NE(text.find("SoundVolume"), std::string::npos) << text;
}

TEST_F(SettingsSetUpTest, AnUnreadableUserFileIsKeptAsideAndTheDefaultsAreUsed) {
    const std::string broken = "<Settings><Setting Key=\"SoundVolume\" Value=\"0.5\"/><Setting Key=";
    user.write("settings.xml", broken);
    test::LogCapture log;
    initFileSystem("BundlePC");
    setUpSettings();
    SettingsHandler& settings = SettingsHandler::instance();
    EXPECT_FLOAT_EQ(settings.getFloat("SoundVolume"), 0.8f);
    EXPECT_EQ(user.read("settings.xml.corrupt"), broken);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("The settings file " + (user / "settings.xml").string() + " cannot be read ("),
              std::string::npos)
        << log.lines[0];
    EXPECT_NE(log.lines[0].find("it is kept as settings.xml.corrupt and the default settings are used"),
              std::string::npos)
        << log.lines[0];

    // The save at the end writes the version only, beside the kept file.
    ASSERT_TRUE(settings.saveUserSettings());
    EXPECT_EQ(user.read("settings.xml.corrupt"), broken);
}

TEST_F(SettingsSetUpTest, AMissingOrEmptyUserFileIsNoFault) {
    for (const bool empty : {false, true}) {
        if (empty) user.write("settings.xml", "");
        test::LogCapture log;
        initFileSystem("BundlePC");
        setUpSettings();
        EXPECT_TRUE(log.lines.empty()) << log.lines.front();
        EXPECT_FALSE(std::filesystem::exists(user / "settings.xml.corrupt"));
        releaseServices();
    }
}

TEST_F(SettingsSetUpTest, CurrentVersionLeavesTheFileUntouched) {
    const std::string original = "<Settings><Setting Key=\"Version\" Value=\"1.05\"/></Settings>";
    user.write("settings.xml", original);
    initFileSystem("BundlePC");
    setUpSettings();
    EXPECT_EQ(user.read("settings.xml"), original);
}

TEST_F(SettingsSetUpTest, SecondCallDeclaresNothing) {
    initFileSystem("BundlePC");
    setUpSettings();
    SettingsHandler& settings = SettingsHandler::instance();
    settings.setValue("MusicVolume", 0.9f);
    setUpSettings();
    EXPECT_FLOAT_EQ(settings.getFloat("MusicVolume"), 0.9f);
    EXPECT_EQ(&settings, &SettingsHandler::instance());
}

TEST_F(SettingsSetUpTest, BrokenDeclarationFileThrowsAndCanBeRetried) {
    test::TempFolder bundle;
    bundle.write("Definitions/settings.xml", "<Settings><Setting Key=\"Screen.VSync\"");
    initFileSystem(bundle.path().string());
    try {
        setUpSettings();
        FAIL() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Could not read settings definition Definitions/settings.xml", 0), 0u)
            << error.what();
    }
    EXPECT_FALSE(appState().settingsSetUp);
}

} // namespace
} // namespace zor
