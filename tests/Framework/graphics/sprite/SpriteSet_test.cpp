#include "Framework/graphics/sprite/SpriteSet.h"

#include "Framework/core/Errors.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

using test::solidImage;
using test::spriteSetFromXml;

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "(no error)";
}

const SpriteNodeDefinition& nodeNamed(const SpriteDefinition& definition, const std::string& name) {
    for (const SpriteNodeDefinition& node : definition.nodes) {
        if (node.name == name) return node;
    }
    throw std::runtime_error("no node " + name);
}

void expectKey(const SpriteNodeState& key, std::uint32_t first, std::uint32_t last, float x, float y, float sx,
               float sy, float rotation, float r, float g, float b, float a, bool visible) {
    EXPECT_EQ(key.firstFrame, first);
    EXPECT_EQ(key.lastFrame, last);
    EXPECT_EQ(key.x, x);
    EXPECT_EQ(key.y, y);
    EXPECT_EQ(key.scaleX, sx);
    EXPECT_EQ(key.scaleY, sy);
    EXPECT_FLOAT_EQ(key.rotation, rotation);
    EXPECT_EQ(key.r, r);
    EXPECT_EQ(key.g, g);
    EXPECT_EQ(key.b, b);
    EXPECT_EQ(key.a, a);
    EXPECT_EQ(key.visible, visible);
    EXPECT_EQ(key.z, 0.0f);
    EXPECT_EQ(key.pivotX, 0.0f);
}

const char* const roundTripXml = R"(<SpriteSet FramesPerSecond="24" PageSize="64" Padding="1">
  <Image File="lamp.png"/>
  <Image Name="rope" File="parts/rope_long.png"/>
  <Sprite Name="lamp_image" Texture="lamp" Origin="-3;-4.5"/>
  <Sprite Name="rope_image" Texture="rope" Frames="1"/>
  <Sprite Name="hanging_lamp" Frames="20">
    <Label Frame="0" Text="still"/>
    <Label Frame="8" Text="swing"/>
    <Label Frame="14" Text="playCue:creak"/>
    <Child Name="lamp__depth__50" Sprite="lamp_image" Depth="2" Position="1.5;-2" Rotation="90"
           Scale="2;0.5" Life="3;17" Color="0.25;0.5;0.75;1" Enabled="false">
      <Key Frames="3;9" Position="1;2" Scale="1.5;-1" Rotation="-45" Color="1;0.5;0;0.25" Visible="false"/>
      <Key/>
    </Child>
    <Child Name="rope" Sprite="rope_image" Depth="-1"/>
    <Shape Name="bounds" Type="3" Points="-5;-6 5;-6 5.5;6.25">
      <Key Frames="2;4" Position="7;8" Rotation="180"/>
    </Shape>
    <Shape Name="" Points="">
    </Shape>
  </Sprite>
</SpriteSet>)";

