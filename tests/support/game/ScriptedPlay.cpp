#include "tests/support/game/ScriptedPlay.h"

#include "game/definitions/ActorDefinition.h"
#include "game/simulation/Game.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/level/PatchSet.h"
#include "game/world/physics/PhysicsSystem.h"
#include "game/world/progress/ItemCountMap.h"

#include <algorithm>

namespace zor::test {

namespace {

constexpr const char* Town = "shalebury";
constexpr const char* Mine = "mine1";
constexpr std::int32_t TapSpacing = 10;
// Enough of each counted tool for one use per round, whatever the last round left.
constexpr std::int32_t ToolStock = 2;

} // namespace

HarnessOptions scriptedPlayOptions(std::uint32_t seed) {
    HarnessOptions options(seed, Town);
    options.sampleData = true;
    options.withSession = true;
    options.gameRules = true;
    options.saveFiles = true;
    options.gameMovement = true;
    options.gameContacts = true;
    return options;
}

ScriptedPlay::ScriptedPlay(GameHarness& harness) : m_harness(harness) {
    m_harness.seams().playLifeRules = true;
    m_harness.seams().playHitRules = true;
    buildRound();
    m_lastLevel = m_harness.world().level ? m_harness.world().level->name : std::string();
    enter(0);
}

void ScriptedPlay::buildRound() {
    const auto arrivedIn = [this](const char* level) { return [this, level] { return inLevel(level); }; };
    const auto changeAsked = [this] {
        return m_harness.simulator().levelChangePending() || m_harness.simulator().gameOver();
    };
    m_phases = {
        // The town.
        {60, {}, {}, nullptr, nullptr},
        {50, {"move_right"}, {}, nullptr, nullptr},
        {30, {"move_left", "jump"}, {}, nullptr, nullptr},
        {30, {}, {}, [this] { m_harness.world().saveRequested.fireNoArgs(); }, nullptr},
        {240, {}, {"activate"}, [this] { putPlayerAtExitTo(Mine); }, changeAsked},
        {300, {}, {}, nullptr, arrivedIn(Mine)},
        // The mine.
        {60, {}, {"weapon_1"}, [this] { topUpTools(); }, nullptr},
        {240, {"move_down"}, {"attack"}, nullptr, nullptr},
        {180, {"move_right"}, {"attack"}, nullptr, nullptr},
        {40, {"move_left"}, {}, nullptr, nullptr},
        {20, {"jump"}, {}, nullptr, nullptr},
        {150, {}, {"use_tool", "cycle_tool"}, nullptr, nullptr},
        {60, {"move_right"}, {}, nullptr, nullptr},
        // Out: by the exit on odd rounds, by death on even ones.
        {240,
         {},
         {"activate"},
         [this] {
             if (m_tally.rounds % 2 == 1)
                 putPlayerAtExitTo(Town);
             else
                 m_harness.world().suicideRequested.fireNoArgs();
         },
         changeAsked},
        // The game-over screen stays a while, then the player continues.
        {90, {}, {}, nullptr, [this] { return !m_harness.simulator().gameOver(); }},
        {300,
         {},
         {},
         [this] {
             if (m_harness.simulator().gameOver()) m_harness.userInterface().gameOverClosed.fireNoArgs();
         },
         arrivedIn(Town)},
    };
    m_continuePhase = m_phases.size() - 2;
}

void ScriptedPlay::run(std::int32_t steps) {
    for (std::int32_t i = 0; i < steps; ++i) step();
}

void ScriptedPlay::step() {
    Simulator& simulator = m_harness.simulator();
    if (simulator.gameOver() && m_phase < m_continuePhase) {
        leave();
        enter(m_continuePhase);
    }
    const Phase& phase = m_phases[m_phase];
    if (!m_tapped.empty()) {
        m_harness.release(m_tapped);
        m_tapped.clear();
    }
    if (!phase.taps.empty() && m_inPhase % TapSpacing == 0) {
        m_tapped = phase.taps[std::size_t(m_inPhase / TapSpacing) % phase.taps.size()];
        m_harness.press(m_tapped);
    }
    const bool wasPending = simulator.levelChangePending();
    m_harness.runSteps(1);
    ++m_inPhase;

    if (!wasPending && simulator.levelChangePending() && !simulator.gameOver()) m_changeByExit = true;
    const World& world = m_harness.world();
    const std::string level = world.level ? world.level->name : std::string();
    if (level != m_lastLevel && !m_harness.game().levelBuildRunning()) {
        ++m_tally.levelChanges;
        if (m_changeByExit) ++m_tally.exitChanges;
        m_changeByExit = false;
        m_lastLevel = level;
    }
    if (simulator.gameOver() && !m_wasOver) ++m_tally.deaths;
    m_wasOver = simulator.gameOver();
    countSaves();

    if (m_inPhase >= phase.steps || (phase.until && phase.until())) {
        leave();
        if (m_phase + 1 == m_phases.size()) {
            endRound();
            enter(0);
        } else {
            enter(m_phase + 1);
        }
    }
}

void ScriptedPlay::enter(std::size_t phase) {
    m_phase = phase;
    m_inPhase = 0;
    for (const std::string& button : m_phases[phase].hold) m_harness.press(button);
    if (m_phases[phase].begin) m_phases[phase].begin();
}

void ScriptedPlay::leave() {
    for (const std::string& button : m_phases[m_phase].hold) m_harness.release(button);
    if (!m_tapped.empty()) m_harness.release(m_tapped);
    m_tapped.clear();
}

void ScriptedPlay::endRound() {
    ++m_tally.rounds;
    Recordings& recordings = m_harness.recordings();
    for (auto* list : {&recordings.visualizerSteps, &recordings.audiolizerSteps, &recordings.userInterfaceSteps,
                       &recordings.scriptSteps, &recordings.musicAttenuations})
        list->clear();
    recordings.calls.clear();
    recordings.soundRequests.clear();
    recordings.cues.clear();
    m_harness.seams().calls.clear();
    m_savesCounted = 0;
}

bool ScriptedPlay::inLevel(const std::string& name) {
    const World& world = m_harness.world();
    return world.level && world.level->name == name && !m_harness.game().levelBuildRunning() &&
           !m_harness.simulator().levelChangePending();
}

// The player is lifted into the exit's trigger area, feet at its middle, as a teleport does.
void ScriptedPlay::putPlayerAtExitTo(const std::string& level) {
    World& world = m_harness.world();
    ActorObject* player = world.player();
    if (!player) return;
    for (const auto& [id, exit] : world.exits()) {
        if (exit->link->targetLevel != level || exit->physicalObject.bodies().empty()) continue;
        const fpRect area = exit->physicalObject.bodies().front().getBounds();
        PhysicsSystem* physics = m_harness.objects().physics();
        if (!physics) return;
        physics->removeObject(player->physicalObject);
        player->setPosition({area.x + area.w / 2.0f, area.y + area.h / 2.0f});
        physics->placeObject(player->physicalObject);
        player->physicalObject.velocity = fpVector2();
        // The objects away from the view stand still, the player among them.
        m_harness.objects().centreCameraOn(player->getPosition());
        return;
    }
}

void ScriptedPlay::topUpTools() {
    const ActorObject* player = m_harness.world().player();
    if (!player) return;
    ItemCountMap& items = m_harness.world().progress.items;
    for (const ActorDefinition::Tool& tool : player->definition().tools) {
        if (!tool.requiredUpgrade.empty()) items.counts[tool.requiredUpgrade] = 1;
        items.counts[tool.countedUpgrade] = std::max(items.counts[tool.countedUpgrade], ToolStock);
    }
}

void ScriptedPlay::countSaves() {
    const auto& calls = m_harness.seams().calls;
    m_tally.saves += std::int32_t(std::count(calls.begin() + std::ptrdiff_t(m_savesCounted), calls.end(),
                                             std::string("WorldPersistence.save")));
    m_savesCounted = calls.size();
}

} // namespace zor::test
