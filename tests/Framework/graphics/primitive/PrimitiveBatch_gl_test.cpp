#include "Framework/graphics/primitive/PrimitiveBatch.h"
#include "Framework/graphics/primitive/PrimitiveBatch3d.h"
#include "Framework/graphics/primitive/ScreenFade.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/screen/Screen.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>

#include <algorithm>
#include <iterator>
#include <tuple>

namespace zor {
namespace {

using test::Pixel;

constexpr int Size = 64;
const Pixel White{255, 255, 255, 255};
const Pixel Red{255, 0, 0, 255};
const Pixel Green{0, 255, 0, 255};

// A 64 x 64 target shown 1:1 by the current viewport, cleared to white.
class PrimitiveBatchTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        target = std::make_unique<RenderTarget>(Size, Size);
        useTargetAsScreen(*target);
        bindTarget(*target);
        glDisable(GL_DEPTH_TEST);
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(batch.effect().usable());
    }
    void TearDown() override {
        target.reset();
        GLTest::TearDown();
    }

    Pixel at(int x, int y) const { return pixelAt(*target, x, y); }
    static bool near(const Pixel& a, const Pixel& b) { return test::nearPixel(a, b, 2); }

    std::unique_ptr<RenderTarget> target;
    PrimitiveBatch batch;
};

TEST_F(PrimitiveBatchTest, ShapesLandOnTheirPixels) {
    batch.addFilledRect(fpRect(0, 0, 10, 10), PackedColor::fromChannels(255, 0, 0, 255));
    Primitive unknown;
    unknown.type = 9;
    batch.push(unknown);
    batch.addLine(0, 20, 10, 20, PackedColor::fromChannels(0, 255, 0, 255));
    batch.modelViewChanged = true;
    batch.flush();
    EXPECT_TRUE(batch.primitives.empty());
    EXPECT_FALSE(batch.modelViewChanged);

    EXPECT_EQ(at(0, 0), Red);
    EXPECT_EQ(at(9, 9), Red);
    EXPECT_EQ(at(10, 9), White);
    EXPECT_EQ(at(9, 10), White);
    EXPECT_EQ(at(0, 20), Green);  // the line behind the skipped shape still draws
    EXPECT_EQ(at(9, 20), Green);
    EXPECT_EQ(at(5, 21), White);
}

TEST_F(PrimitiveBatchTest, EachShapeIsOneDrawCallInTheOverlayWithTheTrianglesItFills) {
    takeDrawCounts();
    batch.addFilledRect(fpRect(0, 0, 10, 10), PackedColor::fromChannels(255, 0, 0, 255));
    batch.addLine(0, 20, 10, 20, PackedColor::fromChannels(0, 255, 0, 255));
    batch.flush();
    EXPECT_EQ(takeDrawCounts(), (std::pair<std::string, std::string>("dcall: 2", " tris: 2")));
}

TEST_F(PrimitiveBatchTest, ModelViewMovesTheShapes) {
    batch.modelView = fpMatrix4::translation(30, 40, 0);
    batch.addFilledRect(fpRect(0, 0, 4, 4), PackedColor::fromChannels(255, 0, 0, 255));
    batch.flush();
    EXPECT_EQ(at(0, 0), White);
    EXPECT_EQ(at(30, 40), Red);
    EXPECT_EQ(at(33, 43), Red);
    EXPECT_EQ(at(34, 43), White);
}

TEST_F(PrimitiveBatchTest, DrawsFromClientMemoryWhateverBufferIsBound) {
    // A quad batch leaves its vertex buffer bound after drawing.
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const float junk[64] = {};
    glBufferData(GL_ARRAY_BUFFER, sizeof(junk), junk, GL_STATIC_DRAW);
    batch.addFilledRect(fpRect(8, 8, 16, 16), PackedColor::fromChannels(255, 0, 0, 255));
    batch.flush();
    glDeleteBuffers(1, &buffer);
    EXPECT_EQ(at(8, 8), Red);
    EXPECT_EQ(at(23, 23), Red);
}

