#include "Framework/graphics/screen/Screen.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>

namespace zor {
namespace {

using ScreenGL = test::GLTest;

TEST_F(ScreenGL, BindScreenFramebufferFlipsTheViewportToTheBottomLeftOrigin) {
    Screen::initViewports();
    Screen::Viewport& viewport = Screen::viewports()[0];
    viewport.windowWidth = 1280;
    viewport.windowHeight = 720;
    viewport.x = 30;
    viewport.y = 100;
    viewport.width = 400;
    viewport.height = 200;
    Screen::setCurrentViewportIndex(0);

    GLint bound[4] = {0, 0, 0, 0};
    Screen::bindScreenFramebuffer();
    glGetIntegerv(GL_VIEWPORT, bound);
    EXPECT_EQ(bound[0], 30);
    EXPECT_EQ(bound[1], 420);
    EXPECT_EQ(bound[2], 400);
    EXPECT_EQ(bound[3], 200);
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
}

} // namespace
} // namespace zor
