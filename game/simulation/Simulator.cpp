#include "game/simulation/Simulator.h"

#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/ports/GamePorts.h"
#include "game/simulation/ports/ScriptSimulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/world/SharedConstants.h"
#include "game/world/World.h"

#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <algorithm>

namespace zor {

namespace {

constexpr const char* StartEntry = "[start]";
// The tint of the game-over slow-down: dark red at a halt, faint red at full speed.
constexpr PackedColor HaltedTint{0xA0000020};
constexpr PackedColor FullSpeedTint{0x100000FF};
// The shake record of no shake.
constexpr std::int32_t NoShakeCurve = 10;

} // namespace

Simulator::Simulator(World& world, UserInterface& userInterface, SystemComponents* components, GameAudio& audio,
                     const GamePorts& ports)
    : m_world(world), m_userInterface(userInterface), m_audio(audio) {
    m_scriptSimulator = ports.makeScriptSimulator(components, *this, world);
    // On the main thread, unlike the destructor, which runs on the worker.
    m_leavingGame = world.leavingGame.connect(
        this, [](Simulator* simulator) { simulator->m_audio.setMusicAttenuation(1.0f); });
}

Simulator::~Simulator() = default;

std::string Simulator::takeStartLevel() {
    SettingsHandler& settings = SettingsHandler::instance();
    const std::string level = settings.takeString("Debug.SetLevel");
    return level.empty() ? settings.getString("Profile.RespawnLevel") : level;
}

void Simulator::start(const std::string& startLevel) {
    requestLevel(startLevel, StartEntry, fpVector2());
    buildLevel();
}

void Simulator::startDemo() {
    start(takeStartLevel());
    m_world.demo = true;
}

void Simulator::setStartEntry() {
    requestLevel(takeStartLevel(), StartEntry, fpVector2());
}

void Simulator::requestLevel(const std::string& levelName, const std::string& entryName, const fpVector2& position) {
    m_requestedLevel = levelName;
    m_requestedEntry = entryName;
    m_requestedPosition = position;
}

void Simulator::buildLevel() {
    m_world.removeAllEntities();
    m_world.saveState.levels.try_emplace(m_requestedLevel, std::make_shared<PersistentLevelInfo>());
    m_world.level = std::make_shared<Level>(m_requestedLevel);
    m_world.levelStarted.fireNoArgs();
    m_scriptSimulator->build();
    m_requestedLevel.clear();
}

void Simulator::update(const UpdateRecord& record) {
    fitCameraToViewport();
    if (m_gameOver) slowDownAfterGameOver(record.stepLength);
    if (!m_gameOver && !levelChangePending()) m_scriptSimulator->update(record.stepLength);
    m_world.processRemovals();
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

void Simulator::drawDebug() {}

void Simulator::onSecretFound() {}

} // namespace zor
