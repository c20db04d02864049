// A menu of 200 buttons updated once per 60 Hz step with the pointer moving over it, as a
// screen's update runs, against advancing its bare layout sprite tree (the two sprite
// updates of a menu step without any item): the difference is the widgets' own cost.
#include "Framework/input/InputState.h"
#include "Framework/menu/GenericSwitchMenuItem.h"
#include "Framework/menu/MenuItemFactoryRegistry.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kItems = 200;
constexpr float kStep = 1.0f / 60.0f;

// 20 columns of 10 buttons, each with the item frames and a hit area.
std::string layoutXml() {
    std::string xml = R"(<SpriteSet FramesPerSecond="30"><Sprite Name="dot"/>
      <Sprite Name="pressable"><Label Frame="0" Text="idle"/><Label Frame="1" Text="active"/>
        <Label Frame="2" Text="toggled"/><Child Name="face" Sprite="dot" Life="0;2"/>
        <Shape Name="bounds" Type="3" Points="-14;-8 14;-8 14;8 -14;8"><Key/></Shape></Sprite>
      <Sprite Name="screen" Frames="30"><Label Frame="0" Text="idle"/>)";
    for (int i = 0; i < kItems; ++i) {
        const int column = i % 20, row = i / 20;
        xml += "<Child Name=\"button_" + std::to_string(i) + "__align_e\" Sprite=\"pressable\" Position=\"" +
               std::to_string(column * 30 - 300) + ";" + std::to_string(row * 20 - 100) + "\" Life=\"0;29\"/>";
    }
    return xml + "</Sprite></SpriteSet>";
}

struct MenuScene {
    MenuScene() : trees(layoutXml()) {
        zor::registerMenuItemTypes();
        context.spriteManager = &trees.manager;
        context.layoutSprite = trees.make("screen");
        context.layoutSprite->update(0.0f, false);
        root = std::make_unique<zor::GenericSwitchMenuItem>(&context, std::string(), &none);
        root->setRect({-320.0f, -180.0f, 640.0f, 360.0f});
        root->setContentRect({-320.0f, -180.0f, 640.0f, 360.0f});
        root->setState("idle");
        context.layoutSprite->play();
    }

    zor::test::TestTrees trees;
    zor::MenuItemContext context;
    zor::NameParameters none;
    std::unique_ptr<zor::GenericSwitchMenuItem> root;
};

void BM_MenuUpdate(benchmark::State& state) {
    MenuScene scene;
    zor::InputState input;
    zor::UpdateRecord record;
    record.stepLength = kStep;
    float x = -300.0f;
    for (auto _ : state) {
        x = x > 300.0f ? -300.0f : x + 3.0f;
        input.pointerMoved({{x, 0.0f}});
        scene.root->handleInput(input);
        scene.context.layoutSprite->update(kStep, false);
        scene.root->update(record);
        scene.context.layoutSprite->update(0.0f, false);
        input.update(kStep);
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_MenuUpdate);

void BM_BareLayoutTree(benchmark::State& state) {
    MenuScene scene;
    for (auto _ : state) {
        scene.context.layoutSprite->update(kStep, false);
        scene.context.layoutSprite->update(0.0f, false);
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_BareLayoutTree);

} // namespace