TEST(SpriteSet, RoundTripKeepsEverythingAsWritten) {
    test::TempGameData data;
    data.writeSpriteSet("Sprites/round", roundTripXml,
                        {{"lamp.png", solidImage(6, 9, 200, 150, 50)}, {"parts/rope_long.png", solidImage(2, 30, 1, 1, 1)}});
    const std::shared_ptr<SpriteSet> set = loadSpriteSet("Sprites/round");

    EXPECT_EQ(set->framesPerSecond, 24u);
    ASSERT_EQ(set->definitions.size(), 3u);
    EXPECT_EQ(set->definitions[0]->name, "lamp_image");
    EXPECT_EQ(set->definitions[1]->name, "rope_image");
    EXPECT_EQ(set->definitions[1]->frameCount, 1u);

    const SpriteDefinition& lampImage = *set->definitions[0];
    EXPECT_EQ(lampImage.textureName, "lamp");
    EXPECT_EQ(lampImage.originX, -3.0f);
    EXPECT_EQ(lampImage.originY, -4.5f);
    EXPECT_EQ(lampImage.descendantCount, 0);

    const SpriteDefinition& lamp = *set->findDefinition("hanging_lamp");
    EXPECT_EQ(&lamp, set->definitions[2].get());
    EXPECT_EQ(lamp.frameCount, 20u);
    EXPECT_EQ(lamp.textureName, "");
    EXPECT_EQ(lamp.descendantCount, 2);

    // Children: file order in `nodes`, ascending depth in `children`.
    ASSERT_EQ(lamp.nodes.size(), 2u);
    EXPECT_EQ(lamp.nodes[0].name, "lamp__depth__50");
    ASSERT_EQ(lamp.children.size(), 2u);
    EXPECT_EQ(lamp.children[0]->name, "rope");
    EXPECT_EQ(lamp.children[1]->name, "lamp__depth__50");

    const SpriteNodeDefinition& child = nodeNamed(lamp, "lamp__depth__50");
    EXPECT_EQ(child.definitionName, "lamp_image");
    EXPECT_EQ(child.definition, &lampImage);
    EXPECT_EQ(child.depth, 2.0f);
    EXPECT_EQ(child.x, 1.5f);
    EXPECT_EQ(child.y, -2.0f);
    EXPECT_FLOAT_EQ(child.rotation, 1.5707964f);
    EXPECT_EQ(child.scaleX, 2.0f);
    EXPECT_EQ(child.scaleY, 0.5f);
    EXPECT_EQ(child.firstFrame, 3u);
    EXPECT_EQ(child.lastFrame, 17u);
    EXPECT_EQ(child.r, 0.25f);
    EXPECT_EQ(child.g, 0.5f);
    EXPECT_EQ(child.b, 0.75f);
    EXPECT_EQ(child.a, 1.0f);
    EXPECT_FALSE(child.enabled);
    ASSERT_EQ(child.nameParameters.size(), 2u);
    EXPECT_EQ(child.nameParameters[0], SettingValue(std::string("depth")));
    EXPECT_EQ(child.nameParameters[1], SettingValue(std::string("50")));
    ASSERT_EQ(child.keys.size(), 2u);
    expectKey(child.keys[0], 3, 9, 1, 2, 1.5f, -1, -0.7853982f, 1, 0.5f, 0, 0.25f, false);
    expectKey(child.keys[1], 3, 17, 0, 0, 1, 1, 0, 1, 1, 1, 1, true);  // defaults: the child's life

    const SpriteNodeDefinition& rope = nodeNamed(lamp, "rope");
    EXPECT_TRUE(rope.enabled);
    EXPECT_TRUE(rope.keys.empty());
    EXPECT_TRUE(rope.nameParameters.empty());
    EXPECT_EQ(rope.firstFrame, 0u);
    EXPECT_EQ(rope.lastFrame, 0u);

    ASSERT_EQ(lamp.labels.size(), 3u);
    EXPECT_EQ(lamp.labels.at(14), "playCue:creak");
    ASSERT_EQ(lamp.animations.size(), 3u);
    EXPECT_EQ(lamp.animations.at("still").first, 0u);
    EXPECT_EQ(lamp.animations.at("still").last, 7u);
    EXPECT_EQ(lamp.animations.at("swing").last, 13u);
    EXPECT_EQ(lamp.animations.at("playCue:creak").last, 19u);

    ASSERT_EQ(lamp.shapes.size(), 2u);
    const SpriteShape& bounds = lamp.shapes[0];
    EXPECT_EQ(bounds.name, "bounds");
    EXPECT_EQ(bounds.type, SpriteShapeHitArea);
    EXPECT_EQ(bounds.coordinates, (std::vector<float>{-5, -6, 5, -6, 5.5f, 6.25f}));
    ASSERT_EQ(bounds.keys.size(), 1u);
    expectKey(bounds.keys[0], 2, 4, 7, 8, 1, 1, 3.1415927f, 1, 1, 1, 1, true);
    EXPECT_TRUE(lamp.shapes[1].keys.empty());
    EXPECT_TRUE(lamp.shapes[1].coordinates.empty());
    EXPECT_EQ(lamp.shapes[1].type, 0);

    // The images went into the atlas at their pixel sizes.
    ASSERT_TRUE(set->textureSet);
    TextureSetReference lampTexture, ropeTexture;
    ASSERT_TRUE(set->textureSet->findTexture("lamp", lampTexture));
    ASSERT_TRUE(set->textureSet->findTexture("rope", ropeTexture));
    EXPECT_EQ(lampTexture.rect.w, 6.0f);
    EXPECT_EQ(lampTexture.rect.h, 9.0f);
    EXPECT_EQ(ropeTexture.rect.w, 2.0f);
    EXPECT_EQ(ropeTexture.rect.h, 30.0f);
}

