#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zor {
namespace {

using test::Pixel;

constexpr PackedColor kWhite(0xFFFFFFFFu);

PackedColor packed(const Pixel& p) { return PackedColor::fromChannels(p.r, p.g, p.b, p.a); }

// A nearest-sampled texture of the given RGBA pixels, rows top to bottom.
std::shared_ptr<Texture> textureOf(int width, int height, const std::vector<Pixel>& pixels) {
    auto texture = Texture::createDynamic(PixelFormatRGBA8, iVector2(width, height), TextureSampling{});
    texture->uploadPixels(pixels.data());
    return texture;
}

class QuadBatchTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        VertexBufferPool::init();
        useTargetAsScreen(target);
        batch = std::make_unique<QuadBatch>(16);
        clearTo({0, 0, 0, 255});
    }
    void TearDown() override {
        batch.reset();
        VertexBufferPool::shutdown();
        GLTest::TearDown();
    }

    void clearTo(const Pixel& background) {
        bindTarget(target);
        setBlendMode(0);
        clearToColor(packed(background));
    }

    // Draws the texture over the whole 8 x 8 target.
    void cover(const Texture& texture, const PackedColor& color = kWhite) {
        batch->drawRegion(texture, {0, 0}, fpRect(0, 0, texture.width(), texture.height()), color, 0, 0.0f, {0, 0},
                          {8.0f / texture.width(), 8.0f / texture.height()}, 0, 0.0f);
    }

    Pixel at(int x, int y) { return pixelAt(target, x, y); }

    RenderTarget target{8, 8};
    std::unique_ptr<QuadBatch> batch;
};

TEST_F(QuadBatchTest, DrawsATexturedQuadWhereItsCornersSay) {
    const Pixel red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255}, white{255, 255, 255, 255};
    const auto texture = textureOf(2, 2, {red, green, blue, white});
    batch->begin();
    // Scaled 2x, its top-left corner at (2, 2): covers pixels 2 to 5.
    batch->drawRegion(*texture, {2, 2}, fpRect(0, 0, 2, 2), kWhite, 0, 0.0f, {0, 0}, {2, 2}, 0, 0.0f);
    batch->flush(0);

    EXPECT_EQ(at(2, 2), red);
    EXPECT_EQ(at(3, 3), red);
    EXPECT_EQ(at(4, 2), green);
    EXPECT_EQ(at(2, 4), blue);
    EXPECT_EQ(at(5, 5), white);
    for (const auto& outside : {std::pair{1, 1}, {6, 2}, {2, 6}, {6, 6}})
        EXPECT_EQ(at(outside.first, outside.second), (Pixel{0, 0, 0, 255}));
}

TEST_F(QuadBatchTest, EachTextureRunIsOneDrawCallOfTwoTrianglesAQuadInTheOverlay) {
    const auto red = textureOf(1, 1, {{255, 0, 0, 255}});
    const auto green = textureOf(1, 1, {{0, 255, 0, 255}});
    takeDrawCounts();
    batch->begin();
    cover(*red);
    cover(*red);
    cover(*green);
    batch->flush(0);
    batch->begin();
    cover(*green);
    batch->flush(FlushNoDraw);
    EXPECT_EQ(takeDrawCounts(), (std::pair<std::string, std::string>("dcall: 2", " tris: 6")));
}

