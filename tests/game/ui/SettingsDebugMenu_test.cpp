#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/input/InputState.h"
#include "Framework/input/KeyNames.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "game/ui/SettingsDebugMenu.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

class SettingsDebugMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        initFileSystem("BundlePC");
        new SettingsHandler();
        SettingsHandler& settings = SettingsHandler::instance();
        settings.declare("Sound.Echo", "Seconds of echo in caves.", 0.5f, SettingPermanent, SettingPublic);
        settings.declare("Lamp.Wicks", "Wicks a lamp holds.", std::int32_t(3), SettingPersistent, SettingInternal);
        settings.declare("Miner.Name", "What the town calls you.", std::string("Ash"), SettingPersistent,
                         SettingPublic);
        for (const char* name : {"menu_up", "menu_down", "menu_left", "menu_right", "menu_accept", "menu_cancel"}) {
            const std::string key = std::string("Key.") + keyOf(name);
            input.bind(name, key);
        }
    }
    void TearDown() override {
        delete SettingsHandler::instancePointer();
        initFileSystem("BundlePC");
    }

    static const char* keyOf(const std::string& button) {
        if (button == "menu_up") return "Up";
        if (button == "menu_down") return "Down";
        if (button == "menu_left") return "Left";
        if (button == "menu_right") return "Right";
        if (button == "menu_accept") return "Return";
        return "Escape";
    }
    // One step in which the button was pressed; whether the menu took it.
    bool press(SettingsDebugMenu& menu, const std::string& button) {
        const KeyCode code = *findKeyCode(std::string("Key.") + keyOf(button));
        input.setKeyPressed(code, true);
        const bool taken = menu.handleInput(input);
        input.update(1.0f / 60.0f);
        input.setKeyReleased(code, true);
        input.update(1.0f / 60.0f);
        return taken;
    }
    std::string head(const SettingsDebugMenu& menu) const { return menu.pageLines().front(); }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    SystemComponents components{nullptr, nullptr, nullptr, nullptr};
    InputState input;
};

TEST_F(SettingsDebugMenuTest, PagesThroughTheSettingsByKeyFromTheRememberedPage) {
    SettingsDebugMenu menu(components, 9);
    EXPECT_EQ(menu.pagePosition(), 2) << "kept within the settings";
    EXPECT_EQ(menu.pageLines(),
              std::vector<std::string>({"Settings 3/3: Sound.Echo = 0.5 (public)", "Seconds of echo in caves.",
                                        "up/down: page   left/right: change   accept: save   cancel: close"}));
    EXPECT_TRUE(press(menu, "menu_down"));
    EXPECT_EQ(head(menu), "Settings 1/3: Lamp.Wicks = 3") << "past the last page comes the first";
    EXPECT_TRUE(press(menu, "menu_up"));
    EXPECT_TRUE(press(menu, "menu_up"));
    EXPECT_EQ(head(menu), "Settings 2/3: Miner.Name = Ash (public)");
    EXPECT_EQ(menu.pagePosition(), 1);
}

TEST_F(SettingsDebugMenuTest, StepsNumbersThroughTheSettingsAndSavesOnAccept) {
    SettingsHandler& settings = SettingsHandler::instance();
    std::vector<std::string> changed;
    EventConnection watch = settings.settingsChanged().connect(
        &changed, [](std::vector<std::string>* keys, const std::string& key, const OptionalSettingValue&,
                     const SettingsHandler::Setting&) { keys->push_back(key); });
    SettingsDebugMenu menu(components, 0);
    EXPECT_TRUE(press(menu, "menu_right"));
    EXPECT_TRUE(press(menu, "menu_right"));
    EXPECT_EQ(settings.getInt("Lamp.Wicks"), 5);
    EXPECT_TRUE(press(menu, "menu_down"));
    EXPECT_TRUE(press(menu, "menu_right")) << "a text takes the button but does not change";
    EXPECT_EQ(settings.getString("Miner.Name"), "Ash");
    EXPECT_TRUE(press(menu, "menu_down"));
    EXPECT_TRUE(press(menu, "menu_left"));
    EXPECT_NEAR(settings.getFloat("Sound.Echo"), 0.4f, 1e-6f);
    EXPECT_EQ(changed, std::vector<std::string>({"Lamp.Wicks", "Lamp.Wicks", "Sound.Echo"}));

    EXPECT_FALSE(std::filesystem::exists(user / "settings.xml"));
    EXPECT_TRUE(press(menu, "menu_accept"));
    const std::string saved = user.read("settings.xml");
    EXPECT_NE(saved.find("Key=\"Lamp.Wicks\" Value=\"5\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("Key=\"Sound.Echo\""), std::string::npos) << saved;
}

TEST_F(SettingsDebugMenuTest, CancelAnnouncesTheCloseAndOtherInputPassesOn) {
    SettingsDebugMenu menu(components, 0);
    int closes = 0;
    EventConnection watch = menu.closed.connect(&closes, [](int* count) { ++*count; });
    input.bind("jump", "Key.Space");
    const KeyCode space = *findKeyCode("Key.Space");
    input.setKeyPressed(space, true);
    EXPECT_FALSE(menu.handleInput(input));
    input.update(1.0f / 60.0f);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(press(menu, "menu_cancel"));
    EXPECT_EQ(closes, 1);
}

TEST_F(SettingsDebugMenuTest, ShowsItsPageOnScreenUntilItIsGone) {
    new DebugDraw();
    DebugDraw::Layer& layer = DebugDraw::instance().screenLayer;
    {
        SettingsDebugMenu menu(components, 0);
        menu.update(UpdateRecord());
        ASSERT_EQ(layer.logs.size(), 1u);
        ASSERT_EQ(layer.logs[0]->entries.size(), 3u);
        EXPECT_EQ(layer.logs[0]->entries[0]->text, "Settings 1/3: Lamp.Wicks = 3");
        menu.update(UpdateRecord());
        EXPECT_EQ(layer.logs[0]->entries.size(), 3u) << "unchanged pages are not added again";
        press(menu, "menu_down");
        menu.update(UpdateRecord());
        DebugDraw::instance().advance(0.0f);
        ASSERT_EQ(layer.logs.size(), 1u);
        ASSERT_EQ(layer.logs[0]->entries.size(), 3u) << "the old page is gone after one frame";
        EXPECT_EQ(layer.logs[0]->entries[0]->text, "Settings 2/3: Miner.Name = Ash (public)");
    }
    DebugDraw::instance().advance(0.0f);
    EXPECT_TRUE(layer.logs.empty());
    delete DebugDraw::instancePointer();
}

} // namespace
} // namespace zor
