#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/UpdateStep.h"
#include "Framework/system/surface/StateMachine.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>

namespace zor {
namespace {

using test::Pixel;

constexpr int Size = 32;

// Fills the screen with orange.
class OrangeState : public StateSurface {
public:
    void render() override {
        glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

class FadeRenderTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        target = std::make_unique<RenderTarget>(Size, Size);
        useTargetAsScreen(*target, 640.0f, 360.0f);
        bindTarget(*target);
        systemComponents() = std::make_shared<SystemComponents>(
            std::make_shared<QuadBatch>(4), std::make_shared<PrimitiveBatch>(), std::make_shared<PrimitiveBatch3d>(),
            std::make_shared<ModelCache>());
        stateFactories().clear();
        for (std::int32_t id : {0, 1})
            registerStateFactory(id, [](StateRequestFunction, SystemComponents*) -> std::unique_ptr<StateSurface> {
                return std::make_unique<OrangeState>();
            });
        resetStateMachine();
        appState().stateFailed = false;
    }
    void TearDown() override {
        resetStateMachine();
        stateFactories().clear();
        systemComponents().reset();
        appState().stateFailed = false;
        target.reset();
        GLTest::TearDown();
    }

    Pixel rendered() {
        bindTarget(*target);
        renderFrame();
        const Pixel centre = pixelAt(*target, Size / 2, Size / 2);
        EXPECT_EQ(pixelAt(*target, 0, 0).r, centre.r);  // the overlay covers the whole viewport
        EXPECT_EQ(pixelAt(*target, Size - 1, Size - 1).r, centre.r);
        return Pixel{centre.r, centre.g, centre.b, 255};
    }

    std::unique_ptr<RenderTarget> target;
};

TEST_F(FadeRenderTest, HalfFinishedFadesDarkenTheState) {
    ASSERT_TRUE(updateFade(0.0f));  // state 0 made under full black
    EXPECT_EQ(rendered(), (Pixel{0, 0, 0, 255}));

    updateFade(FadeRampTime / 2.0f);  // fading in, half way: alpha 127
    ASSERT_FLOAT_EQ(stateMachine().fadeLevel, 0.5f);
    EXPECT_TRUE(test::nearPixel(rendered(), Pixel{128, 64, 0, 255}, 2)) << ::testing::PrintToString(rendered());

    updateFade(FadeTime);  // fade-in over: no overlay
    EXPECT_EQ(rendered(), (Pixel{255, 128, 0, 255}));

    requestState({RequestState, 1});
    updateFade(0.1f);  // fading out: level 0.42, alpha 107
    EXPECT_TRUE(test::nearPixel(rendered(), Pixel{148, 74, 0, 255}, 2)) << ::testing::PrintToString(rendered());
}

TEST_F(FadeRenderTest, FailedStateIsNotDrawnButTheFadeIs) {
    updateFade(0.0f);
    updateFade(FadeRampTime / 2.0f);
    appState().stateFailed = true;
    glClearColor(1, 1, 1, 1);
    bindTarget(*target);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(test::nearPixel(rendered(), Pixel{128, 128, 128, 255}, 2)) << ::testing::PrintToString(rendered());
}

} // namespace
} // namespace zor
