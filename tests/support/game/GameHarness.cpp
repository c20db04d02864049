#include "tests/support/game/GameHarness.h"

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/FixtureLevels.h"
#include "tests/support/game/StateHash.h"

#include "game/simulation/Game.h"
#include "game/simulation/LightSimulator.h"
#include "game/simulation/GameSession.h"
#include "Framework/system/SystemComponents.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/Destination.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/TileDamage.h"
#include "game/world/entity/WorldText.h"

#include "game/definitions/LoadAllDefinitions.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/physics/ShapePairTests.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/core/threads/WorkerFailure.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/ApplicationState.h"

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace zor::test {

namespace {

// The keys the scripted buttons are bound to, in order of first use.
constexpr const char* ButtonKeys[] = {"Key.A", "Key.B", "Key.C", "Key.D", "Key.E", "Key.F", "Key.G", "Key.H",
                                      "Key.I", "Key.J", "Key.K", "Key.L", "Key.M", "Key.N", "Key.O", "Key.P",
                                      "Key.Q", "Key.R", "Key.S", "Key.T", "Key.U", "Key.V", "Key.W", "Key.X"};

void declareIfMissing(SettingsHandler& settings, const std::string& key, const SettingValue& value,
                      std::uint32_t persistence) {
    if (settings.settings().count(key) == 0) settings.declare(key, "", value, persistence, SettingInternal);
}

// The settings the game reads, as the fixture's own declarations.
void declareFixtureSettings(SettingsHandler& settings) {
    declareIfMissing(settings, "Debug.SetLevel", std::string(), SettingTemporary);
    declareIfMissing(settings, "Debug.ForceSpecificPatch", std::string(), SettingTemporary);
    declareIfMissing(settings, "Debug.ForceStartPosition", fpVector2(), SettingTemporary);
    declareIfMissing(settings, "Debug.GiveBaseItems", 0, SettingTemporary);
    declareIfMissing(settings, "World.DisableSaves", 0, SettingTemporary);
    declareIfMissing(settings, "Profile.RespawnLevel", std::string("fixture_town"), SettingProfile);
    declareIfMissing(settings, "Profile.FirstDeath", 1, SettingProfile);
    declareIfMissing(settings, "Game.Gravity", 1500.0f, SettingPersistent);
}

// The sample game data, once per program, and its settings declarations in the settings
// handler of the moment (a harness that made one takes it along when it goes).
void loadSampleData(SettingsHandler& settings) {
    static const bool loaded = [] {
        initFileSystem("BundlePC");
        installPatchLibraryReader();
        loadAllDefinitions();
        return true;
    }();
    (void)loaded;
    if (settings.settings().count("Debug.SetLevel") == 0) settings.loadDefinitions("Definitions/settings.xml");
}

void layOutMainViewport() {
    Screen::initViewports();
    Screen::Viewport& viewport = Screen::viewports().front();
    viewport.virtualWidth = 640.0f;
    viewport.virtualHeight = 360.0f;
    viewport.windowWidth = viewport.width = 1280;
    viewport.windowHeight = viewport.height = 720;
    viewport.scaleMode = Screen::ScaleCover;
    viewport.updateScale();
    Screen::setCurrentViewportIndex(0);
    Screen::setStereoMode(Screen::StereoNone);
    Screen::setFrameTime(GameHarness::StepLength);
}

void hashEntity(StateHash& hash, const Entity& entity, std::int32_t firstId) {
    hash.add(std::uint64_t(std::int64_t(entity.id()) - firstId));
    hash.add(std::uint64_t(entity.type()));
    hash.add(std::uint64_t(entity.alive()));
    hash.add(entity.getPosition());
    switch (entity.type()) {
    case EntityType::GameObject: {
        const auto& object = static_cast<const GameObject&>(entity);
        hash.add(std::uint64_t(object.kind()));
        hash.add(object.gameObjectDefinition().name);
        hash.add(object.facing);
        hash.add(object.physicalObject.velocity);
        hash.add(object.physicalObject.getBounds());
        if (object.kind() == GameObjectKind::Actor) {
            const auto& actor = static_cast<const ActorObject&>(object);
            hash.add(actor.hitPoints);
            hash.add(actor.water);
            hash.add(actor.lightTime);
            hash.add(std::uint64_t(actor.busyFlags));
            // Set-up's random draws.
            for (float timer : {actor.edgeTimer, actor.meetTimer, actor.randomCountdown, actor.heartbeatCountdown,
                                actor.idleSoundCountdown, actor.aimAngle})
                hash.add(timer);
        } else if (object.kind() == GameObjectKind::Resource) {
            hash.add(static_cast<const ResourceObject&>(object).remainingLifeTime);
        } else {
            const auto& projectile = static_cast<const Projectile&>(object);
            // The owner by its distance from the first id, as the entities themselves.
            hash.add(std::uint64_t(projectile.ownerId == 0 ? -1 : std::int64_t(projectile.ownerId) - firstId));
            hash.add(projectile.fuzeTime);
        }
        break;
    }
    case EntityType::Effect: {
        const auto& effect = static_cast<const EffectObject&>(entity);
        hash.add(std::uint64_t(effect.finished));
        hash.add(effect.scaleX);
        hash.add(effect.rotation);
        break;
    }
    case EntityType::WorldText: {
        const auto& text = static_cast<const WorldText&>(entity);
        hash.add(text.text);
        hash.add(text.remainingTime);
        hash.add(text.alpha);
        break;
    }
    case EntityType::TileDamage: hash.add(static_cast<const TileDamage&>(entity).progress); break;
    case EntityType::Light: hash.add(static_cast<const LightObject&>(entity).strength); break;
    case EntityType::Destination: hash.add(static_cast<const Destination&>(entity).remainingTime); break;
    case EntityType::Beam: {
        const auto& beam = static_cast<const Beam&>(entity);
        hash.add(beam.angle);
        hash.add(beam.length);
        break;
    }
    case EntityType::Shape:
    case EntityType::Exit: break;
    }
}

} // namespace

GameHarness::GameHarness(const HarnessOptions& options) {
    m_worker.setRunAtPost(options.workerRunsAtPost);
    m_ports->actingScreens = options.actingScreens;
    m_seams->recordings->gameMovement = options.gameMovement;
    m_seams->recordings->gameContacts = options.gameContacts;
    installShapePairTests();
    layOutMainViewport();
    // A secret announced by an earlier game of the program would delay this game's.
    LightSimulator::resetSecretAnnouncement();
    if (!SettingsHandler::exists()) m_ownSettings = std::make_unique<SettingsHandler>();
    SettingsHandler& settings = SettingsHandler::instance();
    if (options.sampleData) {
        loadSampleData(settings);
    } else {
        loadFixtureDefinitions();
        declareFixtureSettings(settings);
    }
    // Each game starts from the declared values, whatever an earlier game of the program set.
    settings.resetToDefaults(SettingTemporary | SettingProfile);

    m_firstId = Entity::lastIssuedId() + 1;
    GameContext context;
    context.ports = options.ports ? options.ports(m_ports) : m_ports;
    m_seams->gameRules = options.gameRules;
    m_seams->recordings->saveFiles = options.saveFiles;
    context.seams = m_seams;
    context.levels = options.levels;
    if (!context.levels && !options.sampleData) context.levels = fixtureLevels();
    if (options.withSession) {
        m_session = std::make_shared<GameSession>();
        if (options.loadSession) {
            m_session->load();
            m_session->selectProfile(m_session->currentProfile, true);
        }
        m_components = std::make_unique<SystemComponents>(nullptr, nullptr, nullptr, nullptr, nullptr, m_session);
        context.components = m_components.get();
    }
    context.workerQueue = &m_worker;
    context.mainQueue = &m_main;
    context.seed = options.seed;
    context.playStart = options.start;
    context.playStart.setLevel = options.startLevel;
    if (options.workerThread) {
        buildOnWorker(context);
        return;
    }
    m_game = std::make_unique<Game>(context);
    m_game->recreateGraphics();
}

void GameHarness::buildOnWorker(const GameContext& context) {
    m_ports->recordings->noteThreads = true;
    m_threadedWorker = std::make_unique<ThreadedWorkQueue>();
    GameContext threaded = context;
    threaded.workerQueue = m_threadedWorker.get();
    threaded.mainQueue = &m_pumped;
    bool handedBack = false;
    m_threadedWorker->post([this, threaded, &handedBack] {
        m_game = std::make_unique<Game>(threaded);
        m_pumped.post([this, &handedBack] {
            m_game->recreateGraphics();
            handedBack = true;
        });
    });
    while (!handedBack) {
        pumpHandBacks();
        std::this_thread::yield();
    }
}

void GameHarness::pumpHandBacks() {
    m_pumped.pump();
    std::string failure;
    if (!reportWorkerFailure([&failure](const std::string& text) { failure = text; })) return;
    m_workerFailed = true;
    throw std::runtime_error(failure);
}

GameHarness::~GameHarness() {
    if (m_threadedWorker && !m_workerFailed) {
        // Destroyed where it was made, once every job that may hand it back has run.
        m_threadedWorker->post([this] { m_game.reset(); });
        while (m_threadedWorker->hasPendingWork()) std::this_thread::yield();
        m_pumped.pump();
    }
    m_threadedWorker.reset();
    m_game.reset();
    m_components.reset();
    // A build that failed never lowered it.
    appState().backgroundLoading = false;
}

World& GameHarness::world() {
    return m_game->world();
}

Simulator& GameHarness::simulator() {
    return m_game->simulator();
}

GameObjectSimulator& GameHarness::objects() {
    return m_game->simulator().gameObjects();
}

void GameHarness::runSteps(int count) {
    for (int i = 0; i < count; ++i) step();
}

bool GameHarness::runUntilSettled(int maxSteps) {
    for (int i = 0; i < maxSteps; ++i) {
        if (!m_game->levelBuildRunning() && !m_game->simulator().levelChangePending()) return true;
        step();
    }
    return !m_game->levelBuildRunning() && !m_game->simulator().levelChangePending();
}

void GameHarness::step() {
    if (m_left) return;
    ++m_steps;
    if (m_threadedWorker) {
        pumpHandBacks();
    } else {
        m_worker.drain();
        m_main.drain();
    }
    m_record.stepLength = StepLength;
    m_record.totalTime += StepLength;
    playStep();
    m_input.update(StepLength);
}

void GameHarness::playStep() {
    Game& game = *m_game;
    if (game.levelBuildRunning()) {
        // The worker has the Game: leave it the processor.
        if (m_threadedWorker) std::this_thread::yield();
        return;
    }
    for (const std::string& button : m_held) m_input.setKeyHeld(m_keys.at(button), true);
    game.handleInput(m_input);
    game.update(m_record);
    // The step that posts a level build draws nothing more.
    if (game.levelBuildRunning()) return;
    if (game.quitRequested() && game.fadeOver()) {
        game.world().leavingGame.fireNoArgs();
        m_left = true;
        return;
    }
    Screen::setCurrentViewportIndex(0);
    Screen::setFrameTime(StepLength);
    UpdateRecord drawRecord = m_record;
    drawRecord.stepLength = game.isPaused() ? 0.0f : StepLength * game.simulator().timeScale();
    game.draw(drawRecord);
}

KeyCode GameHarness::keyOf(const std::string& button) {
    const auto found = m_keys.find(button);
    if (found != m_keys.end()) return found->second;
    if (m_keys.size() >= std::size(ButtonKeys)) throw std::logic_error("too many scripted buttons");
    const char* key = ButtonKeys[m_keys.size()];
    m_input.bind(button, key);
    return m_keys.emplace(button, *findKeyCode(key)).first->second;
}

void GameHarness::press(const std::string& button) {
    const KeyCode key = keyOf(button);
    m_input.setKeyPressed(key, true);
    m_input.setKeyHeld(key, true);
    m_held.insert(button);
}

void GameHarness::release(const std::string& button) {
    const KeyCode key = keyOf(button);
    m_input.setKeyReleased(key, true);
    m_input.setKeyHeld(key, false);
    m_held.erase(button);
}

std::uint64_t GameHarness::stateHash() {
    StateHash hash;
    World& world = m_game->world();
    hash.add(std::uint64_t(world.stepCounter));
    hash.add(std::uint64_t(world.entities().size()));
    for (const auto& [id, entity] : world.entities()) hashEntity(hash, *entity, m_firstId);
    hash.add(std::uint64_t(world.player() ? world.player()->id() - m_firstId : -1));
    if (world.level) {
        hash.add(world.level->name);
        const PersistentTileMap& grid = *world.level->tileMap;
        hash.add(std::uint64_t(grid.width()));
        hash.add(std::uint64_t(grid.height()));
        hash.add(grid.data().data(), grid.data().size());
    }
    const Camera& camera = world.camera;
    hash.add(camera.scroll);
    hash.add(camera.viewSize);
    hash.add(camera.visibleRect);
    hash.add(camera.zoom);
    hash.add(world.shake.remaining);
    hash.add(world.shake.amplitude);
    hash.add(std::uint64_t(world.shake.curve));
    hash.add(world.pan.target);
    hash.add(world.pan.progress);
    hash.add(std::uint64_t(world.pan.curve));
    // Ids by their distance from the harness's first, as the entities': each game of a
    // program counts on from the last.
    const auto relativeId = [this](std::int32_t id) { return std::uint64_t(id == 0 ? -1 : id - m_firstId); };
    hash.add(relativeId(world.cameraFocusTargetId));
    hash.add(world.cameraFocusBlend);
    hash.add(std::uint64_t(world.tintColor.value));
    hash.add(std::uint64_t(world.ambientColor.value));
    hash.add(world.overlayStrength);
    hash.add(std::uint64_t(world.bossPhase));
    hash.add(relativeId(world.bossId));
    const PlayerProgress& progress = world.progress;
    hash.add(std::uint64_t(progress.cash));
    hash.add(std::uint64_t(progress.orbs));
    hash.add(std::uint64_t(progress.experience));
    hash.add(std::uint64_t(progress.questIndex));
    hash.add(std::uint64_t(progress.secretsFound));
    std::vector<std::pair<std::string, std::int32_t>> items(progress.items.counts.begin(), progress.items.counts.end());
    std::sort(items.begin(), items.end());
    for (const auto& [name, count] : items) {
        hash.add(name);
        hash.add(std::uint64_t(count));
    }
    Simulator& simulator = m_game->simulator();
    hash.add(simulator.requestedLevel());
    hash.add(simulator.timeScale());
    hash.add(m_game->fade().elapsed);
    hash.add(std::uint64_t(m_game->fade().direction));
    hash.add(std::uint64_t(m_game->random().w()));
    hash.add(std::uint64_t(m_game->random().z()));
    return hash.value();
}

} // namespace zor::test