TEST(SpriteSet, AnimationsRunFromLabelToLabel) {
    const auto set = spriteSetFromXml(R"(<SpriteSet>
      <Sprite Name="walker" Frames="20"><Label Frame="0" Text="idle"/><Label Frame="10" Text="walk"/></Sprite>
      <Sprite Name="twice" Frames="30">
        <Label Frame="0" Text="loop"/><Label Frame="5" Text="rest"/><Label Frame="12" Text="loop"/>
      </Sprite>
      <Sprite Name="plain" Frames="5"/>
    </SpriteSet>)");
    const SpriteDefinition& walker = *set->findDefinition("walker");
    EXPECT_EQ(walker.animations.at("idle").first, 0u);
    EXPECT_EQ(walker.animations.at("idle").last, 9u);
    EXPECT_EQ(walker.animations.at("walk").first, 10u);
    EXPECT_EQ(walker.animations.at("walk").last, 19u);
    // A name on several frames keeps the range of its highest frame.
    const SpriteDefinition& twice = *set->findDefinition("twice");
    EXPECT_EQ(twice.animations.at("loop").first, 12u);
    EXPECT_EQ(twice.animations.at("loop").last, 29u);
    EXPECT_EQ(twice.animations.at("rest").last, 11u);
    EXPECT_TRUE(set->findDefinition("plain")->animations.empty());
    EXPECT_EQ(set->findDefinition("absent"), nullptr);
}

TEST(SpriteSet, DescendantCountsAddUpWholeTrees) {
    const auto set = spriteSetFromXml(R"(<SpriteSet>
      <Sprite Name="top">
        <Child Name="a" Sprite="three"/><Child Name="b" Sprite="pair"/>
      </Sprite>
      <Sprite Name="three"><Child Name="x" Sprite="leaf"/><Child Name="y" Sprite="one"/></Sprite>
      <Sprite Name="pair"><Child Name="p" Sprite="leaf"/><Child Name="q" Sprite="leaf"/></Sprite>
      <Sprite Name="one"><Child Name="z" Sprite="leaf"/></Sprite>
      <Sprite Name="leaf"/>
      <Sprite Name="leaf"><Child Name="ignored" Sprite="one"/></Sprite>
    </SpriteSet>)");
    EXPECT_EQ(set->findDefinition("leaf"), set->definitions[4].get()) << "the first of a name wins";
    EXPECT_EQ(set->findDefinition("three")->descendantCount, 3);
    EXPECT_EQ(set->findDefinition("pair")->descendantCount, 2);
    EXPECT_EQ(set->findDefinition("top")->descendantCount, 2 + 3 + 2);
    EXPECT_EQ(set->definitions[5]->descendantCount, 2);
}

TEST(SpriteSet, TheRootNodeShowsTheDefinitionNamedRoot) {
    const auto withRoot = spriteSetFromXml(R"(<SpriteSet>
      <Sprite Name="leaf"/><Sprite Name="_root"><Child Name="a" Sprite="leaf"/></Sprite>
    </SpriteSet>)");
    EXPECT_EQ(withRoot->root.name, "_root");
    EXPECT_EQ(withRoot->root.definitionName, "_root");
    EXPECT_EQ(withRoot->root.definition, withRoot->findDefinition("_root"));
    EXPECT_EQ(spriteSetFromXml(R"(<SpriteSet><Sprite Name="leaf"/></SpriteSet>)")->root.definition, nullptr);
}

TEST(SpriteSet, ShortFilesAreNotFound) {
    test::TempGameData data;
    data.writeText("Sprites/ui/spriteset.dat", "abc");
    data.writeText("Sprites/ui/atlas.lst", "atlases:\n");
    for (const char* folder : {"Sprites/ui", "Sprites/elsewhere"}) {
        EXPECT_EQ(errorOf([&] { loadSpriteSet(folder); }), std::string("File not found: ") + folder);
    }
}

