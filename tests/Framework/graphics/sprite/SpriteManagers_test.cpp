#include "Framework/graphics/sprite/SpriteManagers.h"

#include "Framework/core/Errors.h"
#include "Framework/graphics/sprite/ISpriteManager.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace zor {
namespace {

class SpriteManagersTest : public ::testing::Test {
protected:
    SpriteManagersTest() {
        data.writeSpriteSet("Sprites/ui", R"(<SpriteSet FramesPerSecond="25"><Image File="knob.png"/>
            <Sprite Name="knob" Texture="knob"/><Sprite Name="panel"><Child Name="k" Sprite="knob"/></Sprite>
          </SpriteSet>)",
                            {{"knob.png", test::solidImage(3, 3, 9, 9, 9)}});
        data.writeSpriteSet("Sprites/solo", R"(<SpriteSet><Sprite Name="Sprites/solo"/></SpriteSet>)");
    }

    test::TempGameData data;
    SpriteManagers registry;
};

TEST_F(SpriteManagersTest, GetLoadsOnceAndReleaseForgets) {
    EXPECT_EQ(registry.find("Sprites/ui"), nullptr);
    ISpriteManager* ui = registry.get("Sprites/ui");
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(registry.get("Sprites/ui"), ui);
    EXPECT_EQ(registry.find("Sprites/ui"), ui);
    EXPECT_EQ(ui->framesPerSecond(), 25.0f);
    TextureSetReference knob;
    EXPECT_TRUE(ui->findTexture("knob", knob));

    SpritePtr panel = ui->createSprite("panel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->manager(), ui);
    EXPECT_FLOAT_EQ(panel->frameTime(), 0.04f);
    EXPECT_EQ(panel->child(0).image().texture, knob.texture);
    EXPECT_EQ(ui->createSprite("absent"), nullptr);
    panel.reset();

    registry.release("Sprites/elsewhere");
    EXPECT_EQ(registry.find("Sprites/ui"), ui);
    registry.release("Sprites/ui");
    EXPECT_EQ(registry.find("Sprites/ui"), nullptr);
}

TEST_F(SpriteManagersTest, AFailedLoadThrowsAndRegistersNothing) {
    try {
        registry.get("Sprites/none");
        ADD_FAILURE() << "loaded";
    } catch (const CheckReleaseError& error) {
        EXPECT_STREQ(error.what(), "File not found: Sprites/none");
    }
    EXPECT_EQ(registry.find("Sprites/none"), nullptr);
}

TEST_F(SpriteManagersTest, RacingLoadsOfOneFolderShareTheStoredManager) {
    constexpr int threadCount = 8;
    ISpriteManager* results[threadCount] = {};
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < threadCount; ++i) {
        threads.emplace_back([&, i] {
            ++ready;
            while (ready < threadCount) std::this_thread::yield();
            results[i] = registry.get("Sprites/ui");
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (ISpriteManager* result : results) EXPECT_EQ(result, registry.find("Sprites/ui"));
    EXPECT_NE(results[0], nullptr);
}

struct ReferenceCase {
    const char* reference;
    bool loadOnDemand;
    bool registered;
    const char* made;  // the root's name, or null for no sprite
};

TEST_F(SpriteManagersTest, ReferencesNameASetAndASprite) {
    const ReferenceCase cases[] = {
        {"Sprites/ui;panel", false, true, "panel"},
        {"Sprites/ui;panel", false, false, nullptr},  // not loaded while load on demand is off
        {"Sprites/ui;panel", true, false, "panel"},
        {"Sprites/ui;lamp", true, true, nullptr},
        {"Sprites/ui;", false, true, nullptr},
        {"Sprites/ui;knob;2", false, true, nullptr},  // the name is everything after the first ';'
        {"Sprites/solo", true, false, "Sprites/solo"},  // without ';' folder and name are the same
        {"Sprites/none;knob", false, false, nullptr},
    };
    for (const ReferenceCase& c : cases) {
        SCOPED_TRACE(c.reference);
        SpriteManagers references;
        if (c.registered) references.get("Sprites/ui");
        references.setLoadOnDemand(c.loadOnDemand);
        const SpritePtr sprite = createSpriteByReference(c.reference, references);
        if (!c.made) {
            EXPECT_EQ(sprite, nullptr);
            continue;
        }
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->name(), c.made);
    }
    registry.setLoadOnDemand(true);
    EXPECT_THROW(createSpriteByReference("Sprites/none;knob", registry), CheckReleaseError);
}

} // namespace
} // namespace zor
