// Item binding, name parameters, the layout rule, hit areas and input routing.

#include "Framework/core/memory/Polygon.h"
#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/menu/ButtonMenuItem.h"
#include "Framework/menu/LabelMenuItem.h"
#include "tests/support/common/LogCapture.h"
#include "Framework/menu/LayoutMenuItem.h"
#include "tests/Framework/menu/MenuFixtures.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::WidgetTree;

std::string parametersSet(const std::string& nodeName) {
    // A one-node layout whose node carries the parameters under test.
    return std::string(R"(<SpriteSet><Sprite Name="box">
      <Shape Name="bounds" Type="3" Points="-10;-5 10;-5 10;5 -10;5"><Key/></Shape></Sprite>
      <Sprite Name="screen"><Child Name=")") + nodeName + R"(" Sprite="box"/></Sprite></SpriteSet>)";
}

TEST(MenuItem, NameParametersSetAnchorAndLayoutFlags) {
    struct Case {
        const char* node;
        int anchor;
        unsigned flags;
    } const cases[] = {
        {"layout_a__resize_all", 0, 1 | 2 | 4 | 8},
        {"layout_a__resize_ne", 0, 1 | 8},
        {"layout_a__scale_sw", 0, 32 | 64},
        {"layout_a__uniform", 0, 256},
        {"layout_a__align_n", 1, 0},
        {"layout_a__align_nw", 8, 0},
        {"layout_a__align_w__scale_all__resize_s", 7, 16 | 32 | 64 | 128 | 2},
        {"layout_a", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node);
        const std::string set = parametersSet(c.node);
        WidgetTree tree("screen", set.c_str());
        const AbstractMenuItem& item = tree.item<LayoutMenuItem>(c.node);
        EXPECT_EQ(item.anchor(), c.anchor);
        EXPECT_EQ(item.layoutFlags(), c.flags);
    }
}

TEST(MenuItem, TreeHoldsRegisteredTypesOnlyWithWholeNodeNames) {
    WidgetTree tree("screen");
    EXPECT_EQ(tree.root->children().size(), 6u) << "deco has no registered type";
    EXPECT_EQ(tree.root->findItem("deco"), nullptr);
    AbstractMenuItem* checkbox = tree.root->findItem("checkbox_sound__custom_music");
    ASSERT_NE(checkbox, nullptr);
    EXPECT_TRUE(checkbox->hasNameParameter("custom_music"));
    EXPECT_EQ(tree.root->findChild("knob", true), nullptr) << "nodes without a type make no items";
    EXPECT_EQ(tree.root->findChild("slider_volume", false), tree.root->findItem("slider_volume"));
}

TEST(MenuItem, WideningTheVisibleAreaMovesAnchoredAndStretchesScaledItems) {
    WidgetTree tree("screen");
    AbstractMenuItem& east = tree.item<LayoutMenuItem>("layout_east__align_e");
    AbstractMenuItem& west = tree.item<LayoutMenuItem>("layout_west__align_w");
    AbstractMenuItem& wide = tree.item<LayoutMenuItem>("layout_wide__scale_e");
    const fpRect eastBefore = east.getHitBounds();
    const fpRect westBefore = west.getHitBounds();
    const fpRect wideBefore = wide.getHitBounds();

    fpRect wider = WidgetTree::Design;
    wider.w += 100.0f;
    tree.root->setContentRect(wider);
    tree.update();

    EXPECT_FLOAT_EQ(east.getHitBounds().x, eastBefore.x + 100.0f);
    EXPECT_FLOAT_EQ(east.getHitBounds().w, eastBefore.w);
    EXPECT_FLOAT_EQ(west.getHitBounds().x, westBefore.x);
    EXPECT_FLOAT_EQ(wide.getHitBounds().w, wideBefore.w + 100.0f);
    EXPECT_FLOAT_EQ(wide.node()->localState().x, 0.0f) << "scaled about its design position";
}

TEST(MenuItem, LayoutRunsOnlyWhenTheParentContentChanged) {
    WidgetTree tree("screen");
    AbstractMenuItem& east = tree.item<LayoutMenuItem>("layout_east__align_e");
    // Moved by hand: a layout would put it back at its design position.
    east.node()->setPosition(150.0f, 0.0f);
    tree.update();
    EXPECT_FLOAT_EQ(east.node()->localState().x, 150.0f);
    fpRect moved = WidgetTree::Design;
    moved.w += 0.000001f;
    tree.root->setContentRect(moved);
    tree.update();
    EXPECT_FLOAT_EQ(east.node()->localState().x, 150.0f) << "within the tolerance";
    moved.w += 1.0f;
    tree.root->setContentRect(moved);
    tree.update();
    EXPECT_FLOAT_EQ(east.node()->localState().x, 201.0f);
}

