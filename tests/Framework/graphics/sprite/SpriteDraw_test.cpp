// Drawing and bounds of trees whose nodes show images, queued into a batch without GL.

#include "Framework/graphics/sprite/Sprite.h"

#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/sprite/SpriteManager.h"
#include "tests/Framework/graphics/batch/InterfaceOnlyBatch.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

namespace zor {
namespace {

// "dot" is an 8 x 4 image whose pivot is its centre. On the 16 x 8 atlas page it lies at
// (2, 2) behind the padding.
const char* const pairXml = R"(<SpriteSet FramesPerSecond="10" Padding="2">
  <Image File="red.png"/>
  <Sprite Name="dot" Texture="red" Origin="-4;-2"/>
  <Sprite Name="pair" Frames="6">
    <Child Name="clear" Sprite="dot" Depth="3" Color="1;1;1;0"/>
    <Child Name="a" Sprite="dot" Depth="1" Position="10;10" Life="0;5"/>
    <Child Name="off" Sprite="dot" Depth="2" Enabled="false"/>
    <Child Name="later" Sprite="dot" Depth="4" Life="5;5" Position="50;50"/>
    <Child Name="tinted" Sprite="dot" Depth="5" Position="30;10" Life="0;5" Color="1;0;0;0.5"/>
  </Sprite>
</SpriteSet>)";

struct Corner {
    float x, y, u, v;
};

void expectQuad(const Quad& quad, const Corner (&corners)[4]) {
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(quad.vertices[i].x, corners[i].x, 1e-4f);
        EXPECT_NEAR(quad.vertices[i].y, corners[i].y, 1e-4f);
        EXPECT_NEAR(quad.vertices[i].u, corners[i].u, 1e-6f);
        EXPECT_NEAR(quad.vertices[i].v, corners[i].v, 1e-6f);
    }
}

class SpriteDrawTest : public ::testing::Test {
protected:
    SpriteDrawTest() {
        data.writeSpriteSet("Sprites/pair", pairXml, {{"red.png", test::solidImage(8, 4, 255, 0, 0)}});
        manager = std::make_unique<SpriteManager>("Sprites/pair");
        pair = manager->createSprite("pair");
        pair->update(0.0f, false);
    }

    Sprite& child(const std::string& name) { return *pair->findDescendant(name); }

    test::TempGameData data;
    std::unique_ptr<SpriteManager> manager;
    SpritePtr pair;
    CommonBatch batch{16, 0.0f};
};

TEST_F(SpriteDrawTest, DrawsEnabledVisibleLiveNodesInDepthOrder) {
    ASSERT_NE(child("a").image().texture, nullptr);
    EXPECT_EQ(pair->image().texture, nullptr) << "a root shows no image";
    pair->draw(batch);
    ASSERT_EQ(batch.count(), 2);
    expectQuad(batch.quads()[0], {{6, 8, 2 / 16.f, 2 / 8.f}, {6, 12, 2 / 16.f, 6 / 8.f}, {14, 8, 10 / 16.f, 2 / 8.f},
                                  {14, 12, 10 / 16.f, 6 / 8.f}});
    EXPECT_EQ(batch.quads()[0].vertices[0].color, PackedColor(0xFFFFFFFF));
    EXPECT_EQ(batch.quads()[1].vertices[0].x, 26.0f);
    EXPECT_EQ(batch.quads()[1].vertices[3].color, PackedColor::fromChannels(127, 0, 0, 127));

    pair->setFrame(5);
    pair->update(0.0f, false);
    batch.discardQuads();
    pair->draw(batch);
    EXPECT_EQ(batch.count(), 3) << "'later' lives on frame 5";

    batch.discardQuads();
    pair->setAlpha(0.0f);
    pair->draw(batch);
    EXPECT_EQ(batch.count(), 0) << "a transparent node hides its children";
}

