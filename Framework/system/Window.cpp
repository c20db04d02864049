#include "Framework/system/Window.h"

#include "Framework/core/Errors.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/platform/Display.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/WindowSize.h"

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace zor {

namespace {

// Textures and render buffers must reach this many pixels a side.
constexpr GLint RequiredTextureSize = 2048;

const char* const WindowSizeKey = "Screen.WindowSize";
const char* const LogSource = "Window";

// How often, and how far apart, SDL's video is started before the display counts as
// unreachable.
constexpr int DisplayAttempts = 20;
constexpr Uint32 DisplayRetryMs = 100;

iVector2 truncatedSize(const fpVector2& size) {
    // Held in range first: the float may be far beyond what an int holds.
    const auto clamp = [](float v) { return int(std::max(-1.0e9f, std::min(v, 1.0e9f))); };
    return iVector2(clamp(size.x), clamp(size.y));
}

iVector2 settingWindowSize() { return truncatedSize(SettingsHandler::instance().getVector2(WindowSizeKey)); }

iVector2 defaultWindowSize() {
    return truncatedSize(valueAsVector2(SettingsHandler::instance().setting(WindowSizeKey).DefaultValue.value));
}

std::string sizeText(iVector2 size) { return std::to_string(size.x) + ";" + std::to_string(size.y); }

// The area of the display the window is on (the first before it exists) that windows may
// use; zero when SDL cannot tell.
iVector2 usableDisplayArea(SDL_Window* window) {
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    SDL_Rect area{};
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &area) != 0) return iVector2();
    return iVector2(area.w, area.h);
}

// The setting's size when the display can show it; otherwise a warning naming the setting,
// and the default size, which the setting then holds (without announcing it), so the next
// start does not stumble again.
iVector2 fittingWindowSize(SDL_Window* window, const char* origin) {
    const iVector2 wanted = settingWindowSize();
    const WindowSizeChoice choice = chooseWindowSize(wanted, defaultWindowSize(), usableDisplayArea(window));
    if (choice.reason.empty()) return wanted;
    LogHandler::log(LogHandler::Warning, LogSource,
                    std::string("The setting ") + WindowSizeKey + " " + sizeText(wanted) + " " + origin +
                        " is not used: " + choice.reason + "; the window is " + sizeText(choice.size));
    SettingsHandler::instance().correctValue(WindowSizeKey,
                                             SettingValue(fpVector2(float(choice.size.x), float(choice.size.y))));
    return choice.size;
}

void setWindowIcon(SDL_Window* window) {
    // Beside the game data folder: the working folder, or the program's when the data was
    // found there.
    SDL_Surface* icon = SDL_LoadBMP_RW(SDL_RWFromFile(gamePath("../icon.bmp").c_str(), "rb"), 1);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

bool onWindowingDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string name = driver ? driver : "";
    return name == "x11" || name == "wayland";
}

// Without a display SDL would pick a window-less video driver, and the failure would only
// show later as an unexplained OpenGL error. A driver chosen through SDL_VIDEODRIVER is
// the user's business. An X server may refuse connections for a moment (busy, or starting
// with the session), so SDL's video is started again for a while before the display
// counts as unreachable.
void checkDisplay(bool sdlStarted) {
    const char* chosenDriver = std::getenv("SDL_VIDEODRIVER");
    if (chosenDriver && *chosenDriver) return;
    const std::string display = displayName();
    if (display.empty())
        throw MainError("No display to open the game window on: neither DISPLAY nor WAYLAND_DISPLAY is set. "
                        "Start the game in a desktop session, or under a virtual X server (xvfb-run).");
    if (!sdlStarted) return;
    for (int attempt = 1; !onWindowingDriver() && attempt < DisplayAttempts; ++attempt) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Delay(DisplayRetryMs);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0)
            throw MainError(std::string("Could not initialized SDL 2, error: ") + SDL_GetError());
    }
    if (!onWindowingDriver()) {
        const char* driver = SDL_GetCurrentVideoDriver();
        throw MainError("Could not connect to the display " + display +
                        ": no X11 or Wayland server answers there (SDL chose the video driver '" +
                        (driver ? driver : "") + "').");
    }
}

SDL_Window* openWindow(iVector2 size, Uint32 flags) {
    return SDL_CreateWindow(ProductName, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.x, size.y, flags);
}

} // namespace

void createWindow() {
    checkDisplay(false);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) < 0)
        throw MainError(std::string("Could not initialized SDL 2, error: ") + SDL_GetError());
    std::atexit(SDL_Quit);
    checkDisplay(true);

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
    app.windowSize = fittingWindowSize(nullptr, "(from settings.xml)");
    Uint32 flags = SDL_WINDOW_OPENGL;
    if (settings.getBool("Screen.WindowResizable")) flags |= SDL_WINDOW_RESIZABLE;
    if (settings.getBool("Screen.Fullscreen")) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (settings.getBool("Screen.Borderless")) flags |= SDL_WINDOW_BORDERLESS;

    app.window = openWindow(app.windowSize, flags);
    if (!app.window && app.windowSize != defaultWindowSize()) {
        LogHandler::log(LogHandler::Warning, LogSource,
                        "Could not create the game window at " + sizeText(app.windowSize) + " (the setting " +
                            WindowSizeKey + "): " + SDL_GetError() + "; trying its default size");
        app.windowSize = defaultWindowSize();
        settings.correctValue(WindowSizeKey, settings.setting(WindowSizeKey).DefaultValue.value);
        app.window = openWindow(app.windowSize, flags);
    }
    if (!app.window) throw MainError(std::string("Could not create the game window, error: ") + SDL_GetError());
    // A window dragged smaller would be replaced by the default size.
    SDL_SetWindowMinimumSize(app.window, MinimumWindowSize.x, MinimumWindowSize.y);
    setWindowIcon(app.window);

    app.glContext = SDL_GL_CreateContext(app.window);
    if (!app.glContext)
        throw MainError(std::string("Could not create the OpenGL context, error: ") + SDL_GetError());
    markRenderThread();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(app.window);
}

void closeVideo() {
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
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void checkOpenGLSupport() {
    glewExperimental = GL_TRUE;
    const GLenum glew = glewInit();
    if (glew != GLEW_OK) {
        std::string reason = reinterpret_cast<const char*>(glewGetErrorString(glew));
        // GLEW has no text for some of its codes.
        if (glew == GLEW_ERROR_NO_GLX_DISPLAY) reason = "the window is on no X11 (GLX) display";
        throw MainError("Failed to initialized OpenGL extensions (GLEW), error: " + reason + " (code " +
                        std::to_string(glew) + ")");
    }
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

    iVector2 size = fittingWindowSize(app.window, "(as set)");
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
