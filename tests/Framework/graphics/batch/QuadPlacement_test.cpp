// The batch's placement path against the corner maths done the long way: the full 4x4
// product of the batch transform and the quad's transform, then one corner at a time.
// Every vertex must match bit for bit, signed zeros and colour bytes included.
#include "Framework/core/math/Scalar.h"
#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace zor {
namespace {

using test::fakeTexture;

Vertex vertex(float x, float y, float z, PackedColor color, float u, float v) {
    Vertex out;
    out.x = x;
    out.y = y;
    out.z = z;
    out.color = color;
    out.u = u;
    out.v = v;
    return out;
}

// The quad as the long way makes it.
Quad expectedQuad(const fpMatrix4& batchTransform, const fpMatrix4& transform, const fpRect& source,
                  const fpVector2& pivot, const Texture& texture, PackedColor color, unsigned flags) {
    fpMatrix4 m;
    batchTransform.multiply(transform, m);
    const float left = -pivot.x;
    const float top = -pivot.y;
    const float local[4][2] = {{left, top}, {left, top + source.h}, {left + source.w, top}, {left + source.w, top + source.h}};
    float corners[4][3];
    for (int i = 0; i < 4; ++i) {
        const float x = local[i][0];
        const float y = local[i][1];
        corners[i][0] = m[0] * x + m[4] * y + m[12];
        corners[i][1] = m[1] * x + m[5] * y + m[13];
        corners[i][2] = m[2] * x + m[6] * y + m[14];
        if (flags & QuadSnap) {
            corners[i][0] = roundHalfAway(corners[i][0]);
            corners[i][1] = roundHalfAway(corners[i][1]);
        }
    }
    const float rw = texture.reciprocalWidth();
    const float rh = texture.reciprocalHeight();
    float leftU = source.x * rw;
    float rightU = leftU + source.w * rw;
    float topV = source.y * rh;
    float bottomV = topV + source.h * rh;
    if (flags & QuadMirrorX) std::swap(leftU, rightU);
    if (flags & QuadMirrorY) std::swap(topV, bottomV);
    Quad quad;
    quad.vertices[0] = vertex(corners[0][0], corners[0][1], corners[0][2], color, leftU, topV);
    quad.vertices[1] = vertex(corners[1][0], corners[1][1], corners[1][2], color, leftU, bottomV);
    quad.vertices[2] = vertex(corners[2][0], corners[2][1], corners[2][2], color, rightU, topV);
    quad.vertices[3] = vertex(corners[3][0], corners[3][1], corners[3][2], color, rightU, bottomV);
    return quad;
}

std::string describe(const Quad& quad) {
    std::string text;
    for (const Vertex& v : quad.vertices) {
        std::uint32_t bits[6];
        std::memcpy(bits, &v, sizeof bits);
        text += "(" + std::to_string(v.x) + ", " + std::to_string(v.y) + ", " + std::to_string(v.z) + " bits";
        for (std::uint32_t b : bits) text += " " + std::to_string(b);
        text += ") ";
    }
    return text;
}

void expectSameBits(const Quad& actual, const Quad& expected, const std::string& what) {
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof(Quad)), 0)
        << what << "\n  actual   " << describe(actual) << "\n  expected " << describe(expected);
}

fpMatrix4 matrixOf(std::initializer_list<float> columns) {
    fpMatrix4 m;
    int i = 0;
    for (float value : columns) m[i++] = value;
    return m;
}

struct NamedMatrix {
    const char* name;
    fpMatrix4 matrix;
};

