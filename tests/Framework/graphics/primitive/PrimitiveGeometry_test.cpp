#include "Framework/graphics/primitive/CommonPrimitiveBatch.h"
#include "Framework/graphics/primitive/PrimitiveGeometry.h"
#include "Framework/graphics/primitive/ScreenFade.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

const PackedColor Red = PackedColor::fromChannels(255, 0, 0, 255);
const PackedColor Green = PackedColor::fromChannels(0, 255, 0, 255);
const PackedColor Blue = PackedColor::fromChannels(0, 0, 255, 255);
const PackedColor White = PackedColor::fromChannels(255, 255, 255, 255);

Primitive circle(Primitive::Type type, float radius) {
    Primitive p;
    p.type = type;
    p.circle[0] = 100.0f;
    p.circle[1] = 50.0f;
    p.circle[2] = radius;
    p.colors[0] = Red;
    return p;
}

TEST(PrimitiveGeometry, CircleSegmentCounts) {
    struct Case {
        Primitive::Type type;
        float radius;
        bool drawn;
        std::size_t vertices;
    };
    const Case cases[] = {
        {Primitive::CircleOutline, 1.0f, true, 3},    // a triangle
        {Primitive::CircleOutline, 8.0f, true, 12},
        {Primitive::CircleOutline, 0.5f, true, 1},    // one vertex: nothing visible
        {Primitive::CircleOutline, -3.0f, true, 1},
        {Primitive::FilledCircle, 1.9f, false, 0},
        {Primitive::FilledCircle, 2.0f, true, 4},
        {Primitive::FilledCircle, 100.0f, true, 39},  // trunc(39.27) beats 4 * 6
        {Primitive::FilledCircle, 1e9f, true, MaxCircleSegments},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.type << " radius " << c.radius);
        PrimitiveGeometry g;
        ASSERT_EQ(buildPrimitiveGeometry(circle(c.type, c.radius), g), c.drawn);
        EXPECT_EQ(g.positions.size(), c.vertices);
        EXPECT_EQ(g.colors.size(), g.positions.size());
        if (!c.drawn) continue;
        EXPECT_EQ(g.mode, unsigned(c.type == Primitive::CircleOutline ? GL_LINE_LOOP : GL_TRIANGLE_FAN));
        // The first vertex lies at angle 0, on the circle, without a half-pixel offset.
        EXPECT_FLOAT_EQ(g.positions[0].x, 100.0f + c.radius);
        EXPECT_FLOAT_EQ(g.positions[0].y, 50.0f);
        for (const PackedColor& color : g.colors) EXPECT_EQ(color, Red);
        if (c.vertices < 3) continue;
        // Every vertex on the circle, the last one a step short of the first.
        for (const fpVector2& p : g.positions)
            EXPECT_NEAR(std::hypot(p.x - 100.0f, p.y - 50.0f), c.radius, c.radius * 1e-5f);
        const float lastAngle = std::atan2(g.positions.back().y - 50.0f, g.positions.back().x - 100.0f);
        EXPECT_NEAR(lastAngle, -6.2831853f / float(c.vertices), 1e-4f);
    }
}

