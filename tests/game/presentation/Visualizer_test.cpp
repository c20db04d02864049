// The Visualizer without GL: its settings, its drawables, a level's decorations and the
// draw list over a small fixture level.

#include "game/presentation/Visualizer.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/SpriteManagers.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "game/definitions/ActorDefinition.h"
#include "game/definitions/BeamDefinition.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"
#include "game/world/World.h"
#include "game/world/entity/TileDamage.h"
#include "game/world/entity/WorldText.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

namespace zor::presentation {
namespace {

class VisualizerTest : public ::testing::Test {
protected:
    VisualizerTest() {
        initFileSystem("BundlePC");
        if (!SettingsHandler::exists()) m_settings = std::make_unique<SettingsHandler>();
        SettingsHandler::instance().loadDefinitions("Definitions/settings.xml");
        Screen::initViewports();
        Screen::Viewport& viewport = Screen::viewports().front();
        viewport.windowWidth = viewport.width = 1280;
        viewport.windowHeight = viewport.height = 720;
        viewport.virtualWidth = 640.0f;
        viewport.virtualHeight = 360.0f;
        viewport.updateScale();
        Screen::setCurrentViewportIndex(0);

        data = std::make_unique<test::TempGameData>();
        data->writeSpriteSet("Sprites/fixture",
                             R"(<SpriteSet><Sprite Name="crack"/><Sprite Name="npc"/><Sprite Name="end"/></SpriteSet>)");
        data->writeSpriteSet("Sprites/chars-shalebury", R"(<SpriteSet><Sprite Name="quest_sign"/></SpriteSet>)");
        components.spriteManagers->get("Sprites/fixture");
        components.spriteManagers->get("Sprites/chars-shalebury");
        auto stone = std::make_shared<MaterialDefinition>();
        stone->name = "fixture_stone";
        stone->crackSprite = "Sprites/fixture;crack";
        materialRegistry().add(stone->name, stone);

        std::shared_ptr<Texture> page = test::fakeTexture(3, 64, 64);
        decalTextures.add("signpost", page, {0, 0, 32, 16});
        assets.decals = &decalTextures;
        assets.tiles = &tileTextures;
    }
    ~VisualizerTest() override {
        world.removeAllEntities();
        // The declared values again, for the tests after this one.
        data.reset();
        initFileSystem("BundlePC");
        SettingsHandler::instance().loadDefinitions("Definitions/settings.xml");
    }

    // A level of 40 x 20 cells of one stone tile type, with one more layer behind it.
    std::shared_ptr<Level> fixtureLevel() const {
        auto library = std::make_shared<PatchLibraryTables>();
        library->tileTypes.resize(1);
        library->tileTypes[0].material = "fixture_stone";
        auto level = std::make_shared<Level>("fixture");
        TileLayerGrid layer;
        layer.width = 40;
        layer.height = 20;
        layer.tiles.assign(800, 0);
        level->layers.push_back(layer);
        layer.depth = 1.0f;
        level->layers.push_back(layer);
        level->tileMap = std::make_shared<PersistentTileMap>(40, 20, 1);
        level->library = library;
        return level;
    }

    // Starts the level as a build does and steps once with the view's top-left at `topLeft`.
    void startLevel(Visualizer& visualizer, std::shared_ptr<Level> level, fpVector2 topLeft) {
        world.level = std::move(level);
        world.levelStarted.fireNoArgs();
        world.camera.viewSize = {640, 360};
        world.camera.setTopLeft(topLeft);
        visualizer.update(UpdateRecord{1.0f / 60.0f, 0.0, false});
    }

