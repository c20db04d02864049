#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/text/TextMesh.h"
#include "tests/Framework/graphics/batch/InterfaceOnlyBatch.h"
#include "tests/Framework/graphics/font/TestFonts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

class TextMeshDraw : public ::testing::Test {
protected:
    void SetUp() override { setTextPixelSnap(false); }
    void TearDown() override { setTextPixelSnap(true); }

    std::unique_ptr<Font> font = test::tableFont();
    CommonBatch batch{64, 0.0f};
};

TEST_F(TextMeshDraw, EachGlyphIsDrawnAtItsAlignedPlaceWithItsSourceRectangle) {
    const TextMeshPtr mesh = Font::buildTextLine(*font, "AB", fpRect(10, 20, 200, 100), CompassAnchor::NorthWest);
    const PackedColor color(0x80FF00FFu);
    mesh->draw(batch, color, fpMatrix4::translation(100, 0, 0));
    ASSERT_EQ(batch.count(), 2);
    const Quad& a = batch.quads()[0];
    // Top-left at the transform + box corner + glyph offset (0, 1); 6 x 8 units.
    EXPECT_EQ(a.vertices[0].x, 110.0f);
    EXPECT_EQ(a.vertices[0].y, 21.0f);
    EXPECT_EQ(a.vertices[3].x, 116.0f);
    EXPECT_EQ(a.vertices[3].y, 29.0f);
    // 'A' is the 33rd glyph after '!' on a page 2048 wide, 8 units per glyph.
    EXPECT_FLOAT_EQ(a.vertices[0].u, 256.0f / 2048.0f);
    EXPECT_FLOAT_EQ(a.vertices[3].u, 262.0f / 2048.0f);
    EXPECT_FLOAT_EQ(a.vertices[3].v, 8.0f / 16.0f);
    EXPECT_EQ(a.vertices[0].color, color);
    EXPECT_EQ(batch.quads()[1].vertices[0].x, 117.0f);
    EXPECT_EQ(batch.runs().front().texture, font->texture.get());
}

TEST_F(TextMeshDraw, TheShownGlyphCountLimitsWhatIsDrawn) {
    const TextMeshPtr mesh = Font::buildTextLine(*font, "ABC", fpRect(0, 0, 100, 100), CompassAnchor::NorthWest);
    const struct {
        std::int32_t shown;
        int drawn;
    } cases[] = {{-1, 3}, {0, 0}, {1, 1}, {3, 3}, {50, 3}};
    for (const auto& c : cases) {
        batch.discardQuads();
        mesh->shownGlyphs = c.shown;
        mesh->draw(batch, PackedColor(0xFFFFFFFFu), fpMatrix4());
        EXPECT_EQ(batch.count(), c.drawn) << c.shown;
    }
}

// A batch with room for only some glyphs takes the first ones, whole, and counts the rest
// as dropped, under a plane and a general batch transform alike.
TEST_F(TextMeshDraw, AFullBatchTakesTheGlyphsItHasRoomForAndCountsTheRest) {
    const TextMeshPtr mesh = Font::buildTextLine(*font, "ABCDE", fpRect(0, 0, 100, 100), CompassAnchor::NorthWest);
    fpMatrix4 projective;
    projective[3] = 0.01f;
    const struct {
        int capacity;
        int queuedBefore;
        int drawn;
    } cases[] = {{8, 0, 5}, {5, 0, 5}, {3, 0, 3}, {4, 2, 2}, {3, 3, 0}};
    for (const fpMatrix4& batchTransform : {fpMatrix4::translation(2.0f, 3.0f, 0.0f), projective}) {
        CommonBatch roomy(16, 0.0f);
        roomy.setTransform(batchTransform);
        mesh->draw(roomy, PackedColor(0xFFFFFFFFu), fpMatrix4());
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.capacity) + " with " + std::to_string(c.queuedBefore));
            CommonBatch small(c.capacity, 0.0f);
            small.setTransform(batchTransform);
            for (int i = 0; i < c.queuedBefore; ++i) small.addTexturedRect(*font->texture, fpRect(0, 0, 1, 1), fpRect(0, 0, 1, 1), PackedColor(0u), 0.0f);
            mesh->draw(small, PackedColor(0xFFFFFFFFu), fpMatrix4());
            ASSERT_EQ(small.count(), c.queuedBefore + c.drawn);
            EXPECT_EQ(small.droppedQuads(), std::uint64_t(5 - c.drawn));
            EXPECT_EQ(std::memcmp(small.quads() + c.queuedBefore, roomy.quads(), std::size_t(c.drawn) * sizeof(Quad)), 0);
        }
    }
}

