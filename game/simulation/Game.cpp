#include "game/simulation/Game.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/LightSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/ports/Audiolizer.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/ports/Visualizer.h"
#include "game/simulation/seams/SeamFactory.h"
#include "game/world/World.h"
#include "game/world/WorldSaveFiles.h"

#include "Framework/core/Errors.h"
#include "Framework/core/math/Color.h"
#include "Framework/core/threads/WorkQueue.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <stdexcept>
#include <string>

namespace zor {

namespace {

constexpr std::int32_t FadeIn = 0;
constexpr std::int32_t FadeOut = 1;

ScreenFade blackFade() {
    const FloatColor& black = colorBlackFloat();
    ScreenFade fade;
    fade.red = black.red;
    fade.green = black.green;
    fade.blue = black.blue;
    fade.unused = black.alpha;
    fade.duration = Game::FadeSeconds;
    fade.direction = FadeIn;
    fade.viewportIndex = -1;
    return fade;
}

void setSpriteLoadOnDemand(SystemComponents* components, bool enabled) {
    if (components && components->spriteManagers) components->spriteManagers->setLoadOnDemand(enabled);
}

const SeamFactory& defaultSeams() {
    static const SeamFactory seams;
    return seams;
}

} // namespace

Game::Game(const GameContext& context)
    : m_context(context),
      m_random(Randomizer::fromSeed(context.seed)),
      m_fade(blackFade()),
      m_clearPersistent(declareDebugToggle(DebugToggle("clearPersistent", DebugToggle::OneShot, "game"))) {
    makeSubsystems();
    m_connections.push_back(m_lightSimulator->secretFound.connect(m_simulator.get(), &Simulator::onSecretFound));
    m_connections.push_back(m_world->quitRequested.connect(this, &Game::requestQuit));
    m_connections.push_back(m_world->restartRequested.connect(this, &Game::requestRestart));
    m_simulator->mainThreadWork().beginCollecting();
    m_simulator->start(m_context.playStart);
}

Game::~Game() {
    releaseSubsystems();
    m_connections.clear();
}

void Game::makeSubsystems() {
    const GamePorts& ports = *m_context.ports;
    m_world = std::make_shared<World>(m_random);
    m_audio = ports.makeGameAudio(*m_world);
    m_userInterface = ports.makeUserInterface(m_context.graphics, m_context.components, *m_world);
    const SeamFactory& seams = m_context.seams ? *m_context.seams : defaultSeams();
    m_simulator = std::make_shared<Simulator>(*m_world, *m_userInterface, m_context.components, *m_audio, ports,
                                              seams, m_context.levels);
    m_lightSimulator = std::make_shared<LightSimulator>(*m_world);
    m_visualizer = ports.makeVisualizer(m_context.components, m_context.graphics, *m_world);
    m_audiolizer = ports.makeAudiolizer(*m_world, *m_audio);
}

void Game::releaseSubsystems() {
    // Users before what they use, the World last.
    m_simulator.reset();
    m_lightSimulator.reset();
    m_visualizer.reset();
    m_audiolizer.reset();
    m_userInterface.reset();
    m_audio.reset();
    m_world.reset();
}

void Game::recreateGraphics() {
    m_visualizer->createRenderResources();
    m_userInterface->createRenderResources();
    m_simulator->mainThreadWork().runCollected();
    m_world->levelReady.fireNoArgs();
}

void Game::startFade(std::int32_t direction) {
    m_fade.elapsed = 0.0f;
    m_fade.direction = direction;
}

void Game::requestQuit() {
    if (m_quitRequested) return;
    startFade(FadeOut);
    m_quitRequested = true;
}

void Game::requestRestart() {
    if (m_restartRequested) return;
    startFade(FadeOut);
    m_restartRequested = true;
}

bool Game::isPaused() const {
    return m_userInterface->pauseScreenOpen() || m_userInterface->inventorySlotSelected();
}

void Game::update(const UpdateRecord& record) {
    if (m_quitRequested) return;
    if (m_clearPersistent.exchange(false)) {
        const GameSession* session = m_context.components ? m_context.components->gameSession.get() : nullptr;
        discardSaveKeepCurrentLevel(*m_world, session ? session->currentProfile : NoSaveSlot);
    }
    if (fadeOver() && m_restartRequested) rebuild();
    if (m_simulator->levelChangePending()) {
        if (fadeOver() && m_fade.direction == FadeOut) {
            startLevelBuild();
            return;
        }
        if (fadeOver()) startFade(FadeOut);
    }
    if (isPaused()) {
        if (!m_pausedLastStep) {
            m_pausedLastStep = true;
            m_world->pauseStarted.fireNoArgs();
        }
        UpdateRecord frozen = record;
        frozen.stepLength = 0.0f;
        m_visualizer->update(frozen);
    } else {
        m_pausedLastStep = false;
        ++m_world->stepCounter;
        UpdateRecord scaled = record;
        scaled.stepLength *= m_simulator->timeScale();
        m_simulator->update(scaled);
        m_lightSimulator->update(scaled);
        m_visualizer->update(scaled);
        m_audiolizer->update(scaled);
    }
    m_userInterface->update(record);
}

void Game::startLevelBuild() {
    m_levelBuildRunning = true;
    m_world->levelUnloading.fireNoArgs();
    // Raised before the job is posted: the job lowers it when it ends, which may be at once.
    appState().backgroundLoading = true;
    m_context.workerQueue->post([this] { buildLevelJob(); });
}

void Game::buildLevelJob() {
    setSpriteLoadOnDemand(m_context.components, true);
    m_simulator->mainThreadWork().beginCollecting();
    try {
        m_simulator->buildLevel();
    } catch (const std::runtime_error& error) {
        throw CheckReleaseError(std::string("Could not change level: ") + error.what());
    }
    m_context.mainQueue->post([this] { onLevelBuilt(); });
    appState().backgroundLoading = false;
}

void Game::onLevelBuilt() {
    setSpriteLoadOnDemand(m_context.components, false);
    m_simulator->mainThreadWork().runCollected();
    m_world->levelReady.fireNoArgs();
    m_levelBuildRunning = false;
    startFade(FadeIn);
}

void Game::rebuild() {
    // The old game's loops would play on into the new one.
    m_audio->stopAllSounds();
    releaseSubsystems();
    m_connections.clear();
    makeSubsystems();
    m_visualizer->createRenderResources();
    m_userInterface->createRenderResources();
    m_simulator->startDemo();
    // The demo's level is in place, on the main thread.
    m_world->levelReady.fireNoArgs();
    // A demo offers the restart instead of the way back to the front end.
    m_connections.push_back(m_world->restartRequested.connect(this, &Game::requestRestart));
    m_restartRequested = false;
    startFade(FadeIn);
}

bool Game::handleInput(InputState& input) {
    if (m_quitRequested || m_simulator->levelChangePending()) return true;
    if (m_visualizer->handleDebugInput(input) || m_userInterface->handleInput(input)) return true;
    if (isPaused()) return true;
    if (m_simulator->gameOver()) return false;
    return m_simulator->gameObjects().handlePlayerInput(input);
}

void Game::draw(const UpdateRecord& drawRecord) {
    // Once per frame: the first viewport, not the second eye of a stereo pair.
    if (Screen::currentViewportIndex() == 0 && Screen::stereoMode() != Screen::StereoSecondEye)
        m_fade.elapsed += Screen::frameTime();
    m_visualizer->render(drawRecord);
    m_userInterface->draw();
    m_simulator->drawDebug();
    if (m_context.components && m_context.components->primitiveBatch)
        drawScreenFade(m_fade, *m_context.components->primitiveBatch);
}

} // namespace zor
