#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/io/Files.h"
#include "Framework/graphics/texture/Texture.h"
#include "game/ui/KeyTextures.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/gl/GLTestContext.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

class KeyTexturesTest : public test::GLTest {};

TEST_F(KeyTexturesTest, TheNineShippedKeysLoadAndGoWithTheShutdownList) {
    if (!SystemEvents::exists()) new SystemEvents();
    initFileSystem("BundlePC");
    test::LogCapture log;
    loadKeyTextures();
    pumpRenderQueue();
    EXPECT_TRUE(log.errors.empty()) << log.errors.front();
    for (int number = 1; number <= KeyTextureCount; ++number) {
        const std::shared_ptr<Texture> texture = keyTexture(number);
        ASSERT_NE(texture, nullptr) << number;
        EXPECT_EQ(texture->cached()->name, "Textures/key_" + std::to_string(number) + ".png");
        EXPECT_EQ(texture->cached()->pixelWidth, 48) << number;
        EXPECT_NE(texture->glTexture(), 0u) << number;
    }
    EXPECT_EQ(keyTexture(0), nullptr);
    EXPECT_EQ(keyTexture(KeyTextureCount + 1), nullptr);

    SystemEvents::instance().shutdown.fire();
    for (int number = 1; number <= KeyTextureCount; ++number) EXPECT_EQ(keyTexture(number), nullptr) << number;
}

} // namespace
} // namespace zor
