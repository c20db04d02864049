// A small sprite tree drawn through the quad batch into a render target.

#include "Framework/core/io/Files.h"
#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/graphics/sprite/SpriteManager.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"
#include "tests/support/gl/GLTestContext.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::Pixel;

// 6 x 6 dots centred on their nodes. "left" hides "under"; "right" is half transparent;
// "wide" lives on frame 0 only, "late" on frame 1 only.
const char* const sceneXml = R"(<SpriteSet FramesPerSecond="10" Padding="2">
  <Image File="red.png"/><Image File="blue.png"/>
  <Sprite Name="red_dot" Texture="red" Origin="-3;-3"/>
  <Sprite Name="blue_dot" Texture="blue" Origin="-3;-3"/>
  <Sprite Name="scene">
    <Child Name="left" Sprite="red_dot" Depth="1" Position="8;8" Life="0;1"/>
    <Child Name="under" Sprite="blue_dot" Depth="0" Position="8;8" Life="0;1"/>
    <Child Name="right" Sprite="blue_dot" Depth="1" Position="24;8" Life="0;1" Color="1;1;1;0.5"/>
    <Child Name="wide" Sprite="red_dot" Position="16;24" Scale="2;1" Life="0;0"/>
    <Child Name="late" Sprite="blue_dot" Position="24;24" Life="1;1"/>
  </Sprite>
</SpriteSet>)";

class SpriteDrawGLTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        VertexBufferPool::init();
        useTargetAsScreen(target);
        batch = std::make_unique<QuadBatch>(16);  // loads its shaders from the game data
        data = std::make_unique<test::TempGameData>();
        data->writeSpriteSet("Sprites/scene", sceneXml,
                             {{"red.png", test::solidImage(6, 6, 255, 0, 0)},
                              {"blue.png", test::solidImage(6, 6, 0, 0, 255)}});
        manager = std::make_unique<SpriteManager>("Sprites/scene");
        scene = manager->createSprite("scene");
    }
    void TearDown() override {
        scene.reset();
        manager.reset();
        data.reset();
        initFileSystem("BundlePC");
        batch.reset();
        VertexBufferPool::shutdown();
        GLTest::TearDown();
    }

    void drawFrame(std::uint32_t frame) {
        scene->setFrame(frame);
        scene->update(0.0f, false);
        bindTarget(target);
        setBlendMode(0);
        clearToColor(PackedColor::fromChannels(0, 0, 0, 255));
        batch->begin();
        scene->draw(*batch);
        batch->flush(0);
    }

    Pixel at(int x, int y) { return pixelAt(target, x, y); }

    RenderTarget target{32, 32};
    std::unique_ptr<QuadBatch> batch;
    std::unique_ptr<test::TempGameData> data;
    std::unique_ptr<SpriteManager> manager;
    SpritePtr scene;
};

TEST_F(SpriteDrawGLTest, NodesLandWhereTheTreePlacesThem) {
    const Pixel black{0, 0, 0, 255}, red{255, 0, 0, 255}, blue{0, 0, 255, 255};
    drawFrame(0);
    EXPECT_EQ(at(8, 8), red) << "drawn over the node of lower depth";
    EXPECT_EQ(at(6, 10), red);
    EXPECT_TRUE(test::nearPixel(at(24, 8), Pixel{0, 0, 128, 255}, 2)) << "half of premultiplied blue over black";
    EXPECT_EQ(at(11, 24), red) << "scaled twice as wide";
    EXPECT_EQ(at(20, 24), red);
    EXPECT_EQ(at(8, 24), black);
    EXPECT_EQ(at(24, 24), black) << "'late' is not alive yet";
    EXPECT_EQ(at(2, 2), black);
    EXPECT_EQ(at(16, 8), black);

    drawFrame(1);
    EXPECT_EQ(at(16, 24), black) << "'wide' has gone";
    EXPECT_EQ(at(24, 24), blue);
    EXPECT_EQ(at(8, 8), red);

    scene->findDescendant("left")->setEnabled(false);
    scene->setPosition(1.0f, 0.0f);
    drawFrame(1);
    EXPECT_EQ(at(9, 8), blue) << "the node below shows through, moved with the root";
    EXPECT_EQ(at(25, 24), blue);
}

} // namespace
} // namespace zor