TEST_F(QuadBatchTest, AModelViewRotationDrawsAsTheProgramBuiltIt) {
    const auto texture = textureOf(1, 1, {{255, 255, 255, 255}});
    batch->begin();
    // A quarter turn about the origin after moving right: the quad at (1..3, 0..2) lands
    // at x -2..0, moved right by 8: pixels 6 and 7, rows 1 and 2.
    fpMatrix4 turn;
    turn[0] = 0, turn[1] = 1, turn[4] = -1, turn[5] = 0, turn[12] = 8;
    batch->transformBlock.modelView = turn;
    batch->drawRegion(*texture, {1, 0}, fpRect(0, 0, 1, 1), kWhite, 0, 0.0f, {0, 0}, {2, 2}, 0, 0.0f);
    batch->flush(0);
    EXPECT_EQ(at(6, 1), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(at(7, 2), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(at(5, 1), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(at(6, 3), (Pixel{0, 0, 0, 255}));
}

// The blend factors of each mode applied by hand, channels in [0, 1].
Pixel blendByHand(int mode, const Pixel& source, const Pixel& destination) {
    const auto channel = [mode](float s, float d, float sa) {
        switch (mode) {
        case 0: return s;
        case 1:
        case 5: return s + d * (1 - sa);
        case 2: return s + d;
        case 3: return d - s;
        case 4: return s * sa + d * (1 - sa);
        case 6: return s * d;
        case 7: return 2 * s * d;
        case 8: return std::max(s, d);
        }
        return -1.0f;
    };
    const auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    const float sa = source.a / 255.0f;
    const auto mix = [&](std::uint8_t s, std::uint8_t d) { return byte(channel(s / 255.0f, d / 255.0f, sa)); };
    return {mix(source.r, destination.r), mix(source.g, destination.g), mix(source.b, destination.b),
            mix(source.a, destination.a)};
}

TEST_F(QuadBatchTest, EachBlendModeCombinesWithTheBackgroundAsItsTableSays) {
    const Pixel background{102, 153, 204, 230};
    const Pixel source{128, 64, 192, 128};
    const auto texture = textureOf(1, 1, {source});
    for (int mode = 0; mode <= 8; ++mode) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        clearTo(background);
        batch->begin();
        batch->blendMode = mode;
        cover(*texture);
        batch->flush(0);
        EXPECT_TRUE(test::nearPixel(at(4, 4), blendByHand(mode, source, background), 2))
            << testing::PrintToString(at(4, 4)) << " vs " << testing::PrintToString(blendByHand(mode, source, background));
    }
}

TEST_F(QuadBatchTest, UnknownBlendModesKeepTheBlendStateAsItWas) {
    const Pixel background{102, 153, 204, 230};
    const Pixel source{128, 64, 192, 128};
    const auto texture = textureOf(1, 1, {source});
    for (const int mode : {9, -1}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        clearTo(background);
        setBlendMode(2);
        batch->begin();
        batch->blendMode = mode;
        cover(*texture);
        batch->flush(0);
        EXPECT_TRUE(test::nearPixel(at(4, 4), blendByHand(2, source, background), 2));
    }
    // Mode 0 switches blending off and leaves the factors of the mode before.
    setBlendMode(7);
    setBlendMode(0);
    GLint source7 = 0, destination7 = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &source7);
    glGetIntegerv(GL_BLEND_DST_RGB, &destination7);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(source7, GL_DST_COLOR);
    EXPECT_EQ(destination7, GL_SRC_COLOR);
}

TEST_F(QuadBatchTest, FlushFlagsUploadWithoutDrawingOrKeepTheQuadsForMoreDraws) {
    const Pixel grey{60, 60, 60, 255};
    const auto texture = textureOf(1, 1, {grey});
    const Pixel black{0, 0, 0, 255};

    // Flag 1: uploaded, not drawn, emptied; the buffer waits for the next frame.
    batch->begin();
    cover(*texture);
    batch->flush(FlushNoDraw);
    EXPECT_EQ(at(4, 4), black);
    EXPECT_EQ(batch->count(), 0);
    EXPECT_EQ(batch->vertexBuffer(), nullptr);
    EXPECT_EQ(VertexBufferPool::stats().waiting, 1u);

    // Flags 3: uploaded and kept; two additive draws of the same quads, the last empties.
    batch->begin();
    batch->blendMode = 2;
    cover(*texture);
    batch->flush(FlushNoDraw | FlushKeep);
    EXPECT_EQ(at(4, 4), black);
    EXPECT_EQ(batch->count(), 1);
    ASSERT_NE(batch->vertexBuffer(), nullptr);
    batch->drawRuns(FlushKeep);
    batch->drawRuns(0);
    EXPECT_EQ(at(4, 4), (Pixel{120, 120, 120, 255}));
    EXPECT_EQ(batch->count(), 0);
    EXPECT_TRUE(batch->runs().empty());
    EXPECT_EQ(VertexBufferPool::stats().waiting, 2u);

    // Nothing queued: nothing acquired.
    batch->flush(0);
    EXPECT_EQ(VertexBufferPool::stats().total, 2u);
}

// Where the driver maps buffers, a begun batch writes its quads straight into a pooled
// buffer with room for its capacity; quads queued after a flush without begin are copied.
TEST_F(QuadBatchTest, ABegunBatchWritesIntoAMappedBufferItThenDrawsFrom) {
    if (!(GLEW_VERSION_3_0 || GLEW_ARB_map_buffer_range)) GTEST_SKIP() << "the driver maps no buffers";
    const Pixel green{0, 255, 0, 255};
    const auto texture = textureOf(1, 1, {green});
    batch->begin();
    ASSERT_NE(batch->vertexBuffer(), nullptr);
    EXPECT_GE(batch->vertexBuffer()->size, 16u * sizeof(Quad));
    cover(*texture);
    batch->flush(0);
    EXPECT_EQ(at(4, 4), green);
    EXPECT_EQ(batch->vertexBuffer(), nullptr);
    EXPECT_EQ(VertexBufferPool::stats().waiting, 1u);

    // Begun and flushed without quads: the buffer goes back at once, nothing is drawn.
    clearTo({0, 0, 0, 255});
    batch->begin();
    batch->flush(0);
    EXPECT_EQ(at(4, 4), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(VertexBufferPool::stats().waiting, 2u);

    // After a flush, quads queued without begin are copied at the next flush.
    batch->begin();
    batch->flush(0);
    cover(*texture);
    EXPECT_EQ(batch->vertexBuffer(), nullptr);
    batch->flush(0);
    EXPECT_EQ(at(4, 4), green);
}

TEST_F(QuadBatchTest, OnlyBeginMakesTheFirstQuadOfAFlushOpenARun) {
    const Pixel red{255, 0, 0, 255};
    const auto texture = textureOf(1, 1, {red});
    batch->begin();
    cover(*texture);
    batch->flush(0);
    clearTo({0, 0, 0, 255});

    // Same texture again without begin: the batch still thinks it is current.
    cover(*texture);
    EXPECT_TRUE(batch->runs().empty());
    batch->flush(0);
    EXPECT_EQ(at(4, 4), (Pixel{0, 0, 0, 255}));

    batch->begin();
    cover(*texture);
    batch->flush(0);
    EXPECT_EQ(at(4, 4), red);
}

TEST_F(QuadBatchTest, ATextureNotYetUploadedDrawsOnlyAfterAnotherTexture) {
    const Pixel white{255, 255, 255, 255};
    const auto texture = textureOf(1, 1, {{255, 0, 0, 255}});
    const Texture pending(std::make_shared<Texture::CachedTexture>());  // GL name 0
    pending.cached()->width = pending.cached()->height = 1;
    pending.cached()->reciprocalWidth = pending.cached()->reciprocalHeight = 1;

    clearTo(white);
    batch->begin();
    batch->drawRegion(pending, {0, 0}, fpRect(0, 0, 1, 1), kWhite, 0, 0.0f, {0, 0}, {8, 8}, 0, 0.0f);
    batch->flush(0);
    EXPECT_EQ(at(4, 4), white);

    batch->begin();
    batch->drawRegion(*texture, {0, 0}, fpRect(0, 0, 1, 1), kWhite, 0, 0.0f, {0, 0}, {4, 8}, 0, 0.0f);
    batch->drawRegion(pending, {4, 0}, fpRect(0, 0, 1, 1), kWhite, 0, 0.0f, {0, 0}, {4, 8}, 0, 0.0f);
    batch->flush(0);
    EXPECT_EQ(at(1, 4), (Pixel{255, 0, 0, 255}));
    // With no texture bound the sampler reads opaque black.
    EXPECT_EQ(at(6, 4), (Pixel{0, 0, 0, 255}));
}

} // namespace
} // namespace zor
