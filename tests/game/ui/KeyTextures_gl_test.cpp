#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/io/Files.h"
#include "Framework/graphics/texture/Texture.h"
#include "game/ui/KeyTextures.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>
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
        // 2 and 8 repeat across, 4 and 6 down, 5 both ways, the corners clamp.
        const bool across = number == 2 || number == 5 || number == 8;
        const bool down = number == 4 || number == 5 || number == 6;
        glBindTexture(GL_TEXTURE_2D, texture->glTexture());
        GLint wrapS = 0;
        GLint wrapT = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        EXPECT_EQ(wrapS, across ? GL_REPEAT : GL_CLAMP_TO_EDGE) << number;
        EXPECT_EQ(wrapT, down ? GL_REPEAT : GL_CLAMP_TO_EDGE) << number;
    }
    EXPECT_EQ(keyTexture(0), nullptr);
    EXPECT_EQ(keyTexture(KeyTextureCount + 1), nullptr);

    SystemEvents::instance().shutdown.fire();
    for (int number = 1; number <= KeyTextureCount; ++number) EXPECT_EQ(keyTexture(number), nullptr) << number;
}

} // namespace
} // namespace zor
