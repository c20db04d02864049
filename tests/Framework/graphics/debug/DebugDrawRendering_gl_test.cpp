#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/primitive/PrimitiveBatch.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/support/gl/GLTestContext.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::Pixel;

class DebugDrawRendering : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        VertexBufferPool::init();
        useTargetAsScreen(target);
        fonts.load("Fonts");
        quads = std::make_shared<QuadBatch>(64);
        quads->setScreenProjection();
        debugDraw.setRenderer(fonts.requireShared("debug_small"), quads, std::make_shared<PrimitiveBatch>());
        bindTarget(target);
        setBlendMode(0);
        clearToColor(PackedColor(0));
    }
    void TearDown() override {
        debugDraw.setRenderer(nullptr, nullptr, nullptr);
        debugDraw.clear();
        quads.reset();
        fonts.clear();
        Texture::purgeCache();
        VertexBufferPool::shutdown();
        GLTest::TearDown();
    }

    // Lit pixels in the rectangle (x, y from the top).
    int litIn(int x0, int y0, int x1, int y1) {
        int lit = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) lit += pixelAt(target, x, y).a > 96;
        return lit;
    }

    RenderTarget target{160, 120};
    FontSet fonts;
    std::shared_ptr<QuadBatch> quads;
    DebugDraw debugDraw;
};

TEST_F(DebugDrawRendering, TheScreenLayerDrawsLinesMessagesAndTheNewestLogLines) {
    DebugDraw::Layer& screen = debugDraw.screenLayer;
    screen.addLine(fpSegment(10.5f, 5.5f, 150.5f, 5.5f), 1.0f, PackedColor(0xFF00FF00u));
    debugDraw.addMessage(fpRect(10, 20, 140, 30), screen, "Ore 12", 1.0f, PackedColor(0xFFFFFFFFu));
    const Font& font = fonts.require("debug_small");
    const int lineHeight = font.lineHeight;
    // Room for two lines: the oldest of three scrolls out.
    const fpRect logBox(10, 60, 140, float(2 * lineHeight + 2));
    for (const char* line : {"WWWWWWWWWWWWWWW", "", "Lamp lit"}) screen.addLogLine(line, 1, logBox, 5.0f, nullptr);
    debugDraw.draw(screen, fpMatrix4());

    // A one-pixel line, whichever row of the two its half-pixel centre rounds to.
    EXPECT_EQ(litIn(80, 4, 81, 8), 1);
    const Pixel lineColor = pixelAt(target, 80, 5).a ? pixelAt(target, 80, 5) : pixelAt(target, 80, 6);
    EXPECT_EQ(lineColor, (Pixel{0, 255, 0, 255}));
    EXPECT_GT(litIn(10, 20, 150, 50), 20);
    // The log's first line is the empty one; "Lamp lit" is second.
    EXPECT_EQ(litIn(10, 60, 150, 60 + lineHeight), 0);
    EXPECT_GT(litIn(10, 60 + lineHeight, 150, 60 + 2 * lineHeight), 20);
    EXPECT_EQ(litIn(0, 60 + 2 * lineHeight, 160, 120), 0);
    EXPECT_EQ(litIn(0, 8, 160, 20), 0);
}

} // namespace
} // namespace zor
