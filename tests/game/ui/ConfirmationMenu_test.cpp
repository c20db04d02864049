// The yes-or-no question on the game's own "message_confirm" layout.

#include <memory>
#include <string>
#include <vector>

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/SpriteManager.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/input/InputState.h"
#include "Framework/input/KeyNames.h"
#include "Framework/menu/ButtonMenuItem.h"
#include "Framework/menu/MenuItemFactoryRegistry.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "game/ui/ConfirmationMenu.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

class ConfirmationMenuTest : public ::testing::Test {
protected:
    ConfirmationMenuTest() {
        initFileSystem("BundlePC");
        manager = std::make_unique<SpriteManager>("Sprites/ui");
        registerMenuItemTypes();
        Screen::initViewports();
        Screen::Viewport& view = Screen::viewports().front();
        view.virtualWidth = 640.0f;
        view.virtualHeight = 360.0f;
        view.visibleArea = {0.0f, 0.0f, 640.0f, 360.0f};
        for (const char* name : {"menu_accept:Key.Return", "menu_cancel:Key.Escape", "menu_left:Key.Left",
                                 "menu_right:Key.Right"}) {
            const std::string binding(name);
            input.bind(binding.substr(0, binding.find(':')), binding.substr(binding.find(':') + 1));
        }
    }
    ~ConfirmationMenuTest() override {
        manager.reset();
        Texture::purgeCache();
    }

    std::unique_ptr<ConfirmationMenu> make(bool defaultYes) {
        auto menu = std::make_unique<ConfirmationMenu>(*manager, components, defaultYes);
        connections.push_back(menu->yesEvent.connect(&answers, [](auto* out) { out->push_back("yes"); }));
        connections.push_back(menu->noEvent.connect(&answers, [](auto* out) { out->push_back("no"); }));
        return menu;
    }
    // Presses the key for one step.
    bool press(ConfirmationMenu& menu, const char* key) {
        input.setKeyPressed(*findKeyCode(key), true);
        const bool taken = menu.handleInput(input);
        input.setKeyPressed(*findKeyCode(key), false);
        input.update(0.0f);
        return taken;
    }
    void run(ConfirmationMenu& menu, float seconds) {
        UpdateRecord record;
        record.stepLength = 1.0f / 30.0f;
        for (float t = 0.0f; t < seconds; t += record.stepLength) menu.update(record);
    }
    void click(ConfirmationMenu& menu, const char* button) {
        const fpRect bounds = menu.root().findItem(button)->getHitBounds();
        const fpVector2 centre{bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
        input.pointerPressed({centre});
        menu.handleInput(input);
        input.update(0.05f);
        input.pointerReleased({centre});
        menu.handleInput(input);
        input.update(0.05f);
    }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    std::unique_ptr<SpriteManager> manager;
    SystemComponents components{nullptr, nullptr, nullptr, nullptr};
    InputState input;
    std::vector<std::string> answers;
    std::vector<EventConnection> connections;
};

TEST_F(ConfirmationMenuTest, DefaultsHighlightTheirButtonAndAcceptAnswersWithIt) {
    for (const bool defaultYes : {true, false}) {
        SCOPED_TRACE(defaultYes);
        answers.clear();
        auto menu = make(defaultYes);
        auto* yes = menu->root().findItemOf<ButtonMenuItem>("button_yes");
        auto* no = menu->root().findItemOf<ButtonMenuItem>("button_no");
        EXPECT_EQ(yes->highlighted, defaultYes);
        EXPECT_EQ(no->highlighted, !defaultYes);
        run(*menu, 0.5f);
        EXPECT_TRUE(press(*menu, "Key.Return"));
        EXPECT_TRUE(answers.empty()) << "the answer waits for the outro";
        run(*menu, 0.5f);
        EXPECT_EQ(answers, std::vector<std::string>{defaultYes ? "yes" : "no"});
        EXPECT_TRUE(menu->isFinished());
    }
}

TEST_F(ConfirmationMenuTest, LeftAndRightMoveTheHighlightAndAlwaysTakeTheInput) {
    auto menu = make(true);
    EXPECT_TRUE(press(*menu, "Key.Left")) << "also when nothing changes";
    EXPECT_EQ(menu->selected(), 0);
    EXPECT_TRUE(press(*menu, "Key.Right"));
    EXPECT_EQ(menu->selected(), 1);
    EXPECT_TRUE(menu->root().findItemOf<ButtonMenuItem>("button_no")->highlighted);
    EXPECT_FALSE(menu->root().findItemOf<ButtonMenuItem>("button_yes")->highlighted);
    EXPECT_EQ(menu->root().stateIndex(), SwitchMenuItem::Intro) << "no answer started";
}

TEST_F(ConfirmationMenuTest, CancelAnswersNoWhateverIsHighlighted) {
    auto menu = make(true);
    EXPECT_TRUE(press(*menu, "Key.Escape"));
    run(*menu, 0.5f);
    EXPECT_EQ(answers, std::vector<std::string>{"no"});
}

TEST_F(ConfirmationMenuTest, YesClickAnswersAtOnceAndNoClickAfterTheOutro) {
    {
        auto menu = make(false);
        run(*menu, 0.5f);
        click(*menu, "button_yes");
        EXPECT_EQ(answers, std::vector<std::string>{"yes"});
        EXPECT_EQ(menu->root().stateIndex(), SwitchMenuItem::Idle) << "no outro";
    }
    answers.clear();
    {
        auto menu = make(true);
        run(*menu, 0.5f);
        click(*menu, "button_no");
        EXPECT_TRUE(answers.empty());
        EXPECT_EQ(menu->root().stateIndex(), SwitchMenuItem::Outro);
        run(*menu, 0.5f);
        EXPECT_EQ(answers, std::vector<std::string>{"no"});
    }
}

TEST_F(ConfirmationMenuTest, SecondAcceptDuringTheOutroTakesTheNewAnswer) {
    auto menu = make(true);
    run(*menu, 0.5f);
    press(*menu, "Key.Return");
    run(*menu, 0.1f);
    press(*menu, "Key.Right");
    press(*menu, "Key.Return");
    run(*menu, 0.5f);
    EXPECT_EQ(answers, std::vector<std::string>{"no"}) << "one answer, from the second press";
}

TEST_F(ConfirmationMenuTest, QuestionGoesToTheLabel) {
    auto menu = make(true);
    menu->setQuestion("Really?");
    EXPECT_NE(menu->root().findItem("label_question"), nullptr);
}

TEST(ConfirmationMenuLayout, MissingButtonIsNamedAtConstruction) {
    registerMenuItemTypes();
    Screen::initViewports();
    test::TestTrees trees(R"(<SpriteSet><Sprite Name="box">
      <Shape Name="bounds" Type="3" Points="-10;-5 10;-5 10;5 -10;5"><Key/></Shape></Sprite>
      <Sprite Name="message_confirm"><Child Name="button_yes" Sprite="box"/></Sprite></SpriteSet>)");
    SystemComponents components(nullptr, nullptr, nullptr, nullptr);
    try {
        ConfirmationMenu menu(trees.manager, components, true);
        FAIL() << "built without a no button";
    } catch (const CheckReleaseError& error) {
        EXPECT_NE(std::string(error.what()).find("'message_confirm'"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("'button_no'"), std::string::npos) << error.what();
    }
}

} // namespace
} // namespace zor
