#include "Framework/system/SystemCore.h"

#include "Framework/audio/AudioHandler.h"
#include "Framework/core/Errors.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/core/text/NarrowingCache.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/debug/PerfOverlay.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/texture/TextureCache.h"
#include "Framework/input/InputState.h"
#include "Framework/store/AchievementStore.h"
#include "Framework/store/LeaderboardDefinitions.h"
#include "Framework/store/StoreMirrors.h"
#include "Framework/store/StoreService.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/AudioOutput.h"
#include "Framework/system/GameHooks.h"
#include "Framework/system/OnScreenLog.h"
#include "Framework/system/SettingsDebugMenuService.h"
#include "Framework/system/SettingsSetUp.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/SystemHandlers.h"
#include "Framework/system/surface/StateMachine.h"
#include "game/definitions/TextureDefinition.h"

#include <thread>

namespace zor {

namespace {

// Quads of the general-purpose batch the game states share.
constexpr int SystemQuadCapacity = 1024;

constexpr const char* LogSource = "System";

} // namespace

void initSystem() {
    ApplicationState& app = appState();
    app.totalTime = 0.0f;
    app.stateFailed = false;
    resetStateMachine();
    app.onScreenLogId = 0;
    app.mainThreadId = std::this_thread::get_id();
    app.processorCount = int(std::thread::hardware_concurrency());

    GameHooks& hooks = gameHooks();
    callGameHook(hooks.registerMenuItemTypes);
    callGameHook(hooks.registerGameFactories);
    callGameHook(hooks.setDefaultViewSizes);

    try {
        createServices();
    } catch (const CheckReleaseError& error) {
        app.stateFailed = true;
        if (hasLoadErrorHandler()) reportLoadError(error.what());
    }

    callGameHook(hooks.watchForcedPatchSetting, StateRequestFunction(&requestState));
}

void createServices() {
    ApplicationState& app = appState();
    GameHooks& hooks = gameHooks();

    app.pumpedQueue = std::make_unique<PumpedWorkQueue>();
    setRenderQueue(app.pumpedQueue.get());
    // Before the worker starts: formatting on both threads would fill the table at once.
    fillCharacterNarrowingCache();
    app.threadedQueue = std::make_unique<ThreadedWorkQueue>();
    if (!DebugDraw::exists()) new DebugDraw();
    setOnScreenLog(true);
    setUpSettings();
    if (!LocalizationHandler::exists()) new LocalizationHandler();
    LocalizationHandler::instance().init("Language");
    std::shared_ptr<GameSession> session = hooks.createGameSession ? hooks.createGameSession() : nullptr;
    callGameHook(hooks.loadKeyTextures);
    // The music thread starts here.
    AudioHandler* audio = new AudioHandler();
    audio->init();
    if (nullAudioOutputChosen())
        LogHandler::log(LogHandler::Warning, LogSource, "No sound device could be opened; the game runs silently");
    audio->setSoundVolume(SettingsHandler::instance().getFloat("SoundVolume"));
    audio->setMusicVolume(SettingsHandler::instance().getFloat("MusicVolume"));
    auto modelCache = std::make_shared<ModelCache>();
    auto fontSet = std::make_shared<FontSet>();
    fontSet->load("Fonts");
    auto primitiveBatch3d = std::make_shared<PrimitiveBatch3d>();
    auto primitiveBatch = std::make_shared<PrimitiveBatch>();
    auto quadBatch = std::make_shared<QuadBatch>(SystemQuadCapacity);
    systemComponents() =
        std::make_shared<SystemComponents>(quadBatch, primitiveBatch, primitiveBatch3d, modelCache, fontSet, session);
    if (storeClientPresent()) createStoreMirrors();
    DebugDraw::instance().setRenderer(fontSet->requireShared("debug_small"), quadBatch, primitiveBatch);
    PerfOverlay::init(fontSet->requireShared("debug"));
    if (!app.randomizer) app.randomizer = new Randomizer(Randomizer::fromSeed(clockSeed()));
    AudioHandler::instance().setRandomizer(*app.randomizer);
    InputState::global().init();
    loadTextureDefinitions();
    if (session) callGameHook(hooks.loadGameSession, *session);
    initLocalAchievements();
    loadLeaderboardDefinitions();
    callGameHook(hooks.attachStateManager, *systemComponents());
    coreDebugFlags();
    callGameHook(hooks.registerMenuDebugCommands);
}

void deleteWorkQueues() {
    ApplicationState& app = appState();
    app.threadedQueue.reset();
    setRenderQueue(nullptr);
    app.pumpedQueue.reset();
}

void shutdownSystem() {
    deleteWorkQueues();
    stateMachine().currentSurface.reset();
    systemComponents().reset();
    releaseServices();
    TextureCache::purge();
}

void releaseServices() {
    delete DebugDraw::instancePointer();
    // Its music thread is joined.
    delete AudioHandler::instancePointer();
    storeShutdown();
    closeSettingsDebugMenu();
    delete SettingsHandler::instancePointer();
    appState().settingsSetUp = false;
}

} // namespace zor