TEST(PrimitiveGeometry, PointsLinesAndOutlinesSitOnPixelCentres) {
    Primitive point;
    point.type = Primitive::Point;
    point.point[0] = 3.0f;
    point.point[1] = 4.0f;
    point.colors[0] = Blue;

    Primitive line;
    line.type = Primitive::Line;
    line.line[2] = 10.0f;
    line.colors[0] = Red;
    line.colors[1] = Green;

    Primitive outline;
    outline.type = Primitive::RectOutline;
    outline.rect = fpRect(1, 2, 10, 20);
    outline.colors[0] = Red;
    outline.colors[1] = Green;
    outline.colors[2] = Blue;
    outline.colors[3] = White;

    PrimitiveGeometry g;
    ASSERT_TRUE(buildPrimitiveGeometry(point, g));
    EXPECT_EQ(g.mode, unsigned(GL_POINTS));
    ASSERT_EQ(g.positions.size(), 1u);
    EXPECT_EQ(g.positions[0], fpVector2(3.5f, 4.5f));
    EXPECT_EQ(g.colors[0], Blue);

    ASSERT_TRUE(buildPrimitiveGeometry(line, g));
    EXPECT_EQ(g.mode, unsigned(GL_LINES));
    ASSERT_EQ(g.positions.size(), 2u);
    EXPECT_EQ(g.positions[0], fpVector2(0.5f, 0.5f));
    EXPECT_EQ(g.positions[1], fpVector2(10.5f, 0.5f));
    EXPECT_EQ(g.colors[0], Red);
    EXPECT_EQ(g.colors[1], Green);

    ASSERT_TRUE(buildPrimitiveGeometry(outline, g));
    EXPECT_EQ(g.mode, unsigned(GL_LINE_LOOP));
    const fpVector2 corners[] = {{1.5f, 2.5f}, {1.5f, 22.5f}, {11.5f, 22.5f}, {11.5f, 2.5f}};
    ASSERT_EQ(g.positions.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g.positions[i], corners[i]) << i;
        EXPECT_EQ(g.colors[i], outline.colors[i]) << i;
    }
}

TEST(PrimitiveGeometry, FilledRectangleCoversItsAreaWithOneColourPerCorner) {
    Primitive rect;
    rect.type = Primitive::FilledRect;
    rect.rect = fpRect(0, 0, 10, 10);
    rect.colors[0] = Red;    // top-left
    rect.colors[1] = Green;  // top-right
    rect.colors[2] = Blue;   // bottom-left
    rect.colors[3] = White;  // bottom-right
    PrimitiveGeometry g;
    ASSERT_TRUE(buildPrimitiveGeometry(rect, g));
    EXPECT_EQ(g.mode, unsigned(GL_TRIANGLES));
    const fpVector2 expected[] = {{0, 0}, {0, 10}, {10, 0}, {10, 0}, {0, 10}, {10, 10}};
    const PackedColor colors[] = {Red, Blue, Green, Green, Blue, White};
    ASSERT_EQ(g.positions.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(g.positions[i], expected[i]) << i;
        EXPECT_EQ(g.colors[i], colors[i]) << i;
    }
}

TEST(PrimitiveGeometry, TrianglesFilledByEachMode) {
    struct Case {
        unsigned mode;
        std::size_t vertices;
        int triangles;
    };
    const Case cases[] = {{GL_TRIANGLES, 6, 2},      {GL_TRIANGLE_FAN, 18, 16}, {GL_TRIANGLE_FAN, 2, 0},
                          {GL_TRIANGLE_STRIP, 4, 2}, {GL_LINES, 2, 0},          {GL_LINE_LOOP, 4, 0},
                          {GL_POINTS, 1, 0}};
    for (const Case& c : cases) {
        PrimitiveGeometry g;
        g.mode = c.mode;
        g.positions.resize(c.vertices);
        EXPECT_EQ(trianglesOf(g), c.triangles) << c.mode << " " << c.vertices;
    }
}

TEST(PrimitiveGeometry, UnknownTypesDrawNothing) {
    for (std::int32_t type : {-1, 6, 9}) {
        Primitive p;
        p.type = type;
        PrimitiveGeometry g;
        g.positions.push_back(fpVector2(1, 1));  // left over from an earlier primitive
        EXPECT_FALSE(buildPrimitiveGeometry(p, g)) << type;
        EXPECT_TRUE(g.positions.empty()) << type;
    }
}

// The batch's adders, without drawing.
class RecordingBatch : public CommonPrimitiveBatch {
public:
    void flush() override { primitives.clear(); }
};