// Nodes with images at every level: a node with children is drawn before them, depth
// first, and hidden, disabled and dead nodes are left out, whether they have children or
// not. Each quad is told by its left edge.
TEST(SpriteDrawTree, InnerNodesAndLeavesDrawDepthFirst) {
    test::TempGameData data;
    data.writeSpriteSet("Sprites/nest", R"(<SpriteSet FramesPerSecond="10">
      <Image File="red.png"/>
      <Sprite Name="dot" Texture="red"/>
      <Sprite Name="arm" Texture="red" Frames="4">
        <Child Name="hand" Sprite="dot" Position="1;0"/>
        <Child Name="ghost" Sprite="dot" Position="2;0" Color="1;1;1;0"/>
        <Child Name="off" Sprite="dot" Position="3;0" Enabled="false"/>
        <Child Name="late" Sprite="dot" Position="4;0" Life="3;3"/>
        <Child Name="finger" Sprite="dot" Position="5;0"/>
      </Sprite>
      <Sprite Name="nest" Frames="4">
        <Child Name="arm" Sprite="arm" Position="10;0"/>
        <Child Name="hidden" Sprite="arm" Position="20;0" Color="1;1;1;0"/>
        <Child Name="head" Sprite="dot" Position="30;0"/>
        <Child Name="second" Sprite="arm" Position="40;0"/>
      </Sprite>
    </SpriteSet>)", {{"red.png", test::solidImage(8, 4, 255, 0, 0)}});
    SpriteManager manager("Sprites/nest");
    SpritePtr nest = manager.createSprite("nest");
    nest->update(0.0f, false);
    const auto leftEdges = [&](ITextureBatch& into, const CommonBatch& quads) {
        nest->draw(into);
        std::vector<float> edges;
        for (int i = 0; i < quads.count(); ++i) edges.push_back(quads.quads()[i].vertices[0].x);
        return edges;
    };
    const std::vector<float> expected = {10, 11, 15, 30, 40, 41, 45};
    CommonBatch direct{16, 0.0f};
    EXPECT_EQ(leftEdges(direct, direct), expected);
    CommonBatch other{16, 0.0f};
    test::InterfaceOnlyBatch interfaceOnly(other);
    EXPECT_EQ(leftEdges(interfaceOnly, other), expected);

    // Nodes shown or hidden after the tree was made. (The first of each name is the one
    // in the arm at 10.)
    const struct {
        const char* name;
        std::function<void(Sprite& nest)> change;
        std::vector<float> edges;
    } changes[] = {
        {"the ghost gets an alpha", [](Sprite& n) { n.findDescendant("ghost")->setAlpha(0.5f); },
         {10, 11, 12, 15, 30, 40, 41, 45}},
        {"the switched-off node is enabled", [](Sprite& n) { n.findDescendant("off")->setEnabled(true); },
         {10, 11, 13, 15, 30, 40, 41, 45}},
        {"the hidden arm is coloured", [](Sprite& n) { n.findDescendant("hidden")->setColor(1, 1, 1, 1); },
         {10, 11, 15, 20, 21, 25, 30, 40, 41, 45}},
        {"the hand is disabled", [](Sprite& n) { n.findDescendant("hand")->setEnabled(false); },
         {10, 15, 30, 40, 41, 45}},
        {"the hand fades out", [](Sprite& n) { n.findDescendant("hand")->setColor(1, 1, 1, 0); },
         {10, 15, 30, 40, 41, 45}},
        {"the hand's alpha is not a number", [](Sprite& n) { n.findDescendant("hand")->setAlpha(std::nanf("")); },
         {10, 15, 30, 40, 41, 45}},
        {"the arm is disabled and enabled again",
         [](Sprite& n) {
             n.findDescendant("arm")->setEnabled(false);
             n.findDescendant("arm")->setEnabled(true);
         },
         expected},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        nest = manager.createSprite("nest");
        c.change(*nest);
        nest->update(0.0f, false);
        direct.discardQuads();
        EXPECT_EQ(leftEdges(direct, direct), c.edges);
    }
}

TEST_F(SpriteDrawTest, CropDrawsPartOfTheImage) {
    Sprite& a = child("a");
    a.setCrop(fpRect(0.5f, 0.0f, 0.5f, 1.0f));
    pair->draw(batch);
    // The right half, in its place.
    expectQuad(batch.quads()[0], {{10, 8, 6 / 16.f, 2 / 8.f}, {10, 12, 6 / 16.f, 6 / 8.f}, {14, 8, 10 / 16.f, 2 / 8.f},
                                  {14, 12, 10 / 16.f, 6 / 8.f}});
    EXPECT_EQ(a.computeBounds(), fpRect(10, 8, 4, 4));

    // Extents alone draw the left half but keep the bounds of the whole image.
    batch.discardQuads();
    a.setCrop(fpRect(0.0f, 0.0f, 0.5f, 1.0f));
    pair->draw(batch);
    expectQuad(batch.quads()[0], {{6, 8, 2 / 16.f, 2 / 8.f}, {6, 12, 2 / 16.f, 6 / 8.f}, {10, 8, 6 / 16.f, 2 / 8.f},
                                  {10, 12, 6 / 16.f, 6 / 8.f}});
    EXPECT_EQ(a.computeBounds(), fpRect(6, 8, 8, 4));
}

