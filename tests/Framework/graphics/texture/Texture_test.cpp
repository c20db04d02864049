#include "Framework/core/localization/LocalizedFileName.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/graphics/texture/TextureCache.h"
#include "tests/Framework/graphics/texture/PngFixtures.h"
#include "tests/Framework/graphics/texture/TempGameData.h"
#include "tests/support/common/LogCapture.h"

#include <gtest/gtest.h>

#include <thread>

namespace zor {
namespace {

using test::PngSpec;
using test::writePng;

using test::LogCapture;

// No GL here: these tests run on a thread that is not the render thread and with no render
// queue, so uploads are dropped and every GL name stays 0.
class TextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        textureScale = 1.0f / 3.0f;
        data.write("Textures/wide.png", writePng(PngSpec(64, 32, PNG_COLOR_TYPE_RGBA, 8,
                                                          std::vector<std::uint8_t>(64 * 32 * 4, 90))));
        data.write("Textures/broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
    }
    void TearDown() override {
        Texture::purgeCache();
        textureScale = 1.0f;
        setLocalizedFileSuffix("");
    }

    test::TempGameData data;
};

TEST_F(TextureTest, FileTexturesAreSizedInLayoutUnitsUnlessRaw) {
    {
        const Texture scaled("Textures/wide.png", false, {});
        EXPECT_EQ(scaled.cached()->pixelWidth, 64);
        EXPECT_EQ(scaled.cached()->pixelHeight, 32);
        EXPECT_FLOAT_EQ(scaled.width(), 64.0f / 3.0f);
        EXPECT_FLOAT_EQ(scaled.height(), 32.0f / 3.0f);
        EXPECT_FLOAT_EQ(scaled.reciprocalWidth(), 3.0f / 64.0f);
        EXPECT_FLOAT_EQ(scaled.reciprocalHeight(), 3.0f / 32.0f);
        EXPECT_EQ(scaled.cached()->channels, 4);
        EXPECT_TRUE(scaled.cached()->alpha);
        EXPECT_EQ(scaled.cached()->name, "Textures/wide.png");
    }
    // The path is the cache key whatever the scaling: a raw load shares a scaled record
    // until a purge has dropped it.
    Texture::purgeCache();
    const Texture raw("Textures/wide.png", true, {});
    EXPECT_FLOAT_EQ(raw.width(), 64.0f);
    EXPECT_FLOAT_EQ(raw.height(), 32.0f);
    EXPECT_FLOAT_EQ(raw.reciprocalWidth(), 1.0f / 64.0f);
}

TEST_F(TextureTest, LocalisedNamesPickTheLanguageFileUnlessRaw) {
    data.write("Textures/wide_xx.png",
               writePng(PngSpec(8, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<std::uint8_t>(8 * 4 * 3, 1))));
    setLocalizedFileSuffix("_xx");
    const Texture localised("Textures/wide.png", false, {});
    EXPECT_EQ(localised.cached()->name, "Textures/wide_xx.png");
    EXPECT_EQ(localised.cached()->pixelWidth, 8);
    const Texture raw("Textures/wide.png", true, {});
    EXPECT_EQ(raw.cached()->pixelWidth, 64);
}

TEST_F(TextureTest, UnreadableFilesBecomeALoggedPlaceholder) {
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"Textures/missing.png", "missing"},
        {"Textures/broken.png", "not a PNG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        const Texture texture(c.name, false, {});
        EXPECT_EQ(texture.cached()->pixelWidth, 256);
        EXPECT_EQ(texture.cached()->pixelHeight, 256);
        EXPECT_FLOAT_EQ(texture.width(), 256.0f / 3.0f);
        EXPECT_EQ(texture.cached()->channels, 4);
        // A warning: the game survives it, so start-up must not end in the error state.
        EXPECT_TRUE(log.errors.empty());
        ASSERT_FALSE(log.warnings.empty());
        EXPECT_NE(log.warnings[0].find(c.name), std::string::npos) << log.warnings[0];
        EXPECT_NE(log.warnings[0].find(c.reason), std::string::npos) << log.warnings[0];
    }
}

TEST(TexturePlaceholder, IsAnOpaqueMagentaAndBlackCheckerboard) {
    const DecodedImage image = placeholderImage();
    ASSERT_EQ(image.pixels->size(), 256u * 256u * 4u);
    const auto pixel = [&image](int x, int y) {
        const std::uint8_t* p = image.pixels->data() + (std::size_t(y) * 256 + x) * 4;
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    const std::vector<int> magenta{255, 0, 255, 255}, black{0, 0, 0, 255};
    EXPECT_EQ(pixel(0, 0), magenta);
    EXPECT_EQ(pixel(31, 31), magenta);
    EXPECT_EQ(pixel(32, 0), black);
    EXPECT_EQ(pixel(0, 32), black);
    EXPECT_EQ(pixel(32, 32), magenta);
    EXPECT_EQ(pixel(255, 255), magenta);
}

TEST_F(TextureTest, LoadsOfOnePathShareOneRecordUntilPurged) {
    auto first = std::make_unique<Texture>("Textures/wide.png", false, TextureSampling{});
    auto second = std::make_unique<Texture>("Textures/wide.png", false, TextureSampling{1, 1, 1, 1});
    EXPECT_EQ(first->cached(), second->cached());
    EXPECT_EQ(TextureCache::size(), 1u);

    // Held entries survive any number of purges; once nothing holds the record, it goes.
    const std::weak_ptr<Texture::CachedTexture> record = first->cached();
    first.reset();
    Texture::purgeCache();
    Texture::purgeCache();
    EXPECT_EQ(TextureCache::size(), 1u);
    second.reset();
    EXPECT_FALSE(record.expired());
    Texture::purgeCache();
    EXPECT_EQ(TextureCache::size(), 0u);
    EXPECT_TRUE(record.expired());
}

TEST_F(TextureTest, APurgeDropsEveryUnheldEntryAndALaterLoadDecodesAgain) {
    Texture::purgeCache();  // an empty cache purges to nothing
    EXPECT_EQ(TextureCache::size(), 0u);
    data.write("Textures/b.png", writePng(PngSpec(2, 2, PNG_COLOR_TYPE_GRAY, 8, {1, 2, 3, 4})));
    std::weak_ptr<Texture::CachedTexture> first;
    {
        const Texture a("Textures/wide.png", false, {});
        const Texture b("Textures/b.png", false, {});
        const Texture c("Textures/broken.png", false, {});
        first = a.cached();
    }
    const Texture kept("Textures/b.png", false, {});
    EXPECT_EQ(TextureCache::size(), 3u);
    Texture::purgeCache();
    EXPECT_EQ(TextureCache::size(), 1u);
    EXPECT_TRUE(first.expired());

    const Texture again("Textures/wide.png", false, {});
    EXPECT_EQ(TextureCache::size(), 2u);
    EXPECT_EQ(again.cached()->pixelWidth, 64);
}

TEST_F(TextureTest, ALoadAwayFromTheRenderThreadPostsItsUpload) {
    PumpedWorkQueue queue;
    setRenderQueue(&queue);
    std::unique_ptr<Texture> loaded;
    std::thread worker([&loaded] { loaded = std::make_unique<Texture>("Textures/wide.png", false, TextureSampling{}); });
    worker.join();
    setRenderQueue(nullptr);
    EXPECT_EQ(loaded->cached()->pixelWidth, 64);
    EXPECT_FLOAT_EQ(loaded->width(), 64.0f / 3.0f);
    EXPECT_EQ(loaded->glTexture(), 0u);
    EXPECT_TRUE(queue.hasPendingWork());
}

} // namespace
} // namespace zor