// The batch's own placement path gives the quads of the matrix path bit for bit, signed
// zeros included, under plane and general batch transforms alike.
TEST_F(TextMeshDraw, TheBatchsOwnPathAndTheInterfaceGiveTheSameQuads) {
    // A centred box leaves fractional offsets (no pixel snap here); a box above the origin
    // puts the first glyph's corner at x 0 and a negative y, where signed zeros show.
    const TextMeshPtr meshes[] = {
        Font::buildTextLine(*font, "AB BA", fpRect(0.3f, -7.45f, 61.7f, 20.1f), CompassAnchor::Centre),
        Font::buildTextLine(*font, "AB BA", fpRect(0.0f, -20.0f, 100.0f, 10.0f), CompassAnchor::NorthWest),
    };
    fpMatrix4 mirroredNegativeZeroMove = fpMatrix4::scaling(-1.0f, 1.0f, 1.0f);
    for (int i = 12; i < 15; ++i) mirroredNegativeZeroMove[i] = -0.0f;
    fpMatrix4 projective;
    projective[3] = 0.01f;
    fpMatrix4 negativeZeroIdentity;
    for (int i : {1, 4, 12, 13}) negativeZeroIdentity[i] = -0.0f;
    const struct {
        const char* name;
        fpMatrix4 matrix;
    } batchTransforms[] = {
        {"identity", fpMatrix4()},
        {"move", fpMatrix4::translation(3.5f, -2.25f, 0.125f)},
        {"camera", makeTransform2D(-123.456f, 78.9f, 0.5f, 1.5f, 0.75f, 3.0f, 0.3f)},
        {"projective", projective},
    };
    const struct {
        const char* name;
        fpMatrix4 matrix;
    } transforms[] = {
        {"identity", fpMatrix4()},
        {"negative-zero move", fpMatrix4::translation(-0.0f, -0.0f, -0.0f)},
        {"identity with negative zeros", negativeZeroIdentity},
        {"move", fpMatrix4::translation(12.5f, -3.25f, 0.5f)},
        {"scale", fpMatrix4::scaling(2.0f, -0.5f, 1.0f)},
        {"mirror", fpMatrix4::scaling(-1.0f, 1.0f, -1.0f)},
        {"mirror with a negative-zero move", mirroredNegativeZeroMove},
        {"turned", makeTransform2D(-40.75f, 18.2f, -0.25f, 1.5f, 0.8f, 1.0f, 0.7f)},
        {"projective", projective},
    };
    const PackedColor color(0x7F800001u);
    for (const TextMeshPtr& mesh : meshes) {
        for (const auto& batchTransform : batchTransforms) {
            for (const auto& transform : transforms) {
                const std::string what = std::string(batchTransform.name) + " x " + transform.name;
                CommonBatch direct(16, 0.0f);
                CommonBatch other(16, 0.0f);
                direct.setTransform(batchTransform.matrix);
                other.setTransform(batchTransform.matrix);
                test::InterfaceOnlyBatch interfaceOnly(other);
                mesh->draw(direct, color, transform.matrix);
                mesh->draw(interfaceOnly, color, transform.matrix);
                ASSERT_EQ(direct.count(), 5) << what;
                ASSERT_EQ(other.count(), 5) << what;
                EXPECT_EQ(std::memcmp(direct.quads(), other.quads(), 5 * sizeof(Quad)), 0) << what;
            }
        }
    }
}

TEST_F(TextMeshDraw, MeshesSharedAcrossThreadsAreFreedOnceByTheLastHolder) {
    std::vector<TextMeshPtr> meshes;
    for (int i = 0; i < 200; ++i) meshes.push_back(Font::buildTextLine(*font, "shared", fpRect(0, 0, 100, 100), CompassAnchor::Centre));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([meshes]() mutable {
            for (int round = 0; round < 50; ++round) {
                std::vector<TextMeshPtr> copies = meshes;
                copies.push_back(Font::buildTextLine(*meshes.front()->font, "mine", fpRect(), CompassAnchor::Centre));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    // A count that is not atomic frees some mesh twice or never; the sanitizers see it.
    meshes.clear();
}

} // namespace
} // namespace zor
