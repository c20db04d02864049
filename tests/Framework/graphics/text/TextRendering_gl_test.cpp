#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/text/TextMesh.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/support/gl/GLTestContext.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

using test::Pixel;

class TextRendering : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        VertexBufferPool::init();
        useTargetAsScreen(target);
        fonts.load("Fonts");
        batch = std::make_unique<QuadBatch>(256);
        bindTarget(target);
        setBlendMode(0);
        clearToColor(PackedColor(0));
    }
    void TearDown() override {
        batch.reset();
        fonts.clear();
        Texture::purgeCache();
        VertexBufferPool::shutdown();
        GLTest::TearDown();
    }

    RenderTarget target{256, 64};
    FontSet fonts;
    std::unique_ptr<QuadBatch> batch;
};

// The sample data's debug font, drawn in white: every lit pixel lies in a glyph quad the
// layout placed, and every glyph with area lights pixels inside its own quad.
TEST_F(TextRendering, GlyphPixelsAreWhereTheLayoutPutThem) {
    const Font& font = fonts.require("debug");
    const TextMeshPtr mesh = Font::buildTextLine(font, "Mine 42, Shaft #7", fpRect(6, 10, 240, 50), CompassAnchor::NorthWest);
    ASSERT_EQ(mesh->quads.size(), 17u);
    batch->begin();
    mesh->draw(*batch, PackedColor(0xFFFFFFFFu), fpMatrix4());
    batch->flush(0);

    const std::vector<Pixel> pixels = readPixels(target, 0, 0, 256, 64);
    const auto lit = [&](int x, int y) { return pixels[std::size_t(63 - y) * 256 + std::size_t(x)].a > 96; };
    // Linear filtering may bleed half a pixel past a quad's edge.
    const auto inQuad = [](const GlyphQuad& quad, int x, int y, float margin) {
        const float left = quad.x + quad.offsetX, top = quad.y + quad.offsetY;
        return x + 0.5f >= left - margin && x + 0.5f <= left + quad.glyph->width + margin && y + 0.5f >= top - margin &&
               y + 0.5f <= top + quad.glyph->height + margin;
    };
    int litPixels = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 256; ++x) {
            if (!lit(x, y)) continue;
            ++litPixels;
            bool placed = false;
            for (const GlyphQuad& quad : mesh->quads) placed = placed || inQuad(quad, x, y, 1.0f);
            EXPECT_TRUE(placed) << "a lit pixel at " << x << "," << y << " outside every glyph";
        }
    }
    EXPECT_GT(litPixels, 100);
    for (const GlyphQuad& quad : mesh->quads) {
        if (quad.glyph->width == 0.0f) continue;
        int own = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 256; ++x) own += lit(x, y) && inQuad(quad, x, y, 0.0f);
        EXPECT_GT(own, 0) << "nothing drawn for the character " << quad.codePoint;
    }
    // Premultiplied white: the colour never exceeds the coverage.
    for (const Pixel& pixel : pixels) EXPECT_LE(pixel.r, pixel.a);
}

} // namespace
} // namespace zor
