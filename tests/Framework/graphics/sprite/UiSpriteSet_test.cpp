// The shared interface sprite set of the game data, as the build writes it.

#include "Framework/core/io/Files.h"
#include "Framework/graphics/sprite/SpriteDefinition.h"
#include "Framework/graphics/sprite/SpriteManager.h"
#include "Framework/graphics/sprite/SpriteSet.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(UiSpriteSet, EverySpriteBuildsAndShowsItsImages) {
    test::TempFolder user;
    test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    {
        SpriteManager manager("Sprites/ui");
        const SpriteSet& set = manager.spriteSet();
        EXPECT_EQ(set.framesPerSecond, 30u);
        for (const auto& definition : set.definitions) {
            SCOPED_TRACE(definition->name);
            SpritePtr sprite = manager.createSprite(definition->name);
            ASSERT_NE(sprite, nullptr);
            for (const SpriteNodeDefinition& node : definition->nodes) {
                if (node.definition->textureName.empty()) continue;
                Sprite* child = sprite->findDescendant(node.name);
                ASSERT_NE(child, nullptr);
                EXPECT_NE(child->image().texture, nullptr) << node.name;
            }
        }

        SpritePtr button = manager.createSprite("button");
        EXPECT_EQ(button->getAnimationFirstFrame("active"), 20);
        std::vector<fpVector2> hit;
        EXPECT_TRUE(button->getHitShape(hit, false));
        EXPECT_EQ(hit.size(), 4u);
        SpritePtr spinner = manager.createSprite("spinner");
        EXPECT_EQ(spinner->lastFrame(), 11u);
        EXPECT_EQ(spinner->definition()->descendantCount, 7);
    }
    Texture::purgeCache();
}

} // namespace
} // namespace zor
