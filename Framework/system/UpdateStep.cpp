#include "Framework/system/UpdateStep.h"

#include "Framework/audio/AudioHandler.h"
#include "Framework/core/Errors.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/debug/PerfOverlay.h"
#include "Framework/graphics/primitive/ScreenFade.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/InputState.h"
#include "Framework/store/AchievementStore.h"
#include "Framework/store/StoreService.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/GameHooks.h"
#include "Framework/system/OnScreenLog.h"
#include "Framework/system/SettingsDebugMenuService.h"
#include "Framework/system/SettingsSetUp.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/SystemHandlers.h"
#include "Framework/system/surface/StateMachine.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <algorithm>
#include <thread>

namespace zor {

namespace {

// No step handed to the game is longer, so a stall never makes one step longer.
constexpr float MaxStepLength = 0.1f;
// A single-processor machine leaves the worker about one frame while the game loads.
constexpr double LoadingYieldSeconds = 0.016393441706895828;

void yieldToWorker() {
    const ApplicationState& app = appState();
    if (app.processorCount >= 2 || !app.threadedQueue || !app.threadedQueue->hasPendingWork()) return;
    if (app.backgroundLoading)
        sleepSeconds(LoadingYieldSeconds);
    else
        std::this_thread::yield();
}

// Over everything else: the debug draw's screen layer in the last viewport, where the
// on-screen log's box lies, and the performance overlay where it was laid out.
void drawDebugLayers(QuadBatch& quads) {
    if (DebugDraw::exists() && Screen::currentViewportIndex() == std::int32_t(Screen::viewports().size()) - 1)
        DebugDraw::instance().draw(DebugDraw::instance().screenLayer, fpMatrix4());
    quads.begin();
    PerfOverlay::global().draw(quads, fpMatrix4());
    quads.flush(0);
}

void passToLoadErrorHandler(const std::string& text) {
    if (hasLoadErrorHandler()) reportLoadError(text);
}

// Every setting but the permanent and the profile ones.
constexpr std::uint32_t ResetProgressMask = 0xFFFFFFF3u;

bool gameSessionExists() {
    const std::shared_ptr<SystemComponents>& components = systemComponents();
    return components && components->gameSession;
}

// The crash translator reports the fault, as it would any other. Both the address and the
// store are volatile, or the compiler drops a store it can see faulting; the undefined-
// behaviour sanitizer is told the fault is meant.
__attribute__((no_sanitize("undefined"))) void provokeAccessFault() {
    volatile int* volatile address = nullptr;
    *address = 0;
}

} // namespace

float debugScaledTime(float seconds) {
    const CoreDebugFlags& flags = coreDebugFlags();
    if (flags.slowMo) seconds *= 0.25f;
    if (flags.speedUp) seconds *= 4.0f;
    if (flags.still) seconds = 0.0f;
    return seconds;
}

void updateStep(float stepLength) {
    ApplicationState& app = appState();
    const CoreDebugFlags& flags = coreDebugFlags();

    if (app.pumpedQueue) app.pumpedQueue->pump();
    yieldToWorker();
    if (reportWorkerFailure(&passToLoadErrorHandler)) app.stateFailed = true;

    float dt = debugScaledTime(stepLength);
    if (flags.step.exchange(false)) {
        flags.still = true;
        dt = stepLength;
    }
    if (flags.crash.exchange(false)) provokeAccessFault();
    if (flags.clearDebugDraw.exchange(false) && DebugDraw::exists()) DebugDraw::instance().clear();
    if (flags.showLog && app.onScreenLogId == 0) setOnScreenLog(true);
    if (!flags.showLog && app.onScreenLogId != 0) setOnScreenLog(false);
    if (flags.resetAchievements.exchange(false)) resetAchievements();
    if (gameSessionExists() && flags.resetProgress.exchange(false)) {
        SettingsHandler& settings = SettingsHandler::instance();
        settings.resetToDefaults(ResetProgressMask);
        settings.writeValues("settings.xml", UserSettingsMask);
    }
    PerfOverlay::global().setShown(flags.showFps);
    dt = std::min(dt, MaxStepLength);
    app.totalTime += dt;
    if (app.stateFailed) return;

    callGameHook(gameHooks().serveStateRequests);
    StateMachine& machine = stateMachine();
    if (machine.fadePhase != FadeNone) updateFade(dt);

    InputState& input = InputState::global();
    const bool menuTookInput = app.settingsDebugMenu && app.settingsDebugMenu->handleInput(input);
    if (!menuTookInput && machine.currentSurface) machine.currentSurface->handleInput(input);

    UpdateRecord record;
    record.stepLength = dt;
    record.totalTime = app.totalTime;
    record.fading = machine.fadePhase != FadeNone;
    PerfOverlay::recordFrameTime(stepLength > 0.0f ? 1.0f / stepLength : 0.0f);
    PerfOverlay::update(record.stepLength);
    if (systemComponents()) pollSettingsDebugMenu(record, *systemComponents());
    if (AudioHandler::exists()) AudioHandler::instance().updateMusic(record.stepLength);
    storeRunCallbacks();
    if (machine.currentSurface) {
        try {
            machine.currentSurface->update(record);
        } catch (const CheckReleaseError& error) {
            app.stateFailed = true;
            passToLoadErrorHandler(error.what());
        }
    }
    input.update(dt);
}

void renderFrame() {
    if (Screen::stereoMode() != Screen::StereoSecondEye) Screen::setFrameTime(debugScaledTime(Screen::frameTime()));
    const std::shared_ptr<SystemComponents>& components = systemComponents();
    if (components) components->quadBatch->setScreenProjection();
    StateMachine& machine = stateMachine();
    if (!appState().stateFailed && machine.currentSurface) machine.currentSurface->render();
    if (machine.fadeLevel != 0.0f && components) drawFadeOverlay(machine.fadeLevel, *components->primitiveBatch);
    if (components) drawDebugLayers(*components->quadBatch);
}

} // namespace zor
