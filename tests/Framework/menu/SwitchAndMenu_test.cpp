// Layout states, their announcements, draw hooks and the menu base.

#include <string>
#include <vector>

#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/menu/AbstractMenu.h"
#include "Framework/menu/ButtonMenuItem.h"
#include "Framework/system/SystemComponents.h"
#include "tests/Framework/menu/MenuFixtures.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::WidgetTree;

// A menu over a test layout that writes down what it announces.
class RecordingMenu : public AbstractMenu {
public:
    RecordingMenu(ISpriteManager& manager, SystemComponents& components, const std::string& layout)
        : AbstractMenu(manager, components, layout, 0) {
        const std::pair<EventList<>*, const char*> lists[] = {
            {&introStarted, "intro started"}, {&introFinished, "intro finished"},
            {&idleStarted, "idle started"},   {&idleFinished, "idle finished"},
            {&outroStarted, "outro started"}, {&outroFinished, "outro finished"}};
        for (const auto& [list, text] : lists) {
            m_connections.push_back(list->connect(this, [text = std::string(text)](RecordingMenu* menu) {
                menu->heard.push_back(text);
            }));
        }
    }
    ~RecordingMenu() override = default;

    std::vector<std::string> heard;

private:
    std::vector<EventConnection> m_connections;
};

class MenuTest : public ::testing::Test {
protected:
    MenuTest() : trees(test::WidgetSet), components(nullptr, nullptr, nullptr, nullptr) {
        test::registerWidgetTypes();
        Screen::initViewports();
        Screen::Viewport& view = Screen::viewports().front();
        view.virtualWidth = 640.0f;
        view.virtualHeight = 360.0f;
        view.visibleArea = {0.0f, 0.0f, 640.0f, 360.0f};
    }

    static void step(AbstractMenu& menu, float seconds, bool fading = false) {
        UpdateRecord record;
        record.stepLength = seconds;
        record.fading = fading;
        menu.update(record);
    }

    test::TestTrees trees;
    SystemComponents components;
};

TEST_F(MenuTest, UninterruptedIntroLeadsToIdleWithTheDocumentedAnnouncements) {
    RecordingMenu menu(trees.manager, components, "screen");
    menu.setState(SwitchMenuItem::Intro);
    EXPECT_EQ(menu.heard, std::vector<std::string>{"intro started"});
    for (int i = 0; i < 2; ++i) step(menu, 0.1f);
    EXPECT_EQ(menu.heard, (std::vector<std::string>{"intro started", "intro finished", "idle started",
                                                      "intro finished"}));
    EXPECT_EQ(menu.root().stateIndex(), SwitchMenuItem::Idle);
    EXPECT_EQ(menu.layoutSprite().currentFrame(), 3u);
}

TEST_F(MenuTest, LayoutWithoutIntroRunsTheSequenceAtOnce) {
    RecordingMenu menu(trees.manager, components, "still");
    menu.setState(SwitchMenuItem::Intro);
    EXPECT_EQ(menu.heard, (std::vector<std::string>{"intro started", "intro finished", "idle started",
                                                      "idle finished", "intro finished"}))
        << "idle has no animation either: it ends as it starts";
}

TEST_F(MenuTest, CloseDuringIntroInterruptsItAndCloseDuringOutroDoesNothing) {
    RecordingMenu menu(trees.manager, components, "screen");
    menu.setState(SwitchMenuItem::Intro);
    step(menu, 0.1f);
    menu.close();
    EXPECT_EQ(menu.heard, (std::vector<std::string>{"intro started", "intro finished", "outro started"}));
    step(menu, 0.1f);
    menu.close();
    EXPECT_EQ(menu.layoutSprite().currentFrame(), 7u) << "the outro was not restarted";
    for (int i = 0; i < 3; ++i) step(menu, 0.1f);
    EXPECT_EQ(menu.heard.back(), "outro finished");
    EXPECT_TRUE(menu.isFinished());
    EXPECT_EQ(std::count(menu.heard.begin(), menu.heard.end(), "idle started"), 0) << "no idle after an interrupted intro";
}