TEST_F(PrimitiveBatchTest, OpaqueShapesCoverAndTranslucentOnesBlendInAnyOrder) {
    // Over green; a shape may be drawn unblended only when that changes no pixel. Each case
    // draws its rectangle between two half-red squares, which blend in the case's mode.
    const PackedColor red = PackedColor::fromChannels(255, 0, 0, 255);
    const PackedColor halfRed = PackedColor::fromChannels(128, 0, 0, 128);
    const Pixel yellow{255, 255, 0, 255};
    const Pixel halfRedOver{128, 127, 0, 255};  // premultiplied over
    struct Case {
        const char* what;
        BlendMode mode;
        PackedColor corners[4];  // top-left, top-right, bottom-left, bottom-right
        Pixel topLeft, bottomRight, square;
    };
    const Case cases[] = {
        {"opaque, premultiplied over", 1, {red, red, red, red}, Red, Red, halfRedOver},
        {"opaque, straight over", 4, {red, red, red, red}, Red, Red, {64, 127, 0, 191}},
        {"opaque, additive", 2, {red, red, red, red}, yellow, yellow, {128, 255, 0, 255}},
        {"half red", 1, {halfRed, halfRed, halfRed, halfRed}, halfRedOver, halfRedOver, halfRedOver},
        {"one half-red corner", 1, {red, red, red, halfRed}, Red, halfRedOver, halfRedOver},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        batch.blendMode = c.mode;
        batch.addFilledRect(fpRect(40, 40, 8, 8), halfRed);
        Primitive rect;
        rect.type = Primitive::FilledRect;
        rect.rect = fpRect(0, 0, 32, 32);
        std::copy(std::begin(c.corners), std::end(c.corners), rect.colors);
        batch.push(rect);
        batch.addFilledRect(fpRect(50, 50, 8, 8), halfRed);
        batch.flush();
        for (const auto& [x, y, expected] : {std::tuple(0, 0, c.topLeft), std::tuple(31, 31, c.bottomRight),
                                             std::tuple(44, 44, c.square), std::tuple(54, 54, c.square)})
            // Loosely: pixel centres lie a little inside the gradient's corners.
            EXPECT_TRUE(test::nearPixel(at(x, y), expected, 6))
                << x << ", " << y << ": " << ::testing::PrintToString(at(x, y));
    }
}

TEST_F(PrimitiveBatchTest, ScreenFadeBlendsItsColourAtTheFadesOpacity) {
    struct Case {
        const char* what;
        float elapsed;
        int direction;
        int viewportIndex;
        Pixel expected;
    };
    // Blue over white: red and green keep 1 - alpha of the white.
    const Case cases[] = {
        {"a quarter into a fade to blue", 0.0625f, 1, -1, {192, 192, 255, 255}},
        {"a quarter into a fade from blue", 0.0625f, 0, -1, {64, 64, 255, 255}},
        {"at the start of a fade to blue", 0.0f, 1, -1, White},
        {"another viewport's fade", 0.0625f, 0, 1, White},
        {"this viewport's fade", 0.25f, 1, 0, {0, 0, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        glClear(GL_COLOR_BUFFER_BIT);
        ScreenFade fade;
        fade.blue = 1.0f;
        fade.duration = 0.25f;
        fade.elapsed = c.elapsed;
        fade.direction = c.direction;
        fade.viewportIndex = c.viewportIndex;
        drawScreenFade(fade, batch);
        const Pixel p = at(32, 32);
        EXPECT_TRUE(near(Pixel{p.r, p.g, p.b, 255}, c.expected)) << ::testing::PrintToString(p);
        EXPECT_EQ(at(0, 0).r, p.r);  // the whole viewport
        EXPECT_EQ(at(63, 63).r, p.r);
    }
}

TEST_F(PrimitiveBatchTest, FadeOverlayDarkensByItsLevel) {
    drawFadeOverlay(0.5f, batch);  // alpha 127: the white keeps 128
    EXPECT_TRUE(near(at(10, 50), Pixel{128, 128, 128, at(10, 50).a})) << ::testing::PrintToString(at(10, 50));
    glClear(GL_COLOR_BUFFER_BIT);
    drawFadeOverlay(1.0f, batch);
    EXPECT_TRUE(near(at(10, 50), Pixel{0, 0, 0, at(10, 50).a}));
}

TEST_F(PrimitiveBatchTest, ThreeDimensionalBatchOnlyUnbindsThePrograms) {
    PrimitiveBatch3d batch3d;
    EXPECT_EQ(batch3d.blendMode, 1);
    batch.addFilledRect(fpRect(0, 0, 1, 1), PackedColor::fromChannels(255, 0, 0, 255));
    batch.flush();  // leaves the colour program bound
    batch3d.transformChanged = true;
    batch3d.flush();
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_FALSE(batch3d.transformChanged);
}

} // namespace
} // namespace zor
