// The error state shows the line that sent the game there and its two ways out.

#include <memory>
#include <vector>

#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/SystemComponents.h"
#include "game/ui/ErrorMenu.h"
#include "tests/support/gl/GLTestContext.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

class ErrorMenuDrawing : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        VertexBufferPool::init();
        useTargetAsScreen(target);
        auto fonts = std::make_shared<FontSet>();
        fonts->load("Fonts");
        components = std::make_unique<SystemComponents>(std::make_shared<QuadBatch>(1024), nullptr, nullptr, nullptr,
                                                        fonts);
        bindTarget(target);
        setBlendMode(0);
        clearToColor(PackedColor(0));
    }
    void TearDown() override {
        components.reset();
        Texture::purgeCache();
        VertexBufferPool::shutdown();
        appState().lastErrorLine.clear();
        GLTest::TearDown();
    }
    // Pixels of the row band [top, bottom) that are mostly red, and those that are grey.
    std::pair<int, int> countColours(int top, int bottom) {
        const std::vector<test::Pixel> pixels = readPixels(target, 0, 360 - bottom, 640, bottom - top);
        int red = 0, grey = 0;
        for (const test::Pixel& p : pixels) {
            if (p.a < 96) continue;
            if (p.r > 2 * p.g) ++red;
            else if (p.r > 96 && p.g > 96) ++grey;
        }
        return {red, grey};
    }

    RenderTarget target{640, 360};
    std::unique_ptr<SystemComponents> components;
};

TEST_F(ErrorMenuDrawing, ShowsTheErrorLineWrappedAndThePromptsBelow) {
    appState().lastErrorLine =
        "Error: the level 'deep_shaft' names the tile set 'granite', which the patch library lacks; "
        "the level cannot be built";
    ErrorMenu menu([](const StateRequest&) { return 0; }, *components);
    ASSERT_NE(menu.errorText(), nullptr);
    EXPECT_GT(menu.errorText()->bounds.h, 40.0f) << "wrapped over several lines";
    menu.render();
    EXPECT_GT(countColours(0, 260).first, 200) << "the error line";
    EXPECT_GT(countColours(280, 360).second, 100) << "the prompts";
    EXPECT_EQ(countColours(280, 360).first, 0);
}

} // namespace
} // namespace zor
