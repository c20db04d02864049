#include "tests/support/gl/GLTestContext.h"

#include "Framework/core/io/Files.h"
#include "Framework/graphics/debug/PerfOverlay.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/screen/Screen.h"
#include "tests/support/common/TempFolder.h"

#include <GL/glew.h>
#include <SDL2/SDL.h>

#include <cstdlib>
#include <ostream>

namespace zor::test {

namespace {

struct Context {
    SDL_Window* window = nullptr;
    SDL_GLContext gl = nullptr;
    PumpedWorkQueue queue;
    TempFolder userFolder;  // the file system's user root, never a real home
};

// GLEW needs GLX, so only X11 will do: without this SDL quietly falls back to a driver
// without GLX when the X server is briefly out of reach. Under a loaded virtual X server
// (many test programs at once) a connection can fail once, so it is tried a few times.
bool initVideoOnX11() {
    setenv("SDL_VIDEODRIVER", "x11", 0);
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
        SDL_Delay(200);
    }
    return false;
}

// Made once and kept until the process exits, so every test shares one context.
Context& context() {
    static Context* made = [] {
        if (!initVideoOnX11()) {
            ADD_FAILURE() << "SDL_Init: " << SDL_GetError() << " (run under xvfb-run)";
            std::abort();
        }
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        auto* c = new Context;
        c->window = SDL_CreateWindow("gl test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 64, 64,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!c->window) {
            ADD_FAILURE() << "SDL_CreateWindow: " << SDL_GetError() << " (run under xvfb-run)";
            std::abort();
        }
        c->gl = SDL_GL_CreateContext(c->window);
        if (!c->gl) {
            ADD_FAILURE() << "SDL_GL_CreateContext: " << SDL_GetError();
            std::abort();
        }
        SDL_GL_MakeCurrent(c->window, c->gl);
        glewExperimental = GL_TRUE;
        const GLenum glew = glewInit();
        if (glew != GLEW_OK) {
            ADD_FAILURE() << "glewInit: " << glewGetErrorString(glew);
            std::abort();
        }
        setenv("ZOR_USER_DIR", c->userFolder.path().c_str(), 1);
        initFileSystem("BundlePC");
        markRenderThread();
        setRenderQueue(&c->queue);
        return c;
    }();
    return *made;
}

} // namespace

void PrintTo(const Pixel& pixel, std::ostream* out) {
    *out << "(" << int(pixel.r) << ", " << int(pixel.g) << ", " << int(pixel.b) << ", " << int(pixel.a) << ")";
}

bool nearPixel(const Pixel& x, const Pixel& y, int tolerance) {
    const auto near = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    return near(x.r, y.r) && near(x.g, y.g) && near(x.b, y.b) && near(x.a, y.a);
}

void GLTest::SetUpTestSuite() { context(); }

void GLTest::SetUp() {
    Context& c = context();
    SDL_GL_MakeCurrent(c.window, c.gl);
    while (glGetError() != GL_NO_ERROR) {
    }
}

void GLTest::TearDown() {
    // Uploads and deletions a test left queued run now, inside the test that caused them.
    pumpRenderQueue();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // Effects enable their arrays when applied; a stale one would make later draws read
    // through a null pointer.
    GLint attributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    for (GLint i = 0; i < attributes; ++i) glDisableVertexAttribArray(static_cast<GLuint>(i));
    glUseProgram(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "a GL error was left behind";
}

PumpedWorkQueue& GLTest::renderQueue() { return context().queue; }

void GLTest::bindTarget(const RenderTarget& target) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    const iVector2 size = target.getSize();
    glViewport(0, 0, size.x, size.y);
}

void GLTest::useTargetAsScreen(const RenderTarget& target) {
    const iVector2 size = target.getSize();
    useTargetAsScreen(target, static_cast<float>(size.x), static_cast<float>(size.y));
}

void GLTest::useTargetAsScreen(const RenderTarget& target, float virtualWidth, float virtualHeight) {
    const iVector2 size = target.getSize();
    Screen::initViewports();
    Screen::setCurrentViewportIndex(0);
    Screen::Viewport& viewport = Screen::viewports().front();
    viewport = Screen::Viewport{};
    viewport.windowWidth = viewport.width = size.x;
    viewport.windowHeight = viewport.height = size.y;
    viewport.virtualWidth = virtualWidth;
    viewport.virtualHeight = virtualHeight;
    viewport.updateScale();
}

std::vector<Pixel> GLTest::readPixels(const RenderTarget& target, int x, int y, int width, int height) {
    std::vector<Pixel> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Pixel GLTest::pixelAt(const RenderTarget& target, int x, int yFromTop) {
    return readPixels(target, x, target.getSize().y - 1 - yFromTop, 1, 1).front();
}

std::pair<std::string, std::string> GLTest::takeDrawCounts() {
    // A refresh is due at once when the overlay has been hidden for a second.
    static double now = 0.0;
    PerfOverlay::Overlay& overlay = PerfOverlay::global();
    overlay.setShown(true);
    overlay.update(1.0f, now += 1.0);
    overlay.setShown(false);
    return {overlay.drawCallLine().text, overlay.triangleLine().text};
}

} // namespace zor::test
