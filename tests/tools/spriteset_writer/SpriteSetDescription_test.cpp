#include "tools/spriteset_writer/writer/SpriteSetDescription.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zor::spriteset {
namespace {

TEST(SpriteSetDescription, DefaultsFillWhatIsNotWritten) {
    const SpriteSetDescription set = parseSpriteSetDescription(R"(<SpriteSet>
      <Image File="parts/rope_long.png"/>
      <Image Name="lamp" File="lamp_v2.png"/>
      <Sprite Name="s">
        <Child Name="c" Sprite="s2" Life="4;9"><Key/><Key Frames="5;6"/></Child>
        <Shape Name="hit"><Key/></Shape>
      </Sprite>
    </SpriteSet>)", "test.xml");
    EXPECT_EQ(set.framesPerSecond, 30u);
    EXPECT_EQ(set.pageSize, 1024);
    EXPECT_EQ(set.padding, 2);
    ASSERT_EQ(set.images.size(), 2u);
    EXPECT_EQ(set.images[0].name, "rope_long");
    EXPECT_EQ(set.images[0].file, "parts/rope_long.png");
    EXPECT_EQ(set.images[1].name, "lamp");

    const SpriteDefinition& sprite = set.sprites.at(0);
    EXPECT_EQ(sprite.frameCount, 0u);
    EXPECT_EQ(sprite.textureName, "");
    const SpriteNodeDefinition& child = sprite.nodes.at(0);
    EXPECT_EQ(child.scaleX, 1.0f);
    EXPECT_EQ(child.a, 1.0f);
    EXPECT_TRUE(child.enabled);
    ASSERT_EQ(child.keys.size(), 2u);
    EXPECT_EQ(child.keys[0].firstFrame, 4u) << "a child key covers the child's life";
    EXPECT_EQ(child.keys[0].lastFrame, 9u);
    EXPECT_EQ(child.keys[1].firstFrame, 5u);
    EXPECT_EQ(child.keys[1].lastFrame, 6u);
    const SpriteShape& shape = sprite.shapes.at(0);
    EXPECT_EQ(shape.type, 0);
    EXPECT_EQ(shape.keys.at(0).firstFrame, 0u) << "a shape key covers every frame";
    EXPECT_EQ(shape.keys.at(0).lastFrame, 4294967295u);
}

struct BadDescription {
    const char* xml;
    const char* message;
};

TEST(SpriteSetDescription, MistakesAreReportedWithTheirLine) {
    const BadDescription cases[] = {
        {"<SpriteSet><Sprite Name=\"a\"></SpriteSet>", "test.xml:1: "},
        {"<Sprites/>", "test.xml:1: the root element must be <SpriteSet>"},
        {"<SpriteSet>\n\n  <Sprit Name=\"a\"/>\n</SpriteSet>", "test.xml:3: unknown element <Sprit> in <SpriteSet>"},
        {"<SpriteSet>\n<Sprite Name=\"a\">\n<Child Name=\"c\" Sprite=\"b\" Positon=\"1;2\"/></Sprite></SpriteSet>",
         "test.xml:3: unknown attribute Positon of <Child>"},
        {"<SpriteSet><Sprite Name=\"a\"><Key/></Sprite></SpriteSet>", "unknown element <Key> in <Sprite>"},
        {"<SpriteSet><Sprite Name=\"a\"><Child Name=\"c\" Sprite=\"b\" Depth=\"deep\"/></Sprite></SpriteSet>",
         "attribute Depth=\"deep\" of <Child> is not a number"},
        {"<SpriteSet><Sprite Name=\"a\"><Child Name=\"c\" Sprite=\"b\" Position=\"1\"/></Sprite></SpriteSet>",
         "attribute Position=\"1\" of <Child> is not 2 numbers separated by ';'"},
        {"<SpriteSet><Sprite Name=\"a\"><Child Name=\"c\" Sprite=\"b\" Color=\"1;1;1;1;1\"/></Sprite></SpriteSet>",
         "is not 4 numbers"},
        {"<SpriteSet><Sprite Name=\"a\" Origin=\" 1;2\"/></SpriteSet>", "is not 2 numbers"},
        {"<SpriteSet><Sprite Name=\"a\"><Child Name=\"c\" Sprite=\"b\" Life=\"5;2\"/></Sprite></SpriteSet>",
         "is not a frame range whose first frame is not after its last"},
        {"<SpriteSet><Sprite Name=\"a\"><Child Name=\"c\" Sprite=\"b\" Life=\"-1;2\"/></Sprite></SpriteSet>",
         "is not a frame range"},
        {"<SpriteSet><Sprite Name=\"a\"><Child Name=\"c\" Sprite=\"b\" Enabled=\"yes\"/></Sprite></SpriteSet>",
         "is not true or false"},
        {"<SpriteSet><Sprite Name=\"a\"><Shape Type=\"300\"/></Sprite></SpriteSet>", "is not a shape type"},
        {"<SpriteSet><Sprite Name=\"a\"><Shape Points=\"1;2 3\"/></Sprite></SpriteSet>", "is not a list of points"},
        {"<SpriteSet><Image Name=\"x\"/></SpriteSet>", "<Image> needs a File"},
        {"<SpriteSet><Sprite Name=\"a\"><Child Name=\"c\"/></Sprite></SpriteSet>", "<Child> needs a Sprite"},
        {"<SpriteSet><Sprite Name=\"a\"><Label Frame=\"1\"/></Sprite></SpriteSet>", "<Label> needs a Text"},
        {"<SpriteSet><Sprite/></SpriteSet>", "<Sprite> needs a Name"},
        {"<SpriteSet FramesPerSecond=\"-30\"/>", "is not a whole number"},
        {"<SpriteSet FramesPerSecond=\"4294967296\"/>", "is not a whole number"},
        {"<SpriteSet PageSize=\"0\"/>", "PageSize must be 1 to 16384"},
    };
    for (const BadDescription& c : cases) {
        SCOPED_TRACE(c.xml);
        try {
            parseSpriteSetDescription(c.xml, "test.xml");
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

TEST(SpriteSetDescription, RotationsAreDegreesAndNumbersAreExact) {
    const SpriteSetDescription set = parseSpriteSetDescription(R"(<SpriteSet FramesPerSecond="12">
      <Sprite Name="a" Origin="-1.25;3e2" Frames="4294967295">
        <Child Name="c" Sprite="a" Rotation="-180" Scale="0.1;-2" Color="0;0.5;1;0.25" Enabled="0"/>
      </Sprite></SpriteSet>)", "test.xml");
    const SpriteDefinition& a = set.sprites.at(0);
    EXPECT_EQ(a.originX, -1.25f);
    EXPECT_EQ(a.originY, 300.0f);
    EXPECT_EQ(a.frameCount, 4294967295u);
    const SpriteNodeDefinition& c = a.nodes.at(0);
    EXPECT_FLOAT_EQ(c.rotation, -3.1415927f);
    EXPECT_EQ(c.scaleX, 0.1f);
    EXPECT_EQ(c.scaleY, -2.0f);
    EXPECT_EQ(c.b, 1.0f);
    EXPECT_EQ(c.a, 0.25f);
    EXPECT_FALSE(c.enabled);
}

} // namespace
} // namespace zor::spriteset