TEST_F(MenuTest, SameStateRestartedCountsAsInterrupted) {
    WidgetTree tree("screen");
    std::vector<std::pair<std::string, bool>> ended;
    EventConnection listening = tree.root->stateEnded.connect(&ended, [](auto* out, const std::string& name, bool interrupted) {
        out->emplace_back(name, interrupted);
    });
    tree.root->setState("outro");
    tree.update(0.1f);
    tree.root->setState("outro");
    ASSERT_EQ(ended.size(), 2u);
    EXPECT_EQ(ended[1], std::make_pair(std::string("outro"), true));
    EXPECT_EQ(tree.context.layoutSprite->currentFrame(), 6u);
}

TEST_F(MenuTest, SpritesStandStillDuringAStateFadeWhileInputStillArrives) {
    RecordingMenu menu(trees.manager, components, "screen");
    menu.setState(SwitchMenuItem::Intro);
    step(menu, 0.1f, true);
    step(menu, 0.1f, true);
    EXPECT_EQ(menu.layoutSprite().currentFrame(), 0u);
    auto& button = *menu.root().findItemOf<ButtonMenuItem>("button_ok");
    InputState input;
    input.pointerPressed({{220.0f, 180.0f}});
    EXPECT_TRUE(menu.handleInput(input));
    EXPECT_TRUE(button.active);
}

TEST_F(MenuTest, InputNoItemTakesReachesTheChildSurfaces) {
    struct Taker : AbstractSurface {
        bool handleInput(InputState&) override { return ++offers, true; }
        int offers = 0;
    };
    RecordingMenu menu(trees.manager, components, "screen");
    auto taker = std::make_unique<Taker>();
    Taker* seen = taker.get();
    menu.addChild(std::move(taker));
    InputState input;
    input.pointerPressed({{5.0f, 5.0f}});
    EXPECT_TRUE(menu.handleInput(input));
    EXPECT_EQ(seen->offers, 1);
}

TEST_F(MenuTest, MenuOutsideTheCurrentViewportDrawsNothing) {
    RecordingMenu menu(trees.manager, components, "screen");
    int hooks = 0;
    menu.root().findItem("button_ok")->drawHooks().push_back({1, [&hooks] { ++hooks; }});
    Screen::viewports().push_back(Screen::viewports().front());
    Screen::setCurrentViewportIndex(1);
    menu.render();  // the components have no batch: a draw would fault
    Screen::setCurrentViewportIndex(0);
    Screen::initViewports();
    EXPECT_EQ(hooks, 0);
}

TEST(SwitchItem, DrawHooksRunByOrderAndEmptyOnesAreSkipped) {
    WidgetTree tree("screen");
    std::vector<int> calls;
    AbstractMenuItem* first = tree.root->findItem("button_ok");
    AbstractMenuItem* last = tree.root->findItem("layout_wide__scale_e");
    first->drawHooks().push_back({1000, [&calls] { calls.push_back(1000); }});
    first->drawHooks().push_back({1000, [&calls] { calls.push_back(1001); }});
    first->drawHooks().push_back({20, {}});
    last->drawHooks().push_back({500, [&calls] { calls.push_back(500); }});
    tree.root->draw();
    EXPECT_EQ(calls, (std::vector<int>{500, 1000, 1001}));
    calls.clear();
    tree.root->draw();
    EXPECT_EQ(calls.size(), 3u) << "the shared list is emptied after each draw";
}

TEST(SwitchItem, FindItemReturnsTheFirstOfEqualNames) {
    const char* set = R"(<SpriteSet><Sprite Name="box">
      <Shape Name="bounds" Type="3" Points="-10;-5 10;-5 10;5 -10;5"><Key/></Shape></Sprite>
      <Sprite Name="screen"><Child Name="layout_a" Sprite="box" Position="-50;0"/>
        <Child Name="layout_a" Sprite="box" Position="50;0"/></Sprite></SpriteSet>)";
    WidgetTree tree("screen", set);
    ASSERT_EQ(tree.root->children().size(), 2u);
    EXPECT_EQ(tree.root->findItem("layout_a"), tree.root->children().front().get());
    EXPECT_EQ(tree.root->findItem("layout_b"), nullptr);
}

} // namespace
} // namespace zor
