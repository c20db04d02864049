// Dragging a slider's knob along its range.

#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/menu/ButtonMenuItem.h"
#include "Framework/menu/SliderMenuItem.h"
#include "tests/Framework/menu/MenuFixtures.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::WidgetTree;

// The slider's range runs from x -50 to +50 at y 80.
struct Drag {
    const char* name;
    fpVector2 press;
    fpVector2 to;
    float value;
    int changes;
};

TEST(Slider, DragsAreClampedAndOnlyRealChangesAnnounce) {
    const Drag drags[] = {
        {"to the middle", {-40.0f, 80.0f}, {0.0f, 80.0f}, 0.5f, 1},
        {"past the end", {0.0f, 80.0f}, {400.0f, 80.0f}, 1.0f, 1},
        {"past the start", {0.0f, 80.0f}, {-400.0f, 90.0f}, 0.0f, 0},
        {"press outside never drags", {0.0f, 120.0f}, {50.0f, 80.0f}, 0.0f, 0},
    };
    for (const Drag& drag : drags) {
        SCOPED_TRACE(drag.name);
        WidgetTree tree("screen");
        auto& slider = tree.item<SliderMenuItem>("slider_volume");
        EXPECT_FLOAT_EQ(slider.rangeStart().x, -50.0f);
        int changes = 0;
        EventConnection counted = slider.changed.connect(&changes, [](int* n, SliderMenuItem*) { ++*n; });
        InputState input;
        input.pointerPressed({drag.press});
        tree.root->handleInput(input);
        input.update(0.05f);
        input.pointerMoved({drag.to});
        tree.root->handleInput(input);
        input.update(0.05f);
        input.pointerReleased({drag.to});
        tree.root->handleInput(input);
        EXPECT_FALSE(slider.dragging());
        EXPECT_FLOAT_EQ(slider.value(), drag.value);
        EXPECT_EQ(changes, drag.changes);
    }
}

TEST(Slider, KnobFollowsTheValueAndDraggingLetsInputPass) {
    WidgetTree tree("screen");
    auto& slider = tree.item<SliderMenuItem>("slider_volume");
    slider.setValue(0.75f, true);
    slider.setValue(0.75f, false);
    tree.update();
    const Sprite* knob = slider.node()->findDescendant("knob");
    ASSERT_NE(knob, nullptr);
    EXPECT_FLOAT_EQ(knob->localState().x, 25.0f);

    InputState input;
    input.pointerPressed({{0.0f, 80.0f}});
    EXPECT_TRUE(slider.handleInput(input)) << "the press that starts a drag is taken";
    input.update(0.05f);
    input.pointerMoved({{10.0f, 80.0f}});
    EXPECT_FALSE(slider.handleInput(input)) << "while dragging the input passes on";
    EXPECT_TRUE(slider.dragging());
    tree.update();
    EXPECT_EQ(slider.node()->currentFrame(), 1u) << "active while dragging";
}

} // namespace
} // namespace zor