TEST_F(SpriteDrawTest, BoundsUniteEnabledLiveNodesWhateverTheirAlpha) {
    // The root adds its origin; "clear" counts though transparent; "off" and "later" do not.
    EXPECT_EQ(pair->computeBounds(), fpRect(-4, -2, 38, 14));
    pair->setPosition(100.0f, 50.0f);
    pair->update(0.0f, false);
    EXPECT_EQ(pair->computeBounds(), fpRect(96, 48, 38, 14));
    EXPECT_EQ(pair->computeBoundsRelative(), fpRect(-4, -2, 38, 14));

    Sprite& a = child("a");
    a.setRotation(1.5707964f);
    pair->update(0.0f, false);
    const fpRect turned = a.computeBounds();
    EXPECT_NEAR(turned.x, 108.0f, 1e-4f);
    EXPECT_NEAR(turned.y, 56.0f, 1e-4f);
    EXPECT_NEAR(turned.w, 4.0f, 1e-4f);
    EXPECT_NEAR(turned.h, 8.0f, 1e-4f);
}

TEST_F(SpriteDrawTest, TheBatchsOwnPathAndTheInterfaceGiveTheSameQuads) {
    pair->setPosition(12.25f, -3.5f);
    pair->setScale(-1.5f, 0.75f);
    pair->setRotation(0.6f);
    child("a").setCrop(fpRect(0.25f, 0.5f, 0.5f, 0.5f));
    child("tinted").setPivot(3.0f, -2.0f);
    pair->update(0.0f, false);
    pair->draw(batch);
    CommonBatch other{16, 0.0f};
    test::InterfaceOnlyBatch interfaceOnly(other);
    pair->draw(interfaceOnly);
    ASSERT_EQ(batch.count(), 2);
    ASSERT_EQ(other.count(), 2);
    EXPECT_EQ(std::memcmp(batch.quads(), other.quads(), 2 * sizeof(Quad)), 0);
}

// Whatever a node keeps between draws (its source, its flags), after any change of the
// tree or of the batch's transform its quads equal the interface's, which places every
// quad afresh.
TEST_F(SpriteDrawTest, QuadsFollowEveryChange) {
    fpMatrix4 general;
    general[2] = 0.25f;  // z from x: no plane placement
    const struct {
        const char* name;
        std::function<void(Sprite& pair, CommonBatch& batch, CommonBatch& other)> change;
    } steps[] = {
        {"first draw", [](Sprite&, CommonBatch&, CommonBatch&) {}},
        {"nothing changes", [](Sprite&, CommonBatch&, CommonBatch&) {}},
        {"the root moves and turns",
         [](Sprite& pair, CommonBatch&, CommonBatch&) {
             pair.setPosition(5.5f, -2.25f);
             pair.setRotation(0.3f);
         }},
        {"a child is recoloured", [](Sprite& pair, CommonBatch&, CommonBatch&) {
             pair.findDescendant("a")->setColor(0.5f, 1.0f, 0.25f, 0.75f);
         }},
        {"a child is cropped", [](Sprite& pair, CommonBatch&, CommonBatch&) {
             pair.findDescendant("a")->setCrop(fpRect(0.5f, 0.25f, 0.5f, 0.5f));
         }},
        {"a child's pivot moves", [](Sprite& pair, CommonBatch&, CommonBatch&) {
             pair.findDescendant("tinted")->setPivot(1.0f, 3.0f);
         }},
        {"the batches scale and move",
         [](Sprite&, CommonBatch& batch, CommonBatch& other) {
             fpMatrix4 plane = fpMatrix4::scaling(2.0f, 0.5f, 1.0f);
             plane[12] = 7.0f;
             batch.setTransform(plane);
             other.setTransform(plane);
         }},
        {"the batches take a general transform",
         [&general](Sprite&, CommonBatch& batch, CommonBatch& other) {
             batch.setTransform(general);
             other.setTransform(general);
         }},
        {"the batches go back to the identity",
         [](Sprite&, CommonBatch& batch, CommonBatch& other) {
             batch.setTransform(fpMatrix4());
             other.setTransform(fpMatrix4());
         }},
    };
    CommonBatch other{16, 0.0f};
    test::InterfaceOnlyBatch interfaceOnly(other);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.change(*pair, batch, other);
        pair->update(0.0f, false);
        batch.discardQuads();
        other.discardQuads();
        pair->draw(batch);
        pair->draw(interfaceOnly);
        ASSERT_EQ(batch.count(), 2);
        ASSERT_EQ(other.count(), 2);
        EXPECT_EQ(std::memcmp(batch.quads(), other.quads(), 2 * sizeof(Quad)), 0);
    }

    // Another batch with the same transform gives the same quads.
    CommonBatch second{16, 0.0f};
    pair->draw(second);
    batch.discardQuads();
    pair->draw(batch);
    ASSERT_EQ(second.count(), 2);
    EXPECT_EQ(std::memcmp(batch.quads(), second.quads(), 2 * sizeof(Quad)), 0);
}