TEST(MenuItem, HitAreaIsRebuiltOnlyBeyondATenThousandthOfMovement) {
    const std::string set = parametersSet("layout_a");
    WidgetTree tree("screen", set.c_str());
    AbstractMenuItem& item = tree.item<LayoutMenuItem>("layout_a");
    ASSERT_NE(item.hitArea(), nullptr);
    const fpVector2 first = item.hitArea()->vertices.front();
    const Polygon* polygon = item.hitArea().get();

    item.node()->setPosition(0.00005f, 0.00005f);
    tree.update();
    EXPECT_EQ(item.hitArea()->vertices.front().x, first.x) << "a move of 0.0001 in sum keeps it";

    item.node()->setPosition(0.001f, 0.0f);
    tree.update();
    EXPECT_FLOAT_EQ(item.hitArea()->vertices.front().x, first.x + 0.001f);
    EXPECT_EQ(item.hitArea().get(), polygon) << "the polygon is refreshed in place";
}

TEST(MenuItem, HiddenChildGetsNoInputAndItsNodeHides) {
    WidgetTree tree("screen");
    auto& button = tree.item<ButtonMenuItem>("button_ok");
    int clicks = 0;
    EventConnection counted = button.pressed.connect(&clicks, [](int* n, ButtonPressEvent*) { ++*n; });
    const fpVector2 centre{-100.0f, 0.0f};
    const auto click = [&] {
        InputState input;
        input.pointerPressed({centre});
        bool taken = tree.root->handleInput(input);
        input.update(0.05f);
        input.pointerReleased({centre});
        taken = tree.root->handleInput(input) && taken;
        return taken;
    };
    button.setVisible(false, true);
    EXPECT_FALSE(button.node()->enabled());
    EXPECT_FALSE(click());
    EXPECT_EQ(clicks, 0);
    button.setVisible(false, true);
    EXPECT_FALSE(button.visible());
    button.setVisible(true, false);
    EXPECT_TRUE(button.node()->enabled());
    EXPECT_TRUE(click());
    EXPECT_EQ(clicks, 1);
}

TEST(MenuItem, LabelWithAFontTheSetLacksShowsNothingAndWarnsOnce) {
    test::LogCapture log;
    const std::string set = parametersSet("label_title__nofont__n");
    WidgetTree tree("screen", set.c_str());
    auto& label = tree.item<LabelMenuItem>("label_title__nofont__n");
    EXPECT_EQ(label.font(), nullptr);
    label.setText("shown nowhere");
    EXPECT_EQ(label.textMesh(), nullptr);
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings[0].find("'screen'"), std::string::npos) << log.warnings[0];
    EXPECT_NE(log.warnings[0].find("'nofont'"), std::string::npos) << log.warnings[0];
    EXPECT_TRUE(log.errors.empty());
    ASSERT_EQ(label.drawHooks().size(), 1u);
    EXPECT_EQ(label.drawHooks()[0].order, 1000);
}

TEST(Polygon, ThreePointsHaveTwoNormalsAndTwoEdgesOfPerimeter) {
    const Polygon polygon({{0.0f, 0.0f}, {3.0f, 0.0f}, {3.0f, 4.0f}});
    ASSERT_EQ(polygon.normals.size(), 2u);
    EXPECT_FLOAT_EQ(polygon.normals[0].x, 0.0f);
    EXPECT_FLOAT_EQ(polygon.normals[0].y, 1.0f);
    EXPECT_FLOAT_EQ(polygon.normals[1].x, -1.0f);
    EXPECT_FLOAT_EQ(polygon.normals[1].y, 0.0f);
    EXPECT_FLOAT_EQ(polygon.perimeter, 7.0f) << "no closing edge";
    EXPECT_EQ(polygon.localBounds, fpRect(0.0f, 0.0f, 3.0f, 4.0f));

    Polygon placed({{0.0f, 0.0f}, {2.0f, 1.0f}});
    placed.position = {10.0f, 20.0f};
    placed.scale = {2.0f, 3.0f};
    EXPECT_EQ(placed.worldBounds(), fpRect(10.0f, 20.0f, 4.0f, 3.0f));
    EXPECT_EQ(Polygon({{1.0f, 1.0f}}).normals.size(), 0u);
    EXPECT_EQ(Polygon({{1.0f, 1.0f}, {1.0f, 1.0f}}).normals[0], fpVector2(0.0f, 0.0f)) << "a zero edge";
}

} // namespace
} // namespace zor
