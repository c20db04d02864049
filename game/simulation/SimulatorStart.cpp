// Starting play: the slot's save, the debug requests of the start, the single-patch debug
// level, and the demo.

#include "game/simulation/Simulator.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/LevelSource.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/seams/GameRules.h"
#include "game/simulation/seams/QuestTracking.h"
#include "game/simulation/seams/WorldPersistence.h"
#include "game/world/World.h"

#include "game/definitions/QuestDefinition.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/core/text/TextUtils.h"

#include <algorithm>
#include <exception>
#include <sstream>
#include <utility>

namespace zor {

namespace {

constexpr const char* LogSource = "Simulator";
constexpr const char* RespawnLevelKey = "Profile.RespawnLevel";
constexpr std::int32_t DemoQuestIndex = 16;

constexpr const char* SavedGameLost =
    "The saved game could not be read and was moved aside; a new game begins";

// What the debug start gives when the player has less.
const char* const BaseItems[] = {"pickaxe", "pickaxe_pre", "enable_charge_jump", "enable_run"};
constexpr const char* JumpPlates = "jump_plate";
constexpr std::int32_t JumpPlateCount = 2;

const std::pair<const char*, std::int32_t> DemoItems[] = {
    {"pickaxe", 1},          {"pickaxe_pre", 1},     {"reached_deep_vault", 1}, {"enable_tube_deepvault", 1},
    {"enable_run", 1},       {"enable_charge_jump", 1}, {"pickaxe_1", 4},       {"pickaxe_2", 1},
    {"drill", 1},            {"light_1", 2},         {"armor_1", 2},            {"armor_2", 1},
    {"water_1", 2},          {"water_2", 1},         {"pouch_1", 3},            {"experience_shop_1", 1},
    {"reached_quellox", 1},  {"enable_tube_quellox", 1}};

std::string defaultString(const std::string& key) {
    return valueAsString(SettingsHandler::instance().setting(key).DefaultValue);
}

} // namespace

std::string Simulator::startLevelOf(const PlayStart& start) const {
    if (!start.setLevel.empty()) return start.setLevel;
    const SettingsHandler& settings = SettingsHandler::instance();
    return m_respawnLevelReset ? defaultString(RespawnLevelKey) : settings.getString(RespawnLevelKey);
}

void Simulator::start(const PlayStart& start) {
    const WorldPersistence::LoadResult loaded =
        start.newGame ? WorldPersistence::LoadResult::Skipped : m_persistence->loadSave(m_world, session());
    if (loaded == WorldPersistence::LoadResult::Failed || loaded == WorldPersistence::LoadResult::Lost) {
        m_respawnLevelReset = true;
        m_mainThreadWork.run([] {
            SettingsHandler& settings = SettingsHandler::instance();
            settings.setValue(RespawnLevelKey, settings.setting(RespawnLevelKey).DefaultValue.value);
        });
    }
    if (loaded == WorldPersistence::LoadResult::Lost)
        m_mainThreadWork.run([&userInterface = m_userInterface] {
            userInterface.showSaveProblem(SavedGameLost);
        });
    bool patchLevel = false;
    if (!start.forcedPatch.empty()) {
        m_mainThreadWork.run([] { SettingsHandler::instance().setValue("World.DisableSaves", 1); });
        std::vector<std::string> parts;
        splitTokens(start.forcedPatch, ";", parts);
        if (parts.size() == 2) {
            buildSpecificPatchLevel(parts[0], parts[1]);
            patchLevel = m_world.level != nullptr;
        } else {
            LogHandler::log(LogHandler::Warning, LogSource,
                            "Debug.ForceSpecificPatch '" + start.forcedPatch +
                                "' is not '<patch set>;<patch>': the game starts normally, without saves");
        }
    }
    if (!patchLevel) {
        requestLevel(startLevelOf(start), StartEntry, fpVector2());
        buildLevel();
    }
    ActorObject* player = m_world.player();
    if (player && start.forcedStartPosition.x != 0.0f && start.forcedStartPosition.y != 0.0f)
        player->setPosition(forcedPositionInLevel(start.forcedStartPosition));
    if (start.giveBaseItems) giveBaseItems();
    // The slot the player chose must be known at the next start, saved or not.
    m_mainThreadWork.run([this] {
        try {
            m_persistence->saveSession(session());
        } catch (const std::exception& error) {
            LogHandler::log(LogHandler::Warning, LogSource, std::string("The session could not be saved: ") + error.what());
        }
    });
}

fpVector2 Simulator::forcedPositionInLevel(const fpVector2& requested) const {
    const Level& level = *m_world.level;
    const fpVector2 clamped(std::clamp(requested.x, 0.0f, float(level.width) * TileSize - 1.0f),
                            std::clamp(requested.y, 0.0f, float(level.height) * TileSize - 1.0f));
    if (clamped != requested) {
        std::ostringstream text;
        text << "Debug.ForceStartPosition " << requested << " lies outside " << level.name << "; the player starts at "
             << clamped;
        LogHandler::log(LogHandler::Warning, LogSource, text.str());
    }
    return clamped;
}

void Simulator::giveBaseItems() {
    ItemCountMap& items = m_world.progress.items;
    for (const char* item : BaseItems)
        if (!hasItemAmount(item, items, 1)) ++items.counts[item];
    items.counts[JumpPlates] += JumpPlateCount;
    if (ActorObject* player = m_world.player()) player->water = player->definition().waterCapacity;
    m_mainThreadWork.run([&world = m_world] { world.itemGained.fire(std::string()); });
}

void Simulator::buildSpecificPatchLevel(const std::string& patchSetName, const std::string& patchName) {
    m_world.removeAllEntities();
    try {
        m_world.level = m_levels->buildSpecificPatchLevel(patchSetName, patchName, m_world.random());
    } catch (const std::exception& error) {
        if (!m_world.level) {
            // Nothing to start again: play starts as without the request.
            LogHandler::log(LogHandler::Warning, LogSource,
                            std::string("The patch level could not be built: ") + error.what());
            return;
        }
        LogHandler::log(LogHandler::Warning, LogSource,
                        std::string("The patch level could not be built; the level stays: ") + error.what());
    }
    m_world.levelStarted.fireNoArgs();
}

void Simulator::startDemo() {
    start(takePlayStart(session()));
    m_world.demo = true;
    // The quest may be missing from a shorter list of quests.
    if (std::int32_t(questRegistry().definitions().size()) > DemoQuestIndex)
        m_quests->startQuest(*this, DemoQuestIndex);
    else
        LogHandler::log(LogHandler::Info, LogSource,
                        "There is no quest " + std::to_string(DemoQuestIndex) + ": the demo keeps the quest it has");
    PlayerProgress& progress = m_world.progress;
    progress.cash = 500;
    progress.orbs = 5;
    progress.experience = 1500;
    for (const auto& [item, count] : DemoItems) progress.items.counts[item] = count;
    m_rules->onItemGained(*this, std::string());
    if (ActorObject* player = m_world.player()) {
        const ActorDefinition& definition = player->definition();
        player->hitPoints = definition.hitPoints;
        player->water = definition.waterCapacity;
        player->lightTime = definition.lightTime;
    }
    requestLevel(DemoLevel, StartEntry, fpVector2());
    // The first continue of a demo goes to the town.
    m_mainThreadWork.run([] { SettingsHandler::instance().setValue("Debug.SetLevel", std::string("shalebury")); });
    buildLevel();
}

} // namespace zor