// Batch transforms: the identity, moves and scales in the plane (the shortcut), and
// ones that need the 4x4 product.
std::vector<NamedMatrix> batchTransforms() {
    return {
        {"identity", fpMatrix4()},
        {"identity with a negative-zero move", fpMatrix4::translation(-0.0f, -0.0f, -0.0f)},
        {"move", fpMatrix4::translation(3.5f, -2.25f, 0.125f)},
        {"scale", fpMatrix4::scaling(2.0f, 0.5f, 1.0f)},
        {"scale and a negative-zero move", matrixOf({2, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, -0.0f, -0.0f, -0.0f, 1})},
        {"mirror", fpMatrix4::scaling(-1.0f, 1.0f, -1.0f)},
        {"camera", makeTransform2D(-123.456f, 78.9f, 0.5f, 1.5f, 0.75f, 3.0f, 0.3f)},
        {"depth scale", fpMatrix4::scaling(1.0f, 1.0f, -2.0f)},
        {"tilted in depth", matrixOf({1, 0, 0.25f, 0, 0, 1, -0.5f, 0, 0.1f, 0, 1, 0, 5, 6, 7, 1})},
        {"projective", matrixOf({1, 0, 0, 0.01f, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})},
    };
}

// Quad transforms: placements in the plane, and matrices that are not.
std::vector<NamedMatrix> quadTransforms() {
    fpMatrix4 parentTimesChild;
    makeTransform2D(40, 30, 0.25f, -1, 2, 1, 0.7f).multiply(makeTransform2D(-3, 4, 0, 0.5f, -0.5f, 1, -1.9f),
                                                             parentTimesChild);
    return {
        {"identity", fpMatrix4()},
        {"placed", makeTransform2D(100, 50, 0.5f, 2, 3, 1, 0.0f)},
        {"mirrored", makeTransform2D(-7.25f, 0.1f, -0.0f, -1, -2, 1, 0.0f)},
        {"turned", makeTransform2D(12.5f, -3.75f, 0, 1.25f, 0.8f, 1, 1.1f)},
        {"turned the other way", makeTransform2D(0, 0, -1, 1, 1, 1, -2.9f)},
        {"quarter turn", makeTransform2D(0, 0, 0, 1, 1, 1, 1.5707964f)},
        {"negative zero move", fpMatrix4::translation(-0.0f, -0.0f, 0.0f)},
        {"parent times child", parentTimesChild},
        {"tilted in depth", matrixOf({1, 0, 0.5f, 0, 0, 1, 0.25f, 0, 0, 0, 1, 0, 1, 2, 3, 1})},
        {"projective", matrixOf({2, 0, 0, 0, 0, 2, 0, 0.5f, 0, 0, 1, 0, 0, 0, 0, 1})},
    };
}

