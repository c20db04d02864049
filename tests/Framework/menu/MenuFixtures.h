#pragma once
// Layout sprites for the widget tests, held in memory without textures: a root item over
// the layout sprite builds the item tree as a menu would.

#include <memory>
#include <string>

#include "Framework/input/InputState.h"
#include "Framework/menu/GenericSwitchMenuItem.h"
#include "Framework/menu/MenuItemFactoryRegistry.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

namespace zor::test {

// Item kinds: "pressable" shows the item frames, "box" is a 20 x 10 hit area, "ranged" a
// slider with a knob on a range from -50 to +50. "screen" animates intro (frames 0-2),
// idle (3-5) and outro (6-8); "still" has no animations.
inline const char* const WidgetSet = R"(<SpriteSet FramesPerSecond="10">
  <Sprite Name="dot"/>
  <Sprite Name="box">
    <Shape Name="bounds" Type="3" Points="-10;-5 10;-5 10;5 -10;5"><Key/></Shape>
  </Sprite>
  <Sprite Name="pressable">
    <Label Frame="0" Text="idle"/><Label Frame="1" Text="active"/><Label Frame="2" Text="toggled"/>
    <Label Frame="3" Text="disabled"/><Label Frame="4" Text="active_idle"/>
    <Child Name="face" Sprite="dot" Life="0;4"/>
    <Shape Name="bounds" Type="3" Points="-10;-5 10;-5 10;5 -10;5"><Key/></Shape>
  </Sprite>
  <Sprite Name="ranged">
    <Label Frame="0" Text="idle"/><Label Frame="1" Text="active"/><Label Frame="2" Text="toggled"/>
    <Child Name="knob" Sprite="dot" Life="0;2"/>
    <Shape Name="bounds" Type="3" Points="-50;-5 50;-5 50;5 -50;5"><Key/></Shape>
    <Shape Name="range" Type="1" Points="-50;0 50;0"><Key/></Shape>
  </Sprite>
  <Sprite Name="screen" Frames="9">
    <Label Frame="0" Text="intro"/><Label Frame="3" Text="idle"/><Label Frame="6" Text="outro"/>
    <Child Name="button_ok" Sprite="pressable" Position="-100;0" Life="0;8"/>
    <Child Name="checkbox_sound__custom_music" Sprite="pressable" Position="-100;40" Life="0;8"/>
    <Child Name="slider_volume" Sprite="ranged" Position="0;80" Life="0;8"/>
    <Child Name="layout_east__align_e" Sprite="box" Position="200;0" Life="0;8"/>
    <Child Name="layout_west__align_w" Sprite="box" Position="-200;0" Life="0;8"/>
    <Child Name="layout_wide__scale_e" Sprite="box" Position="0;-100" Life="0;8"/>
    <Child Name="deco" Sprite="box" Position="0;-60" Life="0;8"/>
  </Sprite>
  <Sprite Name="still">
    <Child Name="button_ok" Sprite="pressable" Life="0;0"/>
  </Sprite>
</SpriteSet>)";

inline void registerWidgetTypes() { registerMenuItemTypes(); }

// The root of a layout placed with its centre at the origin, as the menu places it at the
// centre of its design rectangle.
class WidgetTree {
public:
    explicit WidgetTree(const std::string& layout, const char* set = WidgetSet, SystemComponents* game = nullptr)
        : trees(set) {
        registerWidgetTypes();
        context.gameContext = game;
        context.spriteManager = &trees.manager;
        context.layoutSprite = trees.make(layout);
        context.layoutSprite->update(0.0f, false);
        root = std::make_shared<GenericSwitchMenuItem>(&context, std::string(), &noParameters);
        root->setRect(Design);
        root->setContentRect(Design);
        update();
    }

    // Design space 640 x 360 centred on the origin.
    static constexpr fpRect Design{-320.0f, -180.0f, 640.0f, 360.0f};

    void update(float step = 0.0f) {
        UpdateRecord record;
        record.stepLength = step;
        context.layoutSprite->update(step, false);
        root->update(record);
        context.layoutSprite->update(0.0f, false);
    }
    template <class Item>
    Item& item(const std::string& name) {
        Item* found = root->findItemOf<Item>(name);
        if (!found) throw std::runtime_error("no item " + name);
        return *found;
    }

    TestTrees trees;
    MenuItemContext context;
    NameParameters noParameters;
    std::shared_ptr<GenericSwitchMenuItem> root;
};

// One update step of pointer input, as the platform adapter reports it.
struct PointerStep {
    enum Kind { Press, Move, Release, Nothing } kind;
    fpVector2 position;
};

inline void feed(InputState& input, const PointerStep& step) {
    const std::vector<fpVector2> at{step.position};
    if (step.kind == PointerStep::Press) input.pointerPressed(at);
    if (step.kind == PointerStep::Move) input.pointerMoved(at);
    if (step.kind == PointerStep::Release) input.pointerReleased(at);
}

} // namespace zor::test
