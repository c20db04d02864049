#include "game/ui/Ingame.h"

#include "game/definitions/LoadAllDefinitions.h"
#include "game/presentation/IngameGraphics.h"
#include "game/simulation/Game.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/PlayStart.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"

#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/SpriteManagers.h"
#include "Framework/input/InputState.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/SystemComponents.h"

#include <exception>
#include <utility>

namespace zor {

namespace {

constexpr const char* LogSource = "Ingame";

iRect mainViewArea() {
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    if (viewports.empty()) return iRect();
    return iRect(0, 0, std::int32_t(viewports.front().virtualWidth), std::int32_t(viewports.front().virtualHeight));
}

// The session and the profile settings it writes belong to the main thread.
void saveSession(GameSession* session) {
    if (!session) return;
    try {
        session->save();
    } catch (const std::exception& error) {
        LogHandler::log(LogHandler::Warning, LogSource, error.what());
    }
}

} // namespace

const std::vector<std::string>& Ingame::preloadSpriteSets() {
    // The interface's own set comes last: the interface only looks it up.
    static const std::vector<std::string> sets = {
        "Sprites/lights",          "Sprites/effects",          "Sprites/resources",
        "Sprites/portraits",       "Sprites/buttons",          "Sprites/char-cogsby",
        "Sprites/enemies-general", "Sprites/environment-general", "Sprites/chars-shalebury",
        "Sprites/environment-shalebury", "Sprites/enemies-mireth", "Sprites/enemies-deepvault",
        "Sprites/enemies-quellox", "Sprites/environment-tutorial", "Sprites/ui"};
    return sets;
}

void Ingame::GameSlot::release() {
    game.reset();
    graphics.reset();
}

Ingame::Ingame(StateRequestFunction request, SystemComponents& components)
    : StateSurface(mainViewArea()),
      m_request(std::move(request)),
      m_components(components),
      m_slot(std::make_shared<GameSlot>()),
      m_loader(components) {
    m_slot->host = this;
    saveSession(components.gameSession.get());
    postLoads();
    if (SystemEvents::exists()) {
        SystemEvents& events = SystemEvents::instance();
        m_connections.push_back(events.focusLost.connect(this, [](Ingame* host) { host->m_unfocused = true; }));
        m_connections.push_back(events.focusGained.connect(this, [](Ingame* host) { host->m_unfocused = false; }));
    }
}

void Ingame::postLoads() {
    ApplicationState& app = appState();
    ThreadedWorkQueue& worker = *app.threadedQueue;
    worker.post(&loadAllDefinitions);

    m_slot->graphics = std::make_unique<IngameGraphics>(m_components);
    m_slot->graphics->preload(worker);
    SpriteManagers* managers = m_components.spriteManagers.get();
    for (const std::string& set : preloadSpriteSets())
        if (!managers->find(set)) worker.post([managers, set] { managers->get(set); });

    GameContext context;
    context.components = &m_components;
    context.graphics = m_slot->graphics.get();
    context.ports = programGamePorts();
    context.workerQueue = &worker;
    context.mainQueue = app.pumpedQueue.get();
    // Drawn and taken here: the program's generator and the settings belong to the main
    // thread.
    context.seed = app.randomizer ? app.randomizer->next() : clockSeed();
    context.playStart = takePlayStart(m_components.gameSession.get());
    // A Game that cannot be built leaves this job by its exception: the worker's failure.
    worker.post([slot = m_slot, context] {
        context.components->spriteManagers->setLoadOnDemand(true);
        slot->game = std::make_unique<Game>(context);
        context.mainQueue->post([slot] {
            if (slot->host) slot->host->onGameBuilt();
        });
        appState().backgroundLoading = false;
    });
    app.backgroundLoading = true;
}

Ingame::~Ingame() {
    std::shared_ptr<GameSlot> slot = m_slot;
    slot->host = nullptr;
    if (m_phase == Phase::Ending) {
        // The Game went on the worker; only then are the pools idle.
        if (slot->destroyed) {
            PooledObject::releaseFreeMemory();
            PooledObject::releaseFreeMemoryLocked();
        }
        return;
    }
    ApplicationState& app = appState();
    if (!app.threadedQueue || !app.pumpedQueue) {
        // Shutdown: the worker is gone, so nothing else holds the Game.
        if (slot->game && slot->handedBack) slot->game->world().leavingGame.fireNoArgs();
        slot->release();
        return;
    }
    // The Game may still be built, or build a level, on the worker, with its hand-back to
    // follow on the main thread. Wait for both, then leave and destroy it on the worker.
    ThreadedWorkQueue* worker = app.threadedQueue.get();
    PumpedWorkQueue* main = app.pumpedQueue.get();
    worker->post([slot, worker, main] {
        main->post([slot, worker] {
            if (slot->game && slot->handedBack) slot->game->world().leavingGame.fireNoArgs();
            worker->post([slot] { slot->release(); });
        });
    });
}

void Ingame::onGameBuilt() {
    m_components.spriteManagers->setLoadOnDemand(false);
    m_phase = Phase::Running;
    m_slot->handedBack = true;
    m_slot->game->recreateGraphics();
    LogHandler::log(LogHandler::Info, LogSource, "Game built and handed back");
}

bool Ingame::gameReady() const {
    return m_phase == Phase::Running && !m_slot->game->levelBuildRunning();
}

bool Ingame::handleInput(InputState& input) {
    if (!gameReady() || m_unfocused) return false;
    Game& game = *m_slot->game;
    if (m_levelKey.handle(input, game.simulator())) return true;
    const bool taken = game.handleInput(input);
    // The player's controls take the buttons of every step they read; the key still ends
    // play unless a screen of the interface is open and may have wanted it.
    const bool screenOpen = game.isPaused() || game.world().screenOpen;
    if (!input.wasPressed(QuitButton) || (taken && screenOpen)) return taken;
    game.world().quitRequested.fireNoArgs();
    return true;
}

void Ingame::update(const UpdateRecord& record) {
    if (gameReady()) {
        m_loaderShown = false;
        Game& game = *m_slot->game;
        m_renderRecord = record;
        if (m_unfocused) m_renderRecord.stepLength = 0.0f;
        game.update(m_renderRecord);
        if (!game.levelBuildRunning() && game.quitRequested() && game.fadeOver()) {
            game.world().leavingGame.fireNoArgs();
            endGame();
        }
        return;
    }
    if (!m_loaderShown) {
        m_loader.restart();
        m_loaderShown = true;
    }
    m_loader.update(record);
}

void Ingame::endGame() {
    m_phase = Phase::Ending;
    PumpedWorkQueue* main = appState().pumpedQueue.get();
    appState().threadedQueue->post([slot = m_slot, main, request = m_request] {
        slot->release();
        main->post([slot, request] {
            slot->destroyed = true;
            LogHandler::log(LogHandler::Info, LogSource, "Game destroyed, back to the menus");
            if (slot->host) request({RequestState, StateMenus});
        });
    });
}

void Ingame::render() {
    if (gameReady()) {
        Game& game = *m_slot->game;
        if (Screen::currentViewportIndex() == 0) {
            const bool frozen = game.isPaused() || m_unfocused;
            m_renderRecord.stepLength = frozen ? 0.0f : Screen::frameTime() * game.simulator().timeScale();
            m_renderRecord.totalTime += m_renderRecord.stepLength;
        }
        game.draw(m_renderRecord);
    } else if (m_loaderShown && m_phase != Phase::Ending) {
        m_loader.draw();
    }
}

} // namespace zor