// Two images on atlas pages of their own, so that the quads switch textures; children
// born and dying inside the timeline, and a hand alive only while its arm plays.
const char* const troupeXml = R"(<SpriteSet FramesPerSecond="10" Padding="2" PageSize="16">
  <Image File="red.png"/>
  <Image File="blue.png"/>
  <Sprite Name="dot" Texture="red" Origin="-4;-4"/>
  <Sprite Name="square" Texture="blue" Origin="-2;-4"/>
  <Sprite Name="troupe" Frames="8">
    <Child Name="walker" Sprite="arm" Depth="1" Life="0;7">
      <Key Frames="0;3" Position="1;0" Rotation="10"/>
      <Key Frames="4;7" Position="4;1" Rotation="50" Color="1;0.5;1;0.8"/>
    </Child>
    <Child Name="early" Sprite="dot" Depth="2" Life="0;2" Position="9;3"/>
    <Child Name="late" Sprite="square" Depth="3" Life="5;7" Position="-4;6"/>
    <Child Name="dot" Sprite="dot" Depth="4" Life="0;7" Position="3;3"/>
  </Sprite>
  <Sprite Name="arm" Texture="red" Frames="4">
    <Child Name="hand" Sprite="square" Life="1;3"><Key Frames="1;3" Position="2;2"/></Child>
  </Sprite>
</SpriteSet>)";

// Without GL every page is named 0, which makes one run of every quad; made-up names let
// the runs show where the quads change textures.
void nameTexturePages(Sprite& troupe) {
    troupe.findDescendant("dot")->image().texture->cached()->glTexture = 1;
    troupe.findDescendant("late")->image().texture->cached()->glTexture = 2;
}

void expectSameBatches(const CommonBatch& kept, const CommonBatch& fresh) {
    ASSERT_EQ(kept.count(), fresh.count());
    EXPECT_EQ(std::memcmp(kept.quads(), fresh.quads(), static_cast<std::size_t>(kept.count()) * sizeof(Quad)), 0);
    ASSERT_EQ(kept.runs().size(), fresh.runs().size());
    for (std::size_t i = 0; i < kept.runs().size(); ++i) {
        EXPECT_EQ(kept.runs()[i].firstQuad, fresh.runs()[i].firstQuad);
        EXPECT_EQ(kept.runs()[i].texture, fresh.runs()[i].texture);
    }
    EXPECT_EQ(kept.droppedQuads(), fresh.droppedQuads());
}