TEST(QuadPlacement, EveryDrawingPathGivesTheLongWaysVerticesBitForBit) {
    const auto texture = fakeTexture(1, 96, 40);
    const fpRect sources[] = {{0, 0, 20, 10}, {16.5f, 3.25f, 7.75f, 9.5f}, {-0.0f, 0.0f, 3.0f, -2.0f}};
    const fpVector2 pivots[] = {{0, 0}, {5, 2}, {-3.5f, 1.25f}, {0.5f, -0.0f}};
    // Red, white, clear, and bytes that read as a signalling NaN: a colour is only moved.
    const PackedColor colors[] = {PackedColor(0xFF0000FFu), PackedColor(0xFFFFFFFFu), PackedColor(0u),
                                  PackedColor(0x7F800001u)};
    int checked = 0;
    for (const NamedMatrix& batchTransform : batchTransforms()) {
        CommonBatch batch(1, 0.0f);
        batch.setTransform(batchTransform.matrix);
        for (const NamedMatrix& transform : quadTransforms()) {
            for (const fpRect& source : sources) {
                for (const fpVector2& pivot : pivots) {
                    for (unsigned flags = 0; flags < 8; ++flags) {
                        for (const PackedColor& color : colors) {
                            const std::string what = std::string(batchTransform.name) + " x " + transform.name +
                                                     ", flags " + std::to_string(flags);
                            const Quad expected =
                                expectedQuad(batchTransform.matrix, transform.matrix, source, pivot, *texture, color, flags);
                            batch.drawMatrix(*texture, transform.matrix, source, color, 0, pivot, flags);
                            ASSERT_EQ(batch.count(), 1);
                            expectSameBits(batch.quads()[0], expected, "drawMatrix: " + what);
                            batch.discardQuads();
                            if (isPlacement(transform.matrix)) {
                                batch.drawPlaced(*texture, placementOf(transform.matrix), source, pivot, color, flags);
                                expectSameBits(batch.quads()[0], expected, "drawPlaced: " + what);
                                batch.discardQuads();
                            }
                            ++checked;
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(checked, 10 * 10 * 3 * 4 * 8 * 4);
}

TEST(QuadPlacement, ShortDrawingFormsMatchTheirMatrices) {
    const auto texture = fakeTexture(1, 20, 10);
    const fpRect whole(0, 0, 20, 10);
    const PackedColor white(0xFFFFFFFFu);
    const PackedColor red(0xFF0000FFu);
    const struct {
        fpVector2 position, pivot, scale;
        float rotation, depth;
        unsigned flags;
    } cases[] = {
        {{3, 4}, {0, 0}, {1, 1}, 0.0f, 0.0f, 0},
        {{-2.5f, 7}, {10, 5}, {2, -3}, 0.4f, 0.75f, QuadMirrorX | QuadSnap},
        {{0, 0}, {1, 1}, {-1, -1}, -1.25f, -0.0f, QuadMirrorY},
    };
    for (const NamedMatrix& batchTransform : batchTransforms()) {
        for (const auto& c : cases) {
            SCOPED_TRACE(batchTransform.name);
            CommonBatch batch(4, 0.25f);
            batch.setTransform(batchTransform.matrix);
            batch.drawRegion(*texture, c.position, fpRect(2, 1, 6, 4), red, 0, c.rotation, c.pivot, c.scale, c.flags,
                             c.depth);
            batch.drawTexture(*texture, c.position, red, 0, c.rotation, c.pivot, c.scale, c.flags, c.depth);
            batch.drawAt(*texture, c.position, red);
            batch.drawRotated(*texture, c.position, c.rotation);
            const fpMatrix4 placed =
                makeTransform2D(c.position.x, c.position.y, c.depth, c.scale.x, c.scale.y, 1, c.rotation);
            const fpMatrix4 atBatchDepth = makeTransform2D(c.position.x, c.position.y, 0.25f, 1, 1, 1, 0);
            const fpMatrix4 turned = makeTransform2D(c.position.x, c.position.y, 0.25f, 1, 1, 1, c.rotation);
            expectSameBits(batch.quads()[0],
                           expectedQuad(batchTransform.matrix, placed, fpRect(2, 1, 6, 4), c.pivot, *texture, red, c.flags),
                           "drawRegion");
            expectSameBits(batch.quads()[1],
                           expectedQuad(batchTransform.matrix, placed, whole, c.pivot, *texture, red, c.flags),
                           "drawTexture");
            expectSameBits(batch.quads()[2], expectedQuad(batchTransform.matrix, atBatchDepth, whole, {}, *texture, red, 0),
                           "drawAt");
            expectSameBits(batch.quads()[3], expectedQuad(batchTransform.matrix, turned, whole, {}, *texture, white, 0),
                           "drawRotated");
        }
    }
}

TEST(QuadPlacement, TheBatchTransformAppliesToQuadsQueuedAfterItChanges) {
    const auto texture = fakeTexture(1, 8, 8);
    CommonBatch batch(3, 0.0f);
    const fpRect source(0, 0, 8, 8);
    const PackedColor white(0xFFFFFFFFu);
    batch.drawPlaced(*texture, makeAffine2D(1, 1, 0, 1, 1, 0), source, {}, white, 0);
    batch.setTransform(fpMatrix4::translation(100, 0, 0));
    batch.drawPlaced(*texture, makeAffine2D(1, 1, 0, 1, 1, 0), source, {}, white, 0);
    batch.setTransform(fpMatrix4());
    batch.drawPlaced(*texture, makeAffine2D(1, 1, 0, 1, 1, 0), source, {}, white, 0);
    EXPECT_EQ(batch.quads()[0].vertices[0].x, 1.0f);
    EXPECT_EQ(batch.quads()[1].vertices[0].x, 101.0f);
    EXPECT_EQ(batch.quads()[2].vertices[0].x, 1.0f);
    EXPECT_EQ(batch.transform(), fpMatrix4());
}

} // namespace
} // namespace zor