    std::unique_ptr<SettingsHandler> m_settings;
    std::unique_ptr<test::TempGameData> data;
    SystemComponents components{nullptr, nullptr, nullptr, nullptr};
    Randomizer random = Randomizer::fromSeed(5);
    World world{random};
    TextureSet decalTextures;
    TextureSet tileTextures;
    VisualizerAssets assets;
};

TEST_F(VisualizerTest, ReadsItsSettingsAndOnlyItsOwnChanges) {
    Visualizer visualizer(&components, assets, world);
    EXPECT_EQ(visualizer.settings().lightBlendMode, 8) << "the declared \"max\"";
    EXPECT_FLOAT_EQ(visualizer.settings().brightness, 0.5f);
    EXPECT_TRUE(visualizer.settings().bloomEnabled);
    EXPECT_FLOAT_EQ(visualizer.settings().letterboxAspectRatio, 2.35f);
    SettingsHandler& settings = SettingsHandler::instance();
    for (const char* text : {"Max", "max ", "add"}) {
        settings.setValue("Visualizer.LightBlendFunction", std::string(text));
        visualizer.onSettingChanged("Visualizer.LightBlendFunction");
        EXPECT_EQ(visualizer.settings().lightBlendMode, 2) << text;
    }
    settings.setValue("Visualizer.LightBlendFunction", std::string("max"));
    settings.setValue("Visualizer.Brightness", 0.8f);
    visualizer.onSettingChanged("Screen.VSync");
    EXPECT_EQ(visualizer.settings().lightBlendMode, 2) << "another section's change reads nothing";
    visualizer.onSettingChanged("Visualizer.Bloom");
    EXPECT_EQ(visualizer.settings().lightBlendMode, 8) << "any of the six reads all of them";
    EXPECT_FLOAT_EQ(visualizer.settings().brightness, 0.8f);
}

TEST_F(VisualizerTest, TheSceneTargetIsCutToTheGLLimits) {
    struct Case {
        iVector2 window;
        std::int32_t maxTexture, maxRenderbuffer;
        iVector2 expected;
    } cases[] = {
        {{640, 360}, 2048, 2048, {1280, 720}},
        {{1280, 720}, 2048, 2048, {2048, 1440}},  // twice 1280 is more than is guaranteed
        {{1920, 1080}, 8192, 4096, {3840, 2160}},
        {{1920, 1080}, 4096, 2048, {2048, 2048}},
    };
    for (const Case& c : cases) {
        const iVector2 size = sceneTargetSize(c.window, c.maxTexture, c.maxRenderbuffer);
        EXPECT_EQ(size.x, c.expected.x) << c.window.x;
        EXPECT_EQ(size.y, c.expected.y) << c.window.x;
    }
}

TEST_F(VisualizerTest, DrawablesComeAndGoWithTheirEntities) {
    Visualizer visualizer(&components, assets, world);
    world.level = fixtureLevel();
    world.spawnShapeObject({0, 0, 40, 40});
    world.spawnDestination({10, 10});
    PatchExit exit;
    world.spawnExit({0, 0, 40, 40}, exit);
    EXPECT_TRUE(visualizer.gameObjectDrawables().empty());
    EXPECT_TRUE(visualizer.effectDrawables().empty()) << "shapes, destinations and exits show nothing";

    WorldText* text = world.spawnWorldText({5, 5}, "hello");
    TileDamage* damage = world.spawnTileDamage({80, 40});
    EXPECT_EQ(visualizer.worldTextDrawables().size(), 1u);
    ASSERT_EQ(visualizer.tileDamageDrawables().size(), 1u);
    const Sprite& crack = *visualizer.tileDamageDrawables().begin()->second.sprite;
    EXPECT_EQ(crack.localState().x, 100.0f) << "at the cell's centre";
    EXPECT_EQ(crack.localState().y, 60.0f);
    world.removeEntity(text);
    world.removeEntity(damage);
    world.processRemovals();
    EXPECT_TRUE(visualizer.worldTextDrawables().empty());
    EXPECT_TRUE(visualizer.tileDamageDrawables().empty());
}

TEST_F(VisualizerTest, TileDamageIsDrawnWithinTwentyPixelsOfTheView) {
    Visualizer visualizer(&components, assets, world);
    startLevel(visualizer, fixtureLevel(), {200, 100});
    const fpRect view = visualizer.renderCamera().visibleRect;
    ASSERT_EQ(view, fpRect(200, 100, 640, 360));
    // Crack sprites sit at their tile's top-left corner + (20, 20).
    struct Case {
        fpVector2 crackAt;
        bool drawn;
    } cases[] = {
        {{view.x - 20, 200}, true},
        {{view.x - 20.5f, 200}, false},
        {{view.x + view.w + 20, 200}, false},
        {{view.x + view.w + 19, 200}, true},
        {{400, view.y - 20}, true},
        {{400, view.y + view.h + 20}, false},
    };
    for (const Case& c : cases) {
        TileDamage* damage = world.spawnTileDamage({c.crackAt.x - 20, c.crackAt.y - 20});
        visualizer.buildDrawList();
        std::size_t sprites = 0;
        for (const DrawEntry& entry : visualizer.drawEntries()) {
            if (entry.kind != DrawEntry::SpriteKind) continue;
            ++sprites;
            EXPECT_EQ(entry.priority, 200);
        }
        EXPECT_EQ(sprites, c.drawn ? 1u : 0u) << c.crackAt.x << ", " << c.crackAt.y;
        world.removeEntity(damage);
        world.processRemovals();
    }
}

TEST_F(VisualizerTest, DecalsAreLaidOutPerLevelAndOnlyThoseInViewAreListed) {
    Visualizer visualizer(&components, assets, world);
    std::shared_ptr<Level> level = fixtureLevel();
    PatchTransformObject near;
    near.name = "signpost";
    near.transform = fpMatrix4::translation(300, 200, 0);
    PatchTransformObject deep = near;
    deep.transform = fpMatrix4::translation(400, 250, 2);  // d = 2: z = 8 * 40 / 1280 = 0.25
    PatchTransformObject away = near;
    away.transform = fpMatrix4::translation(1400, 600, 0);
    PatchTransformObject unknown = near;
    unknown.name = "nothing";
    level->transformObjects = {near, deep, away, unknown};
    startLevel(visualizer, level, {200, 100});

    ASSERT_EQ(visualizer.decals().size(), 3u) << "an unknown texture makes no decal";
    const Decal& first = visualizer.decals()[0];
    // Corners in view units (1 / 640): (300, 200) to (332, 216).
    EXPECT_FLOAT_EQ(first.quad.vertices[0].x, 300.0f / 640.0f);
    EXPECT_FLOAT_EQ(first.quad.vertices[3].y, 216.0f / 640.0f);
    EXPECT_FLOAT_EQ(first.quad.vertices[3].u, 0.5f);
    EXPECT_EQ(first.bounds, fpRect(300, 200, 32, 16));
    const Decal& second = visualizer.decals()[1];
    EXPECT_FLOAT_EQ(second.quad.vertices[0].z, 0.25f);
    // Grown by 0.55 z of the visible area on each side.
    EXPECT_FLOAT_EQ(second.bounds.x, 400.0f - 640.0f * 0.55f * 0.25f);

    visualizer.buildDrawList();
    const std::vector<DrawEntry>& list = visualizer.drawEntries();
    ASSERT_EQ(list.size(), 4u) << "two layers and the two decals in view";
    // Farther first: the deep decal (z 0.25), the back layer (z 1 * 40 / 1280), then at z 0
    // the main layer, whose priority -1000 puts it before the near decal.
    EXPECT_EQ(list[0].object, &second);
    EXPECT_EQ(list[1].kind, DrawEntry::TileLayer);
    EXPECT_EQ(&list[1].asLayer(), &world.level->layers[1]);
    EXPECT_EQ(&list[2].asLayer(), &world.level->layers[0]);
    EXPECT_EQ(list[2].priority, -1000);
    EXPECT_EQ(list[3].object, &first);
}

TEST_F(VisualizerTest, AWiderViewRebuildsTheLevelLayersOnTheNextStep) {
    Visualizer visualizer(&components, assets, world);
    std::shared_ptr<Level> level = fixtureLevel();
    PatchTransformObject decal;
    decal.name = "signpost";
    decal.transform = fpMatrix4::translation(320, 0, 0);
    level->transformObjects = {decal};
    startLevel(visualizer, level, {0, 0});
    EXPECT_FLOAT_EQ(visualizer.decals()[0].quad.vertices[0].x, 0.5f);
    EXPECT_GT(visualizer.updateCount(), 0);

    Screen::Viewport& viewport = Screen::viewports().front();
    viewport.virtualWidth = 1280.0f;
    viewport.virtualHeight = 720.0f;
    viewport.updateScale();
    visualizer.update(UpdateRecord{1.0f / 60.0f, 0.0, false});
    EXPECT_FLOAT_EQ(visualizer.viewUnit(), 1.0f / 1280.0f);
    EXPECT_FLOAT_EQ(visualizer.decals()[0].quad.vertices[0].x, 0.25f);
    EXPECT_EQ(visualizer.updateCount(), 2) << "counted from the rebuild";
}

TEST_F(VisualizerTest, TheQuestSignFollowsTheMarkedNpcAndABeamsEndSpriteShowsWhileVisible) {
    auto quest = std::make_shared<QuestDefinition>();
    quest->markerKind = QuestMarkerKind::Npc;
    quest->markerLevel = "fixture";
    quest->markerTarget = "fixture_miner";
    questRegistry().add("fixture_quest", quest);
    world.progress.questIndex = questRegistry().indexOf("fixture_quest");
    Visualizer visualizer(&components, assets, world);
    startLevel(visualizer, fixtureLevel(), {0, 0});

    const auto actorNamed = [&](const std::string& name, std::uint32_t group) {
        auto definition = std::make_shared<ActorDefinition>();
        definition->name = name;
        definition->sprite = "Sprites/fixture;npc";
        definition->collisionGroup = group;
        definition->renderPriority = 1000;
        definition->forceUpdateVisualization = true;
        auto* actor = new ActorObject(definition);
        actor->setPosition({120, 80});
        world.registerEntity(actor);
        return actor;
    };
    actorNamed("fixture_miner", 0x0001);   // the name without the NPC group
    actorNamed("fixture_smith", 0x4000);   // an NPC the quest does not mark
    actorNamed("fixture_miner", 0x4000);   // the marked NPC
    auto beamDefinition = std::make_shared<BeamDefinition>();
    beamDefinition->type = BeamType::Laser;
    beamDefinition->renderPriority = 1800;
    beamDefinition->endSprite = "Sprites/fixture;end";
    world.registerEntity(new Beam(*beamDefinition));
    visualizer.update(UpdateRecord{1.0f / 60.0f, 0.0, false});

    const auto listed = [&] {
        visualizer.buildDrawList();
        std::vector<std::pair<DrawEntry::Kind, std::int32_t>> kinds;
        for (const DrawEntry& entry : visualizer.drawEntries())
            if (entry.kind != DrawEntry::TileLayer) kinds.emplace_back(entry.kind, entry.priority);
        return kinds;
    };
    using Kinds = std::vector<std::pair<DrawEntry::Kind, std::int32_t>>;
    const Kinds hiddenEnd = {{DrawEntry::SpriteKind, 1000}, {DrawEntry::SpriteKind, 1000},
                             {DrawEntry::SpriteKind, 1000}, {DrawEntry::SpriteKind, 1000},
                             {DrawEntry::BeamKind, 1800}};
    EXPECT_EQ(listed(), hiddenEnd) << "three actors and one sign; the end sprite at alpha 0 is left out";
    // The sign stands at the marked NPC. (Where it goes among the actors depends on the
    // order of the two sheets.)
    const Sprite* sign = nullptr;
    for (const DrawEntry& entry : visualizer.drawEntries())
        if (entry.kind == DrawEntry::SpriteKind && entry.asSprite().definition()->name == "quest_sign")
            sign = &entry.asSprite();
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(sign->localState().x, 120.0f);
    EXPECT_EQ(sign->localState().y, 80.0f);

    visualizer.beamDrawables().begin()->second.endSprite->setAlpha(0.5f);
    Kinds shownEnd = hiddenEnd;
    shownEnd.emplace_back(DrawEntry::SpriteKind, 1801);
    EXPECT_EQ(listed(), shownEnd) << "the end sprite after its beam, at priority + 1";

    world.progress.questIndex = questRegistry().indexOf("fixture_quest") + 1;
    EXPECT_EQ(listed().size(), shownEnd.size() - 1) << "another quest: no sign";
}

} // namespace
} // namespace zor::presentation