TEST(SpriteSet, MissingTextureListStopsTheLoad) {
    test::TempGameData data;
    const std::vector<std::uint8_t> bytes = test::encodeXml(R"(<SpriteSet><Sprite Name="a"/></SpriteSet>)");
    data.writeText("Sprites/bare/spriteset.dat", std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(errorOf([] { loadSpriteSet("Sprites/bare"); }), "Texture set list file missing: Sprites/bare/atlas.lst");
}

TEST(SpriteSet, EveryCutOfTheFileIsAnErrorNamingTheSet) {
    const std::vector<std::uint8_t> bytes = test::encodeXml(R"(<SpriteSet>
      <Sprite Name="base"><Label Frame="2" Text="x"/></Sprite>
      <Sprite Name="mover" Frames="4">
        <Child Name="part" Sprite="base" Life="0;3"><Key Frames="0;1"/><Key Frames="2;3"/></Child>
        <Shape Name="hit" Type="3" Points="0;0 1;1"><Key/></Shape>
      </Sprite>
    </SpriteSet>)");
    ASSERT_NO_THROW(readSpriteSet(test::toByteArray(bytes), bytes.size(), "Sprites/cut"));
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::string error =
            errorOf([&] { readSpriteSet(test::toByteArray(bytes), size, "Sprites/cut"); });
        EXPECT_EQ(error.rfind("Sprite set 'Sprites/cut': spriteset.dat is truncated", 0), 0u)
            << "cut at " << size << ": " << error;
    }
    // A cut inside the second key of the child (before the 71 bytes of the shape) names
    // the definition it is in.
    const std::size_t insideSecondKey = bytes.size() - 71 - 20;
    EXPECT_NE(errorOf([&] { readSpriteSet(test::toByteArray(bytes), insideSecondKey, "Sprites/cut"); })
                  .find("inside definition 2 of 2 ('mover')"),
              std::string::npos);
}

struct BadLink {
    const char* xml;
    const char* expected;
};

TEST(SpriteSet, UnresolvedOrSelfContainingDefinitionsAreRejected) {
    const BadLink cases[] = {
        {R"(<SpriteSet><Sprite Name="door"><Child Name="knob" Sprite="handle"/></Sprite></SpriteSet>)",
         "Sprite set 'Sprites/test': child 'knob' of definition 'door' names the missing definition 'handle'"},
        {R"(<SpriteSet><Sprite Name="loop"><Child Name="again" Sprite="loop"/></Sprite></SpriteSet>)",
         "Sprite set 'Sprites/test': definition 'loop' contains itself (loop > loop)"},
        {R"(<SpriteSet><Sprite Name="a"><Child Name="to_b" Sprite="b"/></Sprite>
           <Sprite Name="b"><Child Name="to_c" Sprite="c"/></Sprite>
           <Sprite Name="c"><Child Name="fine" Sprite="d"/><Child Name="back" Sprite="b"/></Sprite>
           <Sprite Name="d"/></SpriteSet>)",
         "Sprite set 'Sprites/test': definition 'b' contains itself (b > c > b)"},
    };
    for (const BadLink& c : cases) {
        EXPECT_EQ(errorOf([&] { spriteSetFromXml(c.xml); }), c.expected);
    }
}

TEST(SpriteSet, TreesBeyondTheLimitsAreRejected) {
    // 65 levels of one child each.
    std::string deep = "<SpriteSet>";
    for (int i = 0; i < kMaxSpriteTreeDepth + 1; ++i) {
        deep += "<Sprite Name=\"level" + std::to_string(i) + "\"><Child Name=\"c\" Sprite=\"level" +
                std::to_string(i + 1) + "\"/></Sprite>";
    }
    deep += "<Sprite Name=\"level" + std::to_string(kMaxSpriteTreeDepth + 1) + "\"/></SpriteSet>";
    EXPECT_NE(errorOf([&] { spriteSetFromXml(deep); }).find("definition 'level0' makes a tree beyond"),
              std::string::npos);

    // 300 x 300 nodes.
    std::string children;
    for (int i = 0; i < 300; ++i) children += "<Child Name=\"n\" Sprite=\"SPRITE\"/>";
    auto childrenOf = [&children](const std::string& sprite) {
        std::string text = children;
        for (std::size_t at = text.find("SPRITE"); at != std::string::npos; at = text.find("SPRITE", at)) {
            text.replace(at, 6, sprite);
        }
        return text;
    };
    const std::string wide = "<SpriteSet><Sprite Name=\"wide\">" + childrenOf("row") + "</Sprite><Sprite Name=\"row\">" +
                             childrenOf("dot") + "</Sprite><Sprite Name=\"dot\"/></SpriteSet>";
    EXPECT_NE(errorOf([&] { spriteSetFromXml(wide); }).find("definition 'wide' makes a tree beyond 65536 nodes"),
              std::string::npos);
    // One level less is fine.
    const std::string row = "<SpriteSet><Sprite Name=\"row\">" + childrenOf("dot") + "</Sprite><Sprite Name=\"dot\"/></SpriteSet>";
    EXPECT_EQ(spriteSetFromXml(row)->findDefinition("row")->descendantCount, 300);
}

} // namespace
} // namespace zor
