#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

using test::fakeTexture;

constexpr PackedColor kRed(0xFF0000FFu);
constexpr PackedColor kWhite(0xFFFFFFFFu);
constexpr float kHalfPi = 1.5707964f;

struct Corner {
    float x, y, z;
};

void expectCorners(const Quad& quad, const Corner (&expected)[4]) {
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("vertex " + std::to_string(i));
        EXPECT_NEAR(quad.vertices[i].x, expected[i].x, 1e-4f);
        EXPECT_NEAR(quad.vertices[i].y, expected[i].y, 1e-4f);
        EXPECT_NEAR(quad.vertices[i].z, expected[i].z, 1e-4f);
    }
}

TEST(Transform2D, IsTranslationTimesRotationTimesScale) {
    const fpMatrix4 plain = makeTransform2D(5, 6, 7, 2, 3, 4, 0.0f);
    const float expectedPlain[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 5, 6, 7, 1};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(plain[i], expectedPlain[i]) << i;

    const fpMatrix4 turned = makeTransform2D(5, 6, 7, 2, 3, 4, kHalfPi);
    const float expectedTurned[16] = {0, 2, 0, 0, -3, 0, 0, 0, 0, 0, 4, 0, 5, 6, 7, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(turned[i], expectedTurned[i], 1e-6f) << i;
}

TEST(CommonBatch, TransformsTheFourCornersAroundThePivot) {
    auto texture = fakeTexture(1, 64, 64);
    const fpRect source(0, 0, 20, 10);
    const struct {
        const char* name;
        fpMatrix4 batchTransform;
        fpMatrix4 transform;
        fpVector2 pivot;
        unsigned flags;
        Corner corners[4];
    } cases[] = {
        {"identity", fpMatrix4(), fpMatrix4(), {0, 0}, 0, {{0, 0, 0}, {0, 10, 0}, {20, 0, 0}, {20, 10, 0}}},
        {"pivot", fpMatrix4(), fpMatrix4(), {5, 2}, 0, {{-5, -2, 0}, {-5, 8, 0}, {15, -2, 0}, {15, 8, 0}}},
        {"placed, scaled and deep", fpMatrix4(), makeTransform2D(100, 50, 0.5f, 2, 3, 1, 0), {0, 0}, 0,
         {{100, 50, 0.5f}, {100, 80, 0.5f}, {140, 50, 0.5f}, {140, 80, 0.5f}}},
        {"quarter turn", fpMatrix4(), makeTransform2D(0, 0, 0, 1, 1, 1, kHalfPi), {0, 0}, 0,
         {{0, 0, 0}, {-10, 0, 0}, {0, 20, 0}, {-10, 20, 0}}},
        // The batch transform applies after the command's own.
        {"batch transform outside", fpMatrix4::scaling(2, 2, 1), fpMatrix4::translation(1, 1, 0), {0, 0}, 0,
         {{2, 2, 0}, {2, 22, 0}, {42, 2, 0}, {42, 22, 0}}},
        {"snapped halves go away from zero", fpMatrix4(), fpMatrix4::translation(10.5f, -2.5f, 0.25f), {0, 0},
         QuadSnap, {{11, -3, 0.25f}, {11, 8, 0.25f}, {31, -3, 0.25f}, {31, 8, 0.25f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CommonBatch batch(4, 0.0f);
        batch.setTransform(c.batchTransform);
        batch.drawMatrix(*texture, c.transform, source, kRed, 0, c.pivot, c.flags);
        ASSERT_EQ(batch.count(), 1);
        expectCorners(batch.quads()[0], c.corners);
        for (const Vertex& v : batch.quads()[0].vertices) EXPECT_EQ(v.color, kRed);
    }
}

TEST(CommonBatch, TextureCoordinatesFollowTheSourceAndTheMirrorFlags) {
    // Reciprocal size 1/64 in both directions.
    auto texture = fakeTexture(1, 64, 64);
    const fpRect source(0, 0, 32, 16);
    const struct {
        unsigned flags;
        float uv[4][2];
    } cases[] = {
        {0, {{0, 0}, {0, 0.25f}, {0.5f, 0}, {0.5f, 0.25f}}},
        {QuadMirrorX, {{0.5f, 0}, {0.5f, 0.25f}, {0, 0}, {0, 0.25f}}},
        {QuadMirrorY, {{0, 0.25f}, {0, 0}, {0.5f, 0.25f}, {0.5f, 0}}},
        {QuadMirrorX | QuadMirrorY, {{0.5f, 0.25f}, {0.5f, 0}, {0, 0.25f}, {0, 0}}},
        {8 | 16, {{0, 0}, {0, 0.25f}, {0.5f, 0}, {0.5f, 0.25f}}},  // unknown bits are ignored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags));
        CommonBatch batch(1, 0.0f);
        batch.drawMatrix(*texture, fpMatrix4(), source, kWhite, 0, {}, c.flags);
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(batch.quads()[0].vertices[i].u, c.uv[i][0]) << "vertex " << i;
            EXPECT_FLOAT_EQ(batch.quads()[0].vertices[i].v, c.uv[i][1]) << "vertex " << i;
        }
    }

    // A source inside the texture maps to its part of the coordinates.
    CommonBatch batch(1, 0.0f);
    batch.drawMatrix(*texture, fpMatrix4(), fpRect(16, 32, 16, 8), kWhite, 0, {}, 0);
    EXPECT_FLOAT_EQ(batch.quads()[0].vertices[0].u, 0.25f);
    EXPECT_FLOAT_EQ(batch.quads()[0].vertices[0].v, 0.5f);
    EXPECT_FLOAT_EQ(batch.quads()[0].vertices[3].u, 0.5f);
    EXPECT_FLOAT_EQ(batch.quads()[0].vertices[3].v, 0.625f);
}

TEST(CommonBatch, ShortDrawingFormsUseTheWholeTextureAtTheBatchDepth) {
    auto texture = fakeTexture(1, 20, 10);
    CommonBatch batch(8, 0.75f);
    batch.drawAt(*texture, {3, 4}, kRed);
    batch.drawWhite(*texture, {3, 4});
    batch.drawRotated(*texture, {0, 0}, kHalfPi);
    batch.drawTexture(*texture, {1, 1}, kRed, 0, 0.0f, {10, 5}, {2, 2}, 0, -1.0f);
    batch.drawRegion(*texture, {0, 0}, fpRect(0, 0, 4, 4), kRed, 0, 0.0f, {0, 0}, {1, 1}, 0, 0.0f);
    batch.addTexturedRect(*texture, fpRect(1, 2, 3, 4), fpRect(0, 0, 20, 10), kRed, 0.5f);
    ASSERT_EQ(batch.count(), 6);

    const Quad* q = batch.quads();
    expectCorners(q[0], {{3, 4, 0.75f}, {3, 14, 0.75f}, {23, 4, 0.75f}, {23, 14, 0.75f}});
    EXPECT_EQ(q[0].vertices[0].color, kRed);
    EXPECT_EQ(q[1].vertices[0].color, kWhite);
    expectCorners(q[2], {{0, 0, 0.75f}, {-10, 0, 0.75f}, {0, 20, 0.75f}, {-10, 20, 0.75f}});
    EXPECT_EQ(q[2].vertices[3].color, kWhite);
    expectCorners(q[3], {{-19, -9, -1}, {-19, 11, -1}, {21, -9, -1}, {21, 11, -1}});
    EXPECT_FLOAT_EQ(q[3].vertices[3].u, 1.0f);
    EXPECT_FLOAT_EQ(q[4].vertices[3].u, 0.2f);
    EXPECT_FLOAT_EQ(q[4].vertices[3].v, 0.4f);
    expectCorners(q[5], {{1, 2, 0.5f}, {1, 6, 0.5f}, {4, 2, 0.5f}, {4, 6, 0.5f}});
    EXPECT_FLOAT_EQ(q[5].vertices[3].u, 1.0f);
}

TEST(CommonBatch, ConsecutiveQuadsOfOneTextureShareARun) {
    auto a = fakeTexture(1, 8, 8);
    auto b = fakeTexture(2, 8, 8);
    auto sameNameAsA = fakeTexture(1, 8, 8);
    auto notUploaded = fakeTexture(0, 8, 8);
    const struct {
        const char* name;
        std::vector<const Texture*> textures;
        std::vector<TextureRun> runs;
    } cases[] = {
        {"A A B", {a.get(), a.get(), b.get()}, {{0, a.get()}, {2, b.get()}}},
        {"A B A", {a.get(), b.get(), a.get()}, {{0, a.get()}, {1, b.get()}, {2, a.get()}}},
        // Runs follow GL names, not handles.
        {"A A' B", {a.get(), sameNameAsA.get(), b.get()}, {{0, a.get()}, {2, b.get()}}},
        // A texture not uploaded yet shares the "no texture" state of a fresh batch...
        {"unuploaded first", {notUploaded.get(), a.get()}, {{1, a.get()}}},
        // ...but after another texture it opens a run of its own.
        {"unuploaded after A", {a.get(), notUploaded.get()}, {{0, a.get()}, {1, notUploaded.get()}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CommonBatch batch(16, 0.0f);
        for (const Texture* t : c.textures) batch.drawWhite(*t, {});
        ASSERT_EQ(batch.runs().size(), c.runs.size());
        for (std::size_t i = 0; i < c.runs.size(); ++i) {
            EXPECT_EQ(batch.runs()[i].firstQuad, c.runs[i].firstQuad) << "run " << i;
            EXPECT_EQ(batch.runs()[i].texture, c.runs[i].texture) << "run " << i;
        }
    }
}

TEST(CommonBatch, QuadsPastCapacityAreCountedAndLeaveQuadsAndRunsAlone) {
    auto a = fakeTexture(1, 8, 8);
    auto b = fakeTexture(2, 8, 8);
    CommonBatch batch(2, 0.0f);
    batch.drawAt(*a, {1, 1}, kRed);
    batch.drawAt(*a, {2, 2}, kRed);
    const Quad second = batch.quads()[1];
    batch.drawAt(*b, {3, 3}, kWhite);
    Quad ready{};
    batch.addQuad(ready);

    EXPECT_EQ(batch.count(), 2);
    ASSERT_EQ(batch.runs().size(), 1u);
    EXPECT_EQ(batch.droppedQuads(), 2u);
    EXPECT_EQ(batch.quads()[1].vertices[0].x, second.vertices[0].x);
    EXPECT_EQ(batch.quads()[1].vertices[0].color, kRed);
}

TEST(CommonBatch, ReadyMadeQuadsJoinTheLastRunAndDiscardingEmptiesTheBatch) {
    auto a = fakeTexture(1, 8, 8);
    CommonBatch batch(4, 0.0f);
    batch.drawWhite(*a, {});
    Quad ready{};
    ready.vertices[3].x = 42;
    batch.addQuad(ready);
    EXPECT_EQ(batch.count(), 2);
    EXPECT_EQ(batch.runs().size(), 1u);
    EXPECT_EQ(batch.quads()[1].vertices[3].x, 42);

    batch.discardQuads();
    EXPECT_EQ(batch.count(), 0);
    EXPECT_TRUE(batch.runs().empty());
    // The current texture survives: the same texture again opens no run.
    batch.drawWhite(*a, {});
    EXPECT_TRUE(batch.runs().empty());
}

TEST(CommonBatch, SetTextureOpensARunOnlyWhereTheTextureChanges) {
    auto a = fakeTexture(1, 8, 8);
    auto sameName = fakeTexture(1, 8, 8);
    auto b = fakeTexture(2, 8, 8);
    CommonBatch batch(8, 0.0f);
    Quad ready{};
    // The first texture opens a run even after a discard kept the current GL name.
    batch.setTexture(*a);
    batch.addQuad(ready);
    batch.discardQuads();
    batch.setTexture(*a);
    batch.addQuad(ready);
    ASSERT_EQ(batch.runs().size(), 1u);
    // Another handle on the same GL texture continues the run; drawing with it too.
    batch.setTexture(*sameName);
    batch.addQuad(ready);
    batch.drawWhite(*sameName, {});
    EXPECT_EQ(batch.runs().size(), 1u);
    // A run that got no quad takes the next texture: runs never outnumber the quads.
    batch.setTexture(*b);
    batch.setTexture(*a);
    batch.setTexture(*b);
    batch.addQuad(ready);
    ASSERT_EQ(batch.runs().size(), 2u);
    EXPECT_EQ(batch.runs()[1].firstQuad, 3);
    EXPECT_EQ(batch.runs()[1].texture, b.get());
    // Quads drawn afterwards with the texture set join its run.
    batch.drawWhite(*b, {});
    EXPECT_EQ(batch.runs().size(), 2u);
    EXPECT_EQ(batch.count(), 5);
}

} // namespace
} // namespace zor
