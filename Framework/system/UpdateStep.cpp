#include "Framework/system/UpdateStep.h"

#include "Framework/audio/AudioHandler.h"
#include "Framework/core/Errors.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/primitive/ScreenFade.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/InputState.h"
#include "Framework/store/AchievementStore.h"
#include "Framework/store/StoreService.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/GameHooks.h"
#include "Framework/system/OnScreenLog.h"
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

void passToLoadErrorHandler(const std::string& text) {
    if (hasLoadErrorHandler()) reportLoadError(text);
}

void provokeAccessFault() {
    // The crash translator reports the fault, as it would any other.
    int* volatile address = nullptr;
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
    // clearDebugDraw (one-shot) empties the debug-draw queues.
    if (flags.showLog && app.onScreenLogId == 0) setOnScreenLog(true);
    if (!flags.showLog && app.onScreenLogId != 0) setOnScreenLog(false);
    if (flags.resetAchievements.exchange(false)) resetAchievements();
    // resetProgress (one-shot, while a game session exists) resets the settings but the
    // permanent and profile ones and saves "settings.xml"; showFps shows the performance overlay.
    dt = std::min(dt, MaxStepLength);
    app.totalTime += dt;
    if (app.stateFailed) return;

    callGameHook(gameHooks().serveStateRequests);
    StateMachine& machine = stateMachine();
    if (machine.fadePhase != FadeNone) updateFade(dt);

    InputState& input = InputState::global();
    // An open settings debug menu takes the input first.
    if (machine.currentSurface) machine.currentSurface->handleInput(input);

    UpdateRecord record;
    record.stepLength = dt;
    record.totalTime = app.totalTime;
    record.fading = machine.fadePhase != FadeNone;
    // The performance overlay records 1 / stepLength; the settings debug menu and the
    // audio handler's music take the record.
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
}

} // namespace zor
