#include "Framework/system/MainLoop.h"

#include "Framework/core/commands/Commands.h"
#include "Framework/core/commands/NamedPipe.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/capture/Capturer.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/debug/PerfOverlay.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/SdlInput.h"
#include "Framework/platform/DeadlineSleep.h"
#include "Framework/platform/TimerResolution.h"
#include "Framework/store/StoreService.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/EventPump.h"
#include "Framework/system/FramePacing.h"
#include "Framework/system/UpdateStep.h"
#include "Framework/system/Window.h"

#include <GL/glew.h>
#include <SDL.h>

#include <boost/format.hpp>

#include <chrono>
#include <cstdint>
#include <memory>

namespace zor {

namespace {

// The frame time of capture mode: 59.94 frames a second, as video runs.
constexpr float CaptureFrameTime = 0.016683351f;

void updateCursor(float step) {
    ApplicationState& app = appState();
    if (app.overlayActive) {
        SDL_ShowCursor(SDL_ENABLE);
    } else if (app.fullscreen) {
        app.cursorTimer -= step;
        if (app.cursorTimer <= 0.0f) SDL_ShowCursor(SDL_DISABLE);
    }
}

void renderViewports() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDepthMask(GL_TRUE);
    // The stencil, which nothing reads, is cleared with the depth: they share one buffer, and
    // clearing the depth alone rewrites it pixel by pixel around the stencil bits (under
    // Mesa's software renderer about a quarter of the idle loading screen's time).
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    for (std::size_t i = 0; i < viewports.size(); ++i) {
        const Screen::Viewport& viewport = viewports[i];
        Screen::setCurrentViewportIndex(std::int32_t(i));
        Screen::setStereoMode(Screen::StereoNone);
        glViewport(viewport.x, viewport.windowHeight - viewport.y - viewport.height, viewport.width, viewport.height);
        renderFrame();
    }
}

void applySwapInterval() {
    const std::int32_t wanted = coreDebugFlags().disableVSync ? 0 : appState().vsync;
    if (SDL_GL_GetSwapInterval() != wanted) SDL_GL_SetSwapInterval(wanted);
}

// The refresh rate of the display that shows the window; 0 when SDL cannot tell.
double displayRefreshRate() {
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(appState().window);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0.0;
    return mode.refresh_rate;
}

void reportUnpacedSync(float frameTime, double refreshRate) {
    LogHandler::log(LogHandler::Info, "System",
                    (boost::format("Vertical sync does not pace the frames here (%.0f a second); they are capped "
                                   "at the display's %.0f a second") %
                     (1.0 / double(frameTime)) % refreshRate)
                        .str());
}

void reportFirstFrame() {
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - appState().startTime;
    LogHandler::log(LogHandler::Info, "System",
                    (boost::format("First frame shown %.3f s after the program started") % seconds.count()).str());
}

} // namespace

void runMainLoop() {
    ApplicationState& app = appState();
    const CoreDebugFlags& flags = coreDebugFlags();
    const std::vector<EventConnection> screenConnections = watchScreenSettings();
    setStoreOverlayListener([](bool active) { appState().overlayActive = active; });
    const double resolution = timerResolution();
    auto pipe = std::make_unique<NamedPipe>(kLevelEditorPipeName);
    // Made on the first frame in capture mode and kept for the rest of the run.
    std::unique_ptr<Capturer> capturer;

    SettingsHandler& settings = SettingsHandler::instance();
    const FramePacing pacing = readFramePacing(settings);
    const bool busyWait = settings.getBool("System.BusyWait");
    const float step = float(pacing.step);
    const double frequency = double(SDL_GetPerformanceFrequency());
    double accumulator = 0.0;
    Uint64 last = SDL_GetPerformanceCounter();
    bool firstFrameShown = false;
    UnpacedSyncWatch syncWatch(displayRefreshRate());

    while (!app.quit) {
        const Uint64 now = SDL_GetPerformanceCounter();
        // The same moment on the clock the loop sleeps by.
        const double passStart = monotonicSeconds();
        if (flags.capture && !capturer) capturer = std::make_unique<Capturer>(&renderFrame);
        if (!pumpEvents()) break;
        // A counter that went back gives a negative time, which resets the frame.
        const float frameTime =
            flags.capture ? CaptureFrameTime : float(double(std::int64_t(now - last)) / frequency);
        const bool syncAsked = !flags.disableVSync && app.vsync != 0;
        FramePacing framePacing = pacing;
        framePacing.minFrameTime = syncWatch.minFrameTime(pacing.minFrameTime, syncAsked);
        const FramePass pass = planFramePass(framePacing, frameTime, accumulator);
        if (pass.kind == FramePass::Frame) {
            last = now;
            for (const std::string& message : pipe->takeMessages()) runPipeText(message);
            accumulator = pass.accumulator;
            for (int i = 0; i < pass.steps; ++i) {
                pollInput();
                updateCursor(step);
                updateStep(step);
            }
            VertexBufferPool::nextFrame();
            Screen::setFrameTime(pass.frameTime);
            Screen::setInterpolation(float(accumulator / pacing.step));
            renderViewports();
            if (DebugDraw::exists()) DebugDraw::instance().advance(pass.frameTime);
            PerfOverlay::global().recordFrame(pass.frameTime);
            applySwapInterval();
            SDL_GL_SwapWindow(app.window);
            if (flags.capture && capturer) capturer->captureFrame();
            if (!firstFrameShown) reportFirstFrame();
            firstFrameShown = true;
            if (syncWatch.observe(pass.frameTime, syncAsked)) reportUnpacedSync(pass.frameTime, syncWatch.refreshRate());
        } else if (pass.kind == FramePass::Reset) {
            last = now;
        }
        SleepRules rules;
        rules.timerResolution = resolution;
        rules.busyWait = busyWait;
        rules.disableSleep = flags.disableSleep;
        rules.unfocused = app.unfocused;
        const double sleep = passSleepSeconds(pass, framePacing, rules);
        if (sleep > 0.0) sleepUntil(passStart + sleep);
    }

    pipe.reset();
    setStoreOverlayListener(nullptr);
}

} // namespace zor
