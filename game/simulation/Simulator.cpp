// The Simulator's life and step: construction with its World listeners, the step, the
// camera fit, the surface lamp, death and the continue, saving.

#include "game/simulation/Simulator.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/LevelSource.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/ports/GamePorts.h"
#include "game/simulation/ports/ScriptSimulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/seams/GameRules.h"
#include "game/simulation/seams/QuestTracking.h"
#include "game/simulation/seams/SeamFactory.h"
#include "game/simulation/seams/WorldPersistence.h"
#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/store/AchievementStore.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <algorithm>

namespace zor {

namespace {

// The tint of the game-over slow-down: dark red at a halt, faint red at full speed.
constexpr PackedColor HaltedTint{0xA0000020};
constexpr PackedColor FullSpeedTint{0x100000FF};
// The shake record of no shake.
constexpr std::int32_t NoShakeCurve = 10;
// The surface fills a lamp in 4 seconds; it counts as refilling below 90 %.
constexpr float LampRefillPerSecond = 0.25f;
constexpr float LampRefillingBelow = 0.9f;
constexpr float SecondsPerMinute = 60.0f;

} // namespace

Simulator::Simulator(World& world, UserInterface& userInterface, SystemComponents* components, GameAudio& audio,
                     const GamePorts& ports, const SeamFactory& seams, std::shared_ptr<const LevelSource> levels)
    : m_world(world),
      m_userInterface(userInterface),
      m_components(components),
      m_audio(audio),
      m_levels(levels ? std::move(levels) : std::make_shared<LevelSource>()),
      m_rules(seams.makeGameRules()),
      m_quests(seams.makeQuestTracking()),
      m_persistence(seams.makeWorldPersistence()) {
    m_scriptSimulator = ports.makeScriptSimulator(components, *this, world);
    m_gameObjects = std::make_unique<GameObjectSimulator>(*this, world, userInterface, seams);
    connectWorld();
    m_gameObjects->readSettings();
}

Simulator::~Simulator() {
    m_connections.clear();
}

void Simulator::connectWorld() {
    GameObjectSimulator* objects = m_gameObjects.get();
    m_connections.push_back(m_world.entityAdded.connect(objects, &GameObjectSimulator::onEntityAdded));
    m_connections.push_back(m_world.entityRemoved.connect(objects, &GameObjectSimulator::onEntityRemoved));
    // Connected after the object simulation's own listener, so it runs first: the physics
    // and the player are there before the object queues are emptied.
    m_connections.push_back(m_world.levelStarted.connect(this, &Simulator::onLevelStarted));
    m_connections.push_back(m_world.itemGained.connect(
        this, [](Simulator* simulator, const std::string& name) { simulator->m_rules->onItemGained(*simulator, name); }));
    m_connections.push_back(m_world.discardRequested.connect(this, [](Simulator* simulator, std::int32_t slot) {
        simulator->m_rules->onDiscardRequested(*simulator, slot);
    }));
    m_connections.push_back(
        m_world.conversationEnded.connect(this, [](Simulator* simulator, const ConversationDefinition* conversation) {
            simulator->m_rules->onConversationEnded(*simulator, conversation);
        }));
    m_connections.push_back(m_world.suicideRequested.connect(this, &Simulator::onSuicide));
    m_connections.push_back(m_world.saveRequested.connect(this, &Simulator::saveGame));
    // On the main thread, unlike the destructor, which runs on the worker.
    m_leavingGame = m_world.leavingGame.connect(
        this, [](Simulator* simulator) { simulator->m_audio.setMusicAttenuation(1.0f); });
}

GameSession* Simulator::session() const {
    return m_components ? m_components->gameSession.get() : nullptr;
}

std::string Simulator::takeStartLevel() {
    SettingsHandler& settings = SettingsHandler::instance();
    const std::string level = settings.takeString("Debug.SetLevel");
    return level.empty() ? settings.getString("Profile.RespawnLevel") : level;
}

void Simulator::setStartEntry() {
    requestLevel(takeStartLevel(), StartEntry, fpVector2());
}

void Simulator::requestLevel(const std::string& levelName, const std::string& entryName, const fpVector2& position) {
    m_requestedLevel = levelName;
    m_requestedEntry = entryName;
    m_requestedPosition = position;
}

void Simulator::update(const UpdateRecord& record) {
    const float step = record.stepLength;
    fitCameraToViewport();
    m_rules->serveDebugCommands(*this);
    refillLampAtSurface(step);
    if (m_gameOver) slowDownAfterGameOver(step);
    m_gameObjects->update(record);
    if (!m_gameOver && !levelChangePending()) {
        m_scriptSimulator->update(step);
        m_quests->update(*this, step);
        m_gameObjects->finishPlayerInput();
    }
    showStatus();
    m_rules->updateSale(*this, step);
    m_world.processRemovals();
    if (!m_gameOver) addToSlotTotals(step);
}

void Simulator::fitCameraToViewport() {
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    if (viewports.empty()) return;
    const fpVector2 size(viewports.front().virtualWidth, viewports.front().virtualHeight);
    if (size == m_lastViewportSize) return;
    m_lastViewportSize = size;
    Camera& camera = m_world.camera;
    camera.viewSize = size;
    camera.update();
    const fpVector2 focus = m_world.player() ? m_world.player()->getPosition() : fpVector2();
    camera.setTopLeft(focus - size / 2.0f);
}

void Simulator::refillLampAtSurface(float step) {
    ActorObject* player = m_world.player();
    if (!player || !m_world.level || !m_world.level->atSurface || !player->definition().autoRefillLight) return;
    const float capacity = player->definition().lightTime;
    player->lightTime = std::clamp(player->lightTime + LampRefillPerSecond * capacity * step, 0.0f, capacity);
    if (player->lightTime < LampRefillingBelow * capacity)
        player->lampRefilling = true;
    else if (player->lightTime >= capacity)
        player->lampRefilling = false;
}

void Simulator::showStatus() {
    const ActorObject* player = m_world.player();
    if (!player) return;
    const ActorDefinition& definition = player->definition();
    m_userInterface.setStatusBar(StatusBar::Health, player->hitPoints, definition.hitPoints);
    m_userInterface.setStatusBar(StatusBar::Water, player->water, definition.waterCapacity);
    m_userInterface.setStatusBar(StatusBar::Light, player->lightTime / SecondsPerMinute,
                                 definition.lightTime / SecondsPerMinute);
    const float tileReduction = player->hasWeapon() ? float(player->currentWeapon().attackDamage.tileReduction) : 0.0f;
    m_userInterface.setMapToolInfo(player->weaponIndex, tileReduction);
}

void Simulator::addToSlotTotals(float step) {
    GameSession* slots = session();
    if (!slots) return;
    GameSession::ProfileSlot& slot = slots->currentSlot();
    slot.timePlayed += double(step);
    std::int32_t depth = 0;
    if (m_world.getPlayerDepth(depth)) slot.maxDepth = std::max(slot.maxDepth, depth);
}

void Simulator::showGameOver(std::int32_t lostCash) {
    if (m_gameOver) return;
    m_gameOver = true;
    m_gameOverClosed = m_userInterface.showGameOver(lostCash).connect(this, &Simulator::continueAfterGameOver);
    m_world.gameOver.fireNoArgs();
}

void Simulator::slowDownAfterGameOver(float step) {
    m_gameOverTime += step;
    m_timeScale = std::clamp(1.0f - 0.5f * m_gameOverTime, 0.0f, 1.0f);
    m_world.tintColor = lerpColor(HaltedTint, FullSpeedTint, m_timeScale);
}

void Simulator::continueAfterGameOver() {
    m_gameOverTime = 0.0f;
    m_timeScale = 1.0f;
    m_gameOver = false;
    m_world.tintColor = World::DefaultTintColor;
    m_world.ambientColor = PackedColor(0xFFFFFFFF);
    m_world.shake = CameraShake{0.0f, 0.0f, 0.0f, NoShakeCurve};
    m_audio.stopAllSounds();
    m_audio.setMusicAttenuation(1.0f);
    m_userInterface.clearBanners();
    m_userInterface.setHudHidden(false);
    if (m_world.level && m_world.level->isCave)
        requestLevel(m_world.level->name, StartEntry, fpVector2());
    else
        setStartEntry();
}

void Simulator::onSuicide() {
    ActorObject* player = m_world.player();
    if (!player) return;
    player->lastDamageType = DamageType::Suicide;
    player->hitPoints = 0.0f;
    m_world.progress.lastDeathCause = "suicide";
}

void Simulator::saveGame() {
    if (m_world.demo) return;
    m_userInterface.showSavedGameNotice();
    saveAchievementProgress();
    takeCheckpoint();
    m_persistence->save(m_world, session());
}

void Simulator::drawDebug() {
    if (PhysicsSystem* physics = m_gameObjects->physics()) physics->debugDraw(m_world.camera.visibleRect);
}

void Simulator::onSecretFound() {
    m_rules->onSecretFound(*this);
}

void Simulator::talkTo(const std::string& npcName) {
    m_quests->talkTo(*this, npcName);
}

} // namespace zor