TEST(CommonPrimitiveBatch, AddersFillOneTypeAndEveryColourSlot) {
    RecordingBatch batch;
    EXPECT_EQ(batch.blendMode, 1);
    EXPECT_FALSE(batch.modelViewChanged);
    EXPECT_EQ(batch.modelView, fpMatrix4::identity());

    batch.addLine(1, 2, 3, 4, Red);
    batch.addRectOutline(fpRect(5, 6, 7, 8), Green);
    batch.addFilledRect(fpRect(9, 10, 11, 12), Blue);
    ASSERT_EQ(batch.primitives.size(), 3u);

    const Primitive& line = batch.primitives[0];
    EXPECT_EQ(line.type, Primitive::Line);
    EXPECT_EQ(line.line[0], 1.0f);
    EXPECT_EQ(line.line[3], 4.0f);
    EXPECT_EQ(line.rect, fpRect());
    EXPECT_EQ(batch.primitives[1].type, Primitive::RectOutline);
    EXPECT_EQ(batch.primitives[1].rect, fpRect(5, 6, 7, 8));
    EXPECT_EQ(batch.primitives[2].type, Primitive::FilledRect);
    EXPECT_EQ(batch.primitives[2].line[0], 0.0f);
    const PackedColor expected[] = {Red, Green, Blue};
    for (int i = 0; i < 3; ++i)
        for (const PackedColor& c : batch.primitives[i].colors) EXPECT_EQ(c, expected[i]) << i;
}

TEST(PackColorPlain, ScalesClampsAndTruncates) {
    struct Case {
        float r, g, b, a;
        std::uint8_t bytes[4];
    };
    const Case cases[] = {
        {1.2f, -0.5f, 0.5f, 1.0f, {255, 0, 127, 255}},
        {0.25f, 0.0f, 1.0f, 0.75f, {63, 0, 255, 191}},
        {NAN, INFINITY, -INFINITY, 0.999f, {0, 255, 0, 254}},
    };
    for (const Case& c : cases) {
        const PackedColor packed = packColorPlain(c.r, c.g, c.b, c.a);
        EXPECT_EQ(packed.red(), c.bytes[0]);
        EXPECT_EQ(packed.green(), c.bytes[1]);
        EXPECT_EQ(packed.blue(), c.bytes[2]);
        EXPECT_EQ(packed.alpha(), c.bytes[3]);
    }
}

TEST(PrimitiveGeometry, PackColorPremultipliesByAlpha) {
    struct Case {
        float r, g, b, a;
        std::uint8_t bytes[4];
    } cases[] = {
        {1, 1, 1, 1, {255, 255, 255, 255}},
        {1, 0.5f, 0, 0.5f, {127, 63, 0, 127}},  // white at half alpha is grey, not white
        {1, 1, 1, 0, {0, 0, 0, 0}},
        {2, -1, 1, 0.25f, {127, 0, 63, 63}},    // clamped after the product
        {1, 1, 1, 1.5f, {255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        const PackedColor packed = packColor(c.r, c.g, c.b, c.a);
        EXPECT_EQ(packed.red(), c.bytes[0]) << c.r << " " << c.a;
        EXPECT_EQ(packed.green(), c.bytes[1]) << c.g << " " << c.a;
        EXPECT_EQ(packed.blue(), c.bytes[2]) << c.b << " " << c.a;
        EXPECT_EQ(packed.alpha(), c.bytes[3]) << c.a;
    }
}

TEST(ScreenFade, AlphaAlongTheTimeline) {
    struct Case {
        float duration, elapsed;
        int direction;
        float alpha;
    };
    const Case cases[] = {
        {0.25f, 0.0625f, 1, 0.25f},  // packed 63
        {0.25f, 0.0625f, 0, 0.75f},  // packed 191
        {0.25f, 0.0f, 1, 0.0f},      // nothing drawn
        {0.25f, -1.0f, 0, 1.0f},
        {0.25f, 0.5f, 1, 1.0f},      // past the end
        {0.25f, 0.5f, 0, 0.0f},
        {0.0f, 0.0f, 1, 1.0f},       // no duration: finished at once
        {0.0f, 0.0f, 0, 0.0f},
    };
    for (const Case& c : cases) {
        ScreenFade fade;
        fade.duration = c.duration;
        fade.elapsed = c.elapsed;
        fade.direction = c.direction;
        EXPECT_FLOAT_EQ(screenFadeAlpha(fade), c.alpha)
            << c.elapsed << " of " << c.duration << ", direction " << c.direction;
    }
    EXPECT_EQ(packColorPlain(0, 0, 0, 0.25f).alpha(), 63);
    EXPECT_EQ(packColorPlain(0, 0, 0, 0.75f).alpha(), 191);
}

} // namespace
} // namespace zor
