#include "Framework/system/Window.h"

#include "Framework/core/Errors.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/ApplicationState.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdlib>
#include <string>

namespace zor {

namespace {

// Textures and render buffers must reach this many pixels a side.
constexpr GLint RequiredTextureSize = 2048;

iVector2 settingWindowSize() {
    const fpVector2 size = SettingsHandler::instance().getVector2("Screen.WindowSize");
    return iVector2(int(size.x), int(size.y));
}

void setWindowIcon(SDL_Window* window) {
    SDL_Surface* icon = SDL_LoadBMP_RW(SDL_RWFromFile("icon.bmp", "rb"), 1);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

} // namespace

void createWindow() {
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) < 0)
        throw MainError(std::string("Could not initialized SDL 2, error: ") + SDL_GetError());
    std::atexit(SDL_Quit);

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, 32);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    ApplicationState& app = appState();
    SettingsHandler& settings = SettingsHandler::instance();
    app.windowSize = settingWindowSize();
    Uint32 flags = SDL_WINDOW_OPENGL;
    if (settings.getBool("Screen.WindowResizable")) flags |= SDL_WINDOW_RESIZABLE;
    if (settings.getBool("Screen.Fullscreen")) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (settings.getBool("Screen.Borderless")) flags |= SDL_WINDOW_BORDERLESS;

    app.window = SDL_CreateWindow(ProductName, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, app.windowSize.x,
                                  app.windowSize.y, flags);
    if (!app.window) throw MainError(std::string("Could not create the game window, error: ") + SDL_GetError());
    setWindowIcon(app.window);

    app.glContext = SDL_GL_CreateContext(app.window);
    if (!app.glContext)
        throw MainError(std::string("Could not create the OpenGL context, error: ") + SDL_GetError());
    markRenderThread();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(app.window);
}

void destroyWindow() {
    ApplicationState& app = appState();
    if (app.glContext) {
        markRenderContextLost();
        SDL_GL_DeleteContext(app.glContext);
        app.glContext = nullptr;
    }
    if (app.window) {
        SDL_DestroyWindow(app.window);
        app.window = nullptr;
    }
}

void checkOpenGLSupport() {
    glewExperimental = GL_TRUE;
    const GLenum glew = glewInit();
    if (glew != GLEW_OK)
        throw MainError(std::string("Failed to initialized OpenGL extensions (GLEW), error: ") +
                        reinterpret_cast<const char*>(glewGetErrorString(glew)));
    if (!GLEW_VERSION_2_1)
        throw MainError(
            "OpenGL 2.1 support is missing, make sure you have installed your latest graphics card drivers.");
    if (!glewIsSupported("GL_ARB_framebuffer_object"))
        throw MainError("OpenGL framebuffer object support is missing, make sure you have installed your latest "
                        "graphics card drivers.");
    GLint textureSize = 0;
    GLint renderbufferSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureSize);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferSize);
    if (textureSize < RequiredTextureSize || renderbufferSize < RequiredTextureSize)
        throw MainError("OpenGL implementation missing support for 2048x2048 textures, make sure you have installed "
                        "your latest graphics card drivers.");
}

void applyScreenSettings(bool force) {
    ApplicationState& app = appState();
    SettingsHandler& settings = SettingsHandler::instance();

    app.vsync = settings.getInt("Screen.VSync");
    if (SDL_GL_SetSwapInterval(app.vsync) == -1) {
        // Not offered by the driver (adaptive sync, for one): plain vertical sync instead.
        app.vsync = 1;
        SDL_GL_SetSwapInterval(app.vsync);
    }

    iVector2 size = settingWindowSize();
    const bool fullscreen = settings.getBool("Screen.Fullscreen");
    if (!force && size == app.windowSize && fullscreen == app.fullscreen) return;
    app.fullscreen = fullscreen;
    app.windowSize = size;

    if (fullscreen) {
        SDL_SetWindowFullscreen(app.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_GetWindowSize(app.window, &size.x, &size.y);
    } else {
        SDL_SetWindowFullscreen(app.window, 0);
        SDL_SetWindowSize(app.window, size.x, size.y);
        SDL_ShowCursor(SDL_ENABLE);
    }

    Screen::Viewport& viewport = Screen::viewports().front();
    viewport.windowWidth = size.x;
    viewport.windowHeight = size.y;
    viewport.x = 0;
    viewport.y = 0;
    viewport.width = size.x;
    viewport.height = size.y;
    viewport.updateScale();
    SystemEvents::instance().screenChanged.fire();
}

std::vector<EventConnection> watchScreenSettings() {
    std::vector<EventConnection> connections;
    connections.push_back(SettingsHandler::instance().settingsChanged().connect(
        &appState(), [](ApplicationState*, const std::string& key, const OptionalSettingValue&,
                        const SettingsHandler::Setting&) {
            if (key.compare(0, 7, "Screen.") == 0) applyScreenSettings(false);
        }));
    return connections;
}

} // namespace zor
