// Labels with the sample data's fonts: text set, kept, scaled and placed.

#include "Framework/core/io/Files.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/menu/LabelMenuItem.h"
#include "Framework/system/SystemComponents.h"
#include "tests/Framework/menu/MenuFixtures.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

const char* const LabelSet = R"(<SpriteSet><Sprite Name="box">
  <Shape Name="bounds" Type="3" Points="-100;-20 100;-20 100;20 -100;20"><Key/></Shape></Sprite>
  <Sprite Name="screen"><Child Name="label_title__debug" Sprite="box" Position="0;-50"/></Sprite></SpriteSet>)";

class LabelTest : public ::testing::Test {
protected:
    LabelTest() {
        initFileSystem("BundlePC");
        auto fonts = std::make_shared<FontSet>();
        fonts->load("Fonts");
        components = std::make_unique<SystemComponents>(nullptr, nullptr, nullptr, nullptr, fonts);
    }
    ~LabelTest() override {
        components.reset();
        Texture::purgeCache();
    }
    // The tree over the game context with fonts.
    std::unique_ptr<test::WidgetTree> tree() {
        return std::make_unique<test::WidgetTree>("screen", LabelSet, components.get());
    }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    std::unique_ptr<SystemComponents> components;
};

TEST_F(LabelTest, OnlyAFontShowsNothingUntilTextIsSetWhichIsKeptWhenUnchanged) {
    auto made = tree();
    auto& label = made->item<LabelMenuItem>("label_title__debug");
    ASSERT_NE(label.font(), nullptr);
    EXPECT_EQ(label.textMesh(), nullptr);
    label.setTextIfChanged("Deep shaft");
    const TextMesh* mesh = label.textMesh().get();
    ASSERT_NE(mesh, nullptr);
    label.setTextIfChanged("Deep shaft");
    EXPECT_EQ(label.textMesh().get(), mesh);
    label.setTextIfChanged("Surface");
    EXPECT_NE(label.textMesh().get(), mesh);
}

TEST_F(LabelTest, ScaleGrowsAboutTheCentreAndAMoveOnlyReplaces) {
    auto made = tree();
    auto& label = made->item<LabelMenuItem>("label_title__debug");
    label.setText("Deep shaft");
    made->update();
    const fpRect bounds = label.textMesh()->bounds;
    const fpVector2 centre{bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
    const fpMatrix4 plain = label.transform();
    EXPECT_FLOAT_EQ(plain[12], -100.0f) << "placed at the hit area's corner";

    label.textScale = 2.0f;
    made->update();
    const fpMatrix4& scaled = label.transform();
    EXPECT_FLOAT_EQ(scaled[0], 2.0f);
    // The centre stays where it was drawn.
    EXPECT_FLOAT_EQ(scaled[0] * centre.x + scaled[12], plain[0] * centre.x + plain[12]);
    EXPECT_FLOAT_EQ(scaled[5] * centre.y + scaled[13], plain[5] * centre.y + plain[13]);

    label.textScale = 1.0f;
    made->update();
    const float firstGlyphX = label.textMesh()->quads.front().x;
    const std::size_t glyphs = label.textMesh()->quads.size();
    label.node()->setPosition(30.0f, -50.0f);
    made->update();
    EXPECT_FLOAT_EQ(label.transform()[12], -70.0f);
    ASSERT_EQ(label.textMesh()->quads.size(), glyphs);
    EXPECT_EQ(label.textMesh()->quads.front().x, firstGlyphX) << "not aligned again";
}

} // namespace
} // namespace zor
