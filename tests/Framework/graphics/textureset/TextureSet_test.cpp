#include "Framework/graphics/textureset/TextureSet.h"

#include "Framework/core/Errors.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::solidImage;

class TextureSetTest : public ::testing::Test {
protected:
    void TearDown() override { textureMapScale = 1.0f; }

    test::TempGameData data;
};

TEST_F(TextureSetTest, AtlasListLoadsMapsAndPagesFromItsFolder) {
    textureMapScale = 1.0f / 3.0f;
    data.writeText("Sprites/hud/atlas.lst", "atlases:\npage0.map\nmore/page1.map\n");
    data.writeText("Sprites/hud/page0.map", "button = 10 20 30 40\nicon = 0 0 8 8\n");
    data.writeImage("Sprites/hud/page0.png", solidImage(64, 32, 255, 0, 0));
    data.writeText("Sprites/hud/more/page1.map", "lamp = 1 2 3 4\n");
    data.writeImage("Sprites/hud/more/page1.png", solidImage(16, 48, 0, 255, 0));

    const std::unique_ptr<TextureSet> set = loadTextureSet("Sprites/hud/atlas.lst");
    ASSERT_EQ(set->textures().size(), 2u);
    EXPECT_EQ(set->subTextureCount(), 3u);
    // The page sizes show that the images of the maps' names were read, not placeholders.
    EXPECT_EQ(set->textures()[0]->cached()->pixelWidth, 64);
    EXPECT_EQ(set->textures()[1]->cached()->pixelHeight, 48);
    EXPECT_EQ(set->textures()[1]->cached()->name, "Sprites/hud/more/page1.png");

    TextureSetReference button;
    ASSERT_TRUE(set->findTexture("button", button));
    EXPECT_EQ(button.texture, set->textures()[0].get());
    const float third = 1.0f / 3.0f;
    EXPECT_EQ(button.rect, fpRect(10 * third, 20 * third, 30 * third, 40 * third));
    TextureSetReference lamp;
    ASSERT_TRUE(set->findTexture("lamp", lamp));
    EXPECT_EQ(lamp.texture, set->textures()[1].get());
    EXPECT_EQ(lamp.rect, fpRect(1 * third, 2 * third, 3 * third, 4 * third));
}

TEST_F(TextureSetTest, LookupsAreExactAndLeaveTheResultAloneWhenAbsent) {
    data.writeText("Sprites/a/atlas.lst", "atlases:\npage0.map\n");
    data.writeText("Sprites/a/page0.map", "button = 1 2 3 4\n");
    data.writeImage("Sprites/a/page0.png", solidImage(8, 8, 1, 2, 3));
    const std::unique_ptr<TextureSet> set = loadTextureSet("Sprites/a/atlas.lst");

    const Texture* marker = set->textures()[0].get();
    for (const char* name : {"Button", "button ", "butto", ""}) {
        TextureSetReference out{marker, fpRect(9, 9, 9, 9)};
        EXPECT_FALSE(set->findTexture(name, out)) << name;
        EXPECT_EQ(out.texture, marker);
        EXPECT_EQ(out.rect, fpRect(9, 9, 9, 9));
    }
    TextureSetReference out;
    EXPECT_FALSE(TextureSet().findTexture("button", out)) << "an empty set";
}

TEST_F(TextureSetTest, LaterPagesReplaceEarlierEntriesOfTheSameName) {
    data.writeText("Sprites/b/atlas.lst", "atlases:\nfirst.map\nsecond.map\n");
    data.writeText("Sprites/b/first.map", "shared = 1 1 1 1\nonly_first = 2 2 2 2\n");
    data.writeText("Sprites/b/second.map", "shared = 5 5 5 5\n");
    data.writeImage("Sprites/b/first.png", solidImage(4, 4, 0, 0, 0));
    data.writeImage("Sprites/b/second.png", solidImage(4, 4, 0, 0, 0));
    const std::unique_ptr<TextureSet> set = loadTextureSet("Sprites/b/atlas.lst");
    TextureSetReference shared;
    ASSERT_TRUE(set->findTexture("shared", shared));
    EXPECT_EQ(shared.texture, set->textures()[1].get());
    EXPECT_EQ(shared.rect, fpRect(5, 5, 5, 5));
}

TEST_F(TextureSetTest, PlainListMakesOneWholeImagePerFile) {
    data.writeText("Atlases/decals/atlas.lst", "crack.png\n\nsmall/moss.png\n");
    data.writeImage("Atlases/decals/crack.png", solidImage(30, 12, 9, 9, 9));
    data.writeImage("Atlases/decals/small/moss.png", solidImage(6, 3, 9, 9, 9));
    const std::unique_ptr<TextureSet> set = loadTextureSet("Atlases/decals/atlas.lst");
    ASSERT_EQ(set->textures().size(), 2u) << "the blank line is skipped";

    TextureSetReference crack, moss;
    ASSERT_TRUE(set->findTexture("crack", crack));
    ASSERT_TRUE(set->findTexture("moss", moss));
    EXPECT_EQ(crack.rect, fpRect(0, 0, crack.texture->width(), crack.texture->height()));
    EXPECT_EQ(crack.texture->cached()->pixelWidth, 30);
    EXPECT_EQ(moss.texture->cached()->pixelHeight, 3);
}

TEST_F(TextureSetTest, MissingOrBrokenFilesThrowNamingThem) {
    data.writeText("Sprites/c/atlas.lst", "atlases:\ngone.map\n");
    data.writeText("Sprites/d/atlas.lst", "atlases:\nempty.map\n");
    data.writeText("Sprites/d/empty.map", "");
    data.writeText("Sprites/e/atlas.lst", "atlases:\npage0.map\n");
    data.writeText("Sprites/e/page0.map", "good = 1 2 3 4\nbad 1 2 3 4\n");
    data.writeText("Sprites/f/atlas.lst", "");

    const struct {
        const char* list;
        std::string message;
    } cases[] = {
        {"Sprites/none/atlas.lst", "Texture set list file missing: Sprites/none/atlas.lst"},
        {"Sprites/f/atlas.lst", "Texture set list file missing: Sprites/f/atlas.lst"},
        {"Sprites/c/atlas.lst", "Texture map file non-existant or empty: Sprites/c/gone.map"},
        {"Sprites/d/atlas.lst", "Texture map file non-existant or empty: Sprites/d/empty.map"},
        {"Sprites/e/atlas.lst", "Bad line 2 in texture map file Sprites/e/page0.map: no '='"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        try {
            loadTextureSet(c.list);
            ADD_FAILURE() << "loaded";
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, c.message.size()), c.message);
        }
    }
}

} // namespace
} // namespace zor
