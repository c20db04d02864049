// Pointer sequences on buttons and checkboxes, with the frames they show.

#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/menu/ButtonMenuItem.h"
#include "Framework/menu/CheckboxMenuItem.h"
#include "tests/Framework/menu/MenuFixtures.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::PointerStep;
using test::WidgetTree;

// The button spans x -110..-90, y -5..5; the checkbox the same 40 lower.
constexpr fpVector2 Inside{-100.0f, 0.0f};
constexpr fpVector2 Outside{-60.0f, 0.0f};
constexpr fpVector2 JustOutside{-89.0f, 0.0f};  // within a tap's reach of NearEdge
constexpr fpVector2 NearEdge{-95.0f, 0.0f};

struct Sequence {
    const char* name;
    std::vector<PointerStep> steps;
    float stepLength;  // long steps rule taps out
    int clicks;
    const char* frameAfter;
};

const std::vector<Sequence>& sequences() {
    static const std::vector<Sequence> all = {
        {"click inside", {{PointerStep::Press, Inside}, {PointerStep::Release, Inside}}, 0.05f, 1, "idle"},
        {"down inside, release outside",
         {{PointerStep::Press, Inside}, {PointerStep::Move, Outside}, {PointerStep::Release, Outside}}, 0.05f, 0,
         "idle"},
        {"down outside, release inside, no tap",
         {{PointerStep::Press, JustOutside}, {PointerStep::Move, NearEdge}, {PointerStep::Release, NearEdge}}, 0.3f,
         0, "idle"},
        {"down outside, release inside with a tap",
         {{PointerStep::Press, JustOutside}, {PointerStep::Release, NearEdge}}, 0.05f, 1, "idle"},
        {"double click",
         {{PointerStep::Press, Inside}, {PointerStep::Release, Inside}, {PointerStep::Press, Inside},
          {PointerStep::Release, Inside}},
         0.05f, 2, "idle"},
        {"held", {{PointerStep::Press, Inside}, {PointerStep::Move, Outside}}, 0.05f, 0, "active"},
    };
    return all;
}

// Runs the steps through the item's tree; returns the clicks counted.
template <class Item, class Counter>
int run(WidgetTree& tree, Item& item, const Sequence& sequence, Counter connect) {
    int clicks = 0;
    EventConnection counted = connect(item, clicks);
    InputState input;
    for (const PointerStep& step : sequence.steps) {
        test::feed(input, step);
        tree.root->handleInput(input);
        input.update(sequence.stepLength);
    }
    return clicks;
}

std::string frameName(const Sprite& node) {
    for (const auto& [name, range] : node.definition()->animations) {
        if (range.first == node.currentFrame()) return name;
    }
    return "?";
}

TEST(PressableItems, PointerSequencesClickOnlyOnAReleaseInside) {
    for (const Sequence& sequence : sequences()) {
        SCOPED_TRACE(sequence.name);
        WidgetTree tree("screen");
        auto& button = tree.item<ButtonMenuItem>("button_ok");
        const int clicks = run(tree, button, sequence, [](ButtonMenuItem& b, int& n) {
            return b.pressed.connect(&n, [](int* count, ButtonPressEvent* event) {
                ++*count;
                EXPECT_NE(event->button, nullptr);
            });
        });
        EXPECT_EQ(clicks, sequence.clicks);
        EXPECT_EQ(frameName(*button.node()), sequence.frameAfter);
        EXPECT_EQ(button.active, std::string(sequence.frameAfter) == "active");
    }
}

TEST(PressableItems, CheckboxFollowsTheSameSequencesAndFlipsPerClick) {
    const fpVector2 lower{0.0f, 40.0f};
    for (const Sequence& original : sequences()) {
        SCOPED_TRACE(original.name);
        Sequence sequence = original;
        for (PointerStep& step : sequence.steps) step.position += lower;
        WidgetTree tree("screen");
        auto& box = tree.item<CheckboxMenuItem>("checkbox_sound__custom_music");
        EXPECT_EQ(box.customName, "music");
        const int clicks = run(tree, box, sequence, [](CheckboxMenuItem& c, int& n) {
            return c.changed.connect(&n, [](int* count, CheckboxMenuItem*) { ++*count; });
        });
        EXPECT_EQ(clicks, sequence.clicks);
        EXPECT_EQ(box.ticked, sequence.clicks % 2 == 1);
        EXPECT_EQ(frameName(*box.node()), box.ticked ? "active_idle" : "idle") << "holding shows nothing";
    }
}

TEST(PressableItems, HiddenDisabledAndSilentButtons) {
    const Sequence& click = sequences().front();
    const auto counter = [](ButtonMenuItem& b, int& n) {
        return b.pressed.connect(&n, [](int* count, ButtonPressEvent*) { ++*count; });
    };
    {
        WidgetTree tree("screen");
        auto& button = tree.item<ButtonMenuItem>("button_ok");
        button.disabled = true;
        button.updateFrame();
        EXPECT_EQ(run(tree, button, click, counter), 0);
        EXPECT_EQ(frameName(*button.node()), "disabled");
        InputState input;
        input.pointerPressed({Inside});
        EXPECT_FALSE(button.handleInput(input));
    }
    {
        WidgetTree tree("screen");
        auto& button = tree.item<ButtonMenuItem>("button_ok");
        button.setVisible(false, false);
        InputState input;
        input.pointerPressed({Inside});
        EXPECT_FALSE(button.handleInput(input)) << "even when asked directly";
    }
    {
        WidgetTree tree("screen");
        auto& button = tree.item<ButtonMenuItem>("button_ok");
        EXPECT_EQ(button.sound, "menu_ok");
        button.sound.clear();
        EXPECT_EQ(run(tree, button, click, counter), 1) << "no audio handler is needed to click silently";
    }
}

TEST(PressableItems, FramesOfHighlightAndTick) {
    WidgetTree tree("screen");
    auto& button = tree.item<ButtonMenuItem>("button_ok");
    button.highlighted = true;
    button.updateFrame();
    EXPECT_EQ(frameName(*button.node()), "toggled");
    auto& box = tree.item<CheckboxMenuItem>("checkbox_sound__custom_music");
    box.ticked = true;
    box.highlighted = true;
    box.updateFrame();
    EXPECT_EQ(frameName(*box.node()), "active");
    box.highlighted = false;
    box.updateFrame();
    EXPECT_EQ(frameName(*box.node()), "active_idle");
}

} // namespace
} // namespace zor