// A root keeps its tree's quads and copies those it shows. Step by step, through a
// playing tree whose shown nodes come and go and through every kind of change, its draws
// equal the interface's, which places every quad afresh.
TEST(SpriteKeptQuads, DrawsEqualFreshOnesThroughAnimationAndChanges) {
    test::TempGameData data;
    data.writeSpriteSet("Sprites/troupe", troupeXml,
                        {{"red.png", test::solidImage(8, 8, 255, 0, 0)}, {"blue.png", test::solidImage(8, 8, 0, 0, 255)}});
    SpriteManager manager("Sprites/troupe");
    fpMatrix4 plane = fpMatrix4::scaling(2.0f, 0.5f, 1.0f);
    plane[12] = 7.0f;
    fpMatrix4 general;
    general[2] = 0.25f;
    const std::map<int, std::function<void(Sprite&, CommonBatch&, CommonBatch&)>> changes{
        {23, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.findDescendant("walker")->play(); }},
        {25, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.findDescendant("dot")->setAlpha(0.0f); }},
        {26, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.findDescendant("dot")->setAlpha(0.5f); }},
        {28, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.findDescendant("walker")->setEnabled(false); }},
        {29, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.findDescendant("walker")->setEnabled(true); }},
        {30, [](Sprite& troupe, CommonBatch&, CommonBatch&) {
             troupe.findDescendant("late")->setCrop(fpRect(0.25f, 0.0f, 0.5f, 1.0f));
         }},
        {31, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.findDescendant("hand")->setPivot(1.0f, 2.0f); }},
        {32, [&plane](Sprite&, CommonBatch& kept, CommonBatch& fresh) {
             kept.setTransform(plane);
             fresh.setTransform(plane);
         }},
        {34, [&general](Sprite&, CommonBatch& kept, CommonBatch& fresh) {
             kept.setTransform(general);
             fresh.setTransform(general);
         }},
        {35, [](Sprite& troupe, CommonBatch& kept, CommonBatch& fresh) {
             kept.setTransform(fpMatrix4());
             fresh.setTransform(fpMatrix4());
             troupe.setPosition(20.0f, -5.0f);
         }},
        {37, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.setFrame(6); }},
        {39, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.findDescendant("walker")->update(0.1f, false); }},
        {40, [](Sprite& troupe, CommonBatch&, CommonBatch&) { troupe.restart(); }},
        {41, [](Sprite& troupe, CommonBatch&, CommonBatch&) {
             troupe.setFrame(2);
             troupe.findDescendant("walker")->setFrame(1);
         }},
    };
    // Until step 23 nothing but the play changes the tree. From step 42 to 49 the root moves
    // at every step, so its tree rests from keeping quads; it stands still afterwards, and
    // keeps them again when the rest is over.
    const auto moves = [](int step) { return step >= 42 && step < 50; };
    for (const bool interpolate : {false, true}) {
        SCOPED_TRACE(interpolate ? "interpolated" : "key by key");
        SpritePtr troupe = manager.createSprite("troupe");
        nameTexturePages(*troupe);
        troupe->setInterpolation(interpolate);
        troupe->play();
        CommonBatch kept{16, 0.0f};
        CommonBatch fresh{16, 0.0f};
        test::InterfaceOnlyBatch interfaceOnly(fresh);
        for (int step = 0; step < 84; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            const auto change = changes.find(step);
            if (change != changes.end()) change->second(*troupe, kept, fresh);
            if (moves(step)) troupe->setPosition(float(step), 1.0f);
            troupe->update(step % 3 == 0 ? 0.05f : 1.0f / 60.0f, false);
            kept.discardQuads();
            fresh.discardQuads();
            troupe->draw(kept);
            troupe->draw(interfaceOnly);
            expectSameBatches(kept, fresh);
        }
    }
}

// Kept quads copied into a batch too small for them are dropped and counted as drawn ones.
TEST(SpriteKeptQuads, ABatchTooSmallDropsTheQuadsThatDoNotFit) {
    test::TempGameData data;
    data.writeSpriteSet("Sprites/troupe", troupeXml,
                        {{"red.png", test::solidImage(8, 8, 255, 0, 0)}, {"blue.png", test::solidImage(8, 8, 0, 0, 255)}});
    SpriteManager manager("Sprites/troupe");
    SpritePtr troupe = manager.createSprite("troupe");
    nameTexturePages(*troupe);
    troupe->update(0.0f, false);
    CommonBatch kept{2, 0.0f};
    CommonBatch fresh{2, 0.0f};
    test::InterfaceOnlyBatch interfaceOnly(fresh);
    for (int draw = 0; draw < 2; ++draw) {
        troupe->draw(kept);
        troupe->draw(interfaceOnly);
        expectSameBatches(kept, fresh);
    }
    EXPECT_EQ(kept.droppedQuads(), 4u);
}

} // namespace
} // namespace zor
