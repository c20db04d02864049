// A level change: the checkpoint of the level left, the build or restore of the new one,
// its stored entities, the player's arrival, and the checkpoint and save of the entry.

#include "game/simulation/Simulator.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/LevelSource.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/seams/GameRules.h"
#include "game/simulation/seams/WorldPersistence.h"
#include "game/world/World.h"
#include "game/world/level/TileAccess.h"

#include "game/definitions/MaterialDefinition.h"

#include "Framework/core/Errors.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Randomizer.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <sstream>

namespace zor {

namespace {

constexpr const char* LogSource = "Simulator";
// Restored objects of these groups free the regrowing tiles they stand in.
constexpr std::uint32_t SolidObjectMask = 0x3796F;
constexpr const char* MapTierItem = "pickaxe_pre";
// How far the arriving player settles.
constexpr float ArrivalSettleDistance = 16.0f;

bool isStoredPlayer(const GameObject& object) {
    return object.kind() == GameObjectKind::Actor &&
           static_cast<const ActorObject&>(object).definition().specialType == SpecialType::Player;
}

bool hasArrivalPoints(const Level& level, const std::string& entry) {
    const auto found = level.markers.find(entry);
    return found != level.markers.end() && !found->second.empty();
}

std::int32_t cellOf(float pixel) {
    return std::int32_t(std::floor(pixel / TileSize));
}

} // namespace

void Simulator::buildLevel() {
    const std::shared_ptr<Level> previous = m_world.level;
    bool checkpointTaken = false;
    bool previousSaveOnLeave = false;
    if (previous) {
        const ActorObject* player = m_world.player();
        const bool dead = player && !player->isAlive();
        // A cave a player died in keeps nothing of that visit.
        if (!(dead && previous->isCave)) {
            takeCheckpoint();
            checkpointTaken = true;
        }
        previousSaveOnLeave = previous->saveOnLeave;
    }
    m_world.removeAllEntities();

    auto& levels = m_world.saveState.levels;
    std::shared_ptr<PersistentLevelInfo>& record = levels[m_requestedLevel];
    const bool visited = record != nullptr;
    try {
        m_world.level = m_levels->buildLevel(m_requestedLevel, record, m_world.random());
    } catch (const std::exception& error) {
        if (!record) levels.erase(m_requestedLevel);
        throw CheckReleaseError("Error when building level: " + m_requestedLevel + ", " + error.what());
    }
    if (!checkpointTaken) {
        m_world.progress = m_world.saveState.progress;
        if (!previous) m_world.progress.inventory.capacity = m_rules->pouchCapacity(*this);
    }
    m_world.levelStarted.fireNoArgs();

    const Level& level = *m_world.level;
    if (level.resetEntities)
        record->entities.clear();
    else if (visited)
        restoreStoredEntities(*record);
    placePlayer(*record, visited);
    if (!visited) takeCheckpoint();
    const bool saves = (previous && level.saveOnEnter) || previousSaveOnLeave;
    if (saves && !m_world.demo) saveOnLevelChange();
    addMapTierDepths();
    m_requestedLevel.clear();
}

void Simulator::restoreStoredEntities(PersistentLevelInfo& record) {
    std::vector<GameObject*> restored;
    try {
        m_persistence->readEntities(m_world, record.entities, m_world.saveState.names, restored);
    } catch (const std::exception& error) {
        LogHandler::log(LogHandler::Warning, LogSource,
                        "The stored entities of " + m_world.level->name + " could not be read: " + error.what());
        for (GameObject* object : restored) delete object;
        restored.clear();
    }
    // A persistent player goes into the record with the level's other persistent actors, but
    // every level start spawns the player afresh from the vital values: restoring the copy
    // would add a second player on each return.
    restored.erase(std::remove_if(restored.begin(), restored.end(),
                                  [](GameObject* object) {
                                      const bool copy = isStoredPlayer(*object);
                                      if (copy) delete object;
                                      return copy;
                                  }),
                   restored.end());
    if (!m_world.level->resetEarth)
        for (const GameObject* object : restored)
            if (object->gameObjectDefinition().collisionGroup & SolidObjectMask) freeTilesUnder(*object);
    for (GameObject* object : restored) m_world.registerEntity(object);
}

void Simulator::freeTilesUnder(const GameObject& object) {
    const Level& level = *m_world.level;
    PersistentTileMap& grid = *level.tileMap;
    const fpRect& box = object.gameObjectDefinition().collisionBox;
    const float x = object.getPosition().x + box.x;
    const float y = object.getPosition().y + box.y;
    // A restored object may stand partly outside the level: only the grid's cells count.
    const std::int32_t firstColumn = std::max(cellOf(x + 1.0f), 0);
    const std::int32_t lastColumn = std::min(cellOf(x + box.w - 2.0f), grid.width() - 1);
    const std::int32_t firstRow = std::max(cellOf(y + 1.0f), 0);
    const std::int32_t lastRow = std::min(cellOf(y + box.h - 2.0f), grid.height() - 1);
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        for (std::int32_t column = firstColumn; column <= lastColumn; ++column) {
            std::uint8_t& cell = *grid.cell(column, row);
            const TileType& type = tileMaterialAtChecked(level, column, row);
            if (!(cell & TileBits::Solid) || !type.has(TileType::Regrows)) continue;
            cell &= std::uint8_t(~TileBits::Solid);
            const float regenTime = tileMaterialDefinition(level, column, row).regenTime;
            m_gameObjects->queueTileRegeneration(column, row, m_world.random().nextFloatScaled(regenTime));
        }
    }
}

bool Simulator::findEntryPosition(fpVector2& position, bool& facesRight) {
    const Level& level = *m_world.level;
    for (const std::string& entry : {m_requestedEntry, std::string(StartEntry)}) {
        if (!hasArrivalPoints(level, entry)) continue;
        const std::vector<LevelMarker>& points = level.markers.at(entry);
        const LevelMarker& point = points[m_world.random().nextIndex(std::uint32_t(points.size()))];
        position = fpVector2(point.x, point.y);
        facesRight = point.facesRight;
        return true;
    }
    position = fpVector2(float(level.width) * TileSize / 2.0f, float(level.height) * TileSize / 2.0f);
    facesRight = true;
    return false;
}

void Simulator::placePlayer(const PersistentLevelInfo& record, bool visited) {
    ActorObject* player = m_world.player();
    if (!player) return;
    const Level& level = *m_world.level;
    fpVector2 position;
    bool facesRight = true;
    std::string arrival;
    if (m_requestedEntry == ReturnEntry && visited) {
        position = record.playerPosition;
        arrival = ReturnEntry;
    } else if (m_requestedPosition.x != 0.0f || m_requestedPosition.y != 0.0f) {
        position = m_requestedPosition;
        arrival = "the requested position";
    } else if (findEntryPosition(position, facesRight)) {
        arrival = hasArrivalPoints(level, m_requestedEntry) ? m_requestedEntry : std::string(StartEntry);
    } else {
        arrival = "the level's centre";
    }
    player->setPosition(position);
    player->facing.x = facesRight ? 1.0f : -1.0f;
    if (!m_gameObjects->settleArrivingActor(*player, ArrivalSettleDistance))
        LogHandler::log(LogHandler::Warning, LogSource,
                        "No spot with ground within a safe fall near " + arrival + " in " + level.name);
    m_gameObjects->centreCameraOn(player->center());
    std::ostringstream text;
    text << "Entered " << level.name << " at " << arrival << " (" << player->getPosition().x << ", "
         << player->getPosition().y << ")";
    LogHandler::log(LogHandler::Info, LogSource, text.str());
}

void Simulator::takeCheckpoint() {
    ActorObject* player = m_world.player();
    SaveState& state = m_world.saveState;
    if (const Level* level = m_world.level.get()) {
        const auto found = state.levels.find(level->name);
        if (found != state.levels.end() && found->second) {
            PersistentLevelInfo& record = *found->second;
            if (player) record.playerPosition = player->getPosition();
            record.tileMap = std::make_shared<PersistentTileMap>(*level->tileMap);
            std::vector<Entity*> persistent;
            m_world.collectPersistentEntities(persistent);
            m_persistence->writeEntities(persistent, record.entities, state.names);
        }
    }
    state.progress = m_world.progress;
    if (!player) return;
    // A dead player is stored as exactly 0, the mark of a death; below 0 means "nothing".
    state.hitPoints = player->isAlive() ? player->hitPoints : 0.0f;
    state.water = player->water;
    state.lightTime = player->lightTime;
    state.weaponIndex = player->weaponIndex;
    state.toolIndex = player->toolIndex;
}

void Simulator::saveOnLevelChange() {
    m_mainThreadWork.run([this] {
        // A failed save costs the notice, not the game: the next save point tries again.
        try {
            m_persistence->save(m_world, session());
        } catch (const std::exception& error) {
            LogHandler::log(LogHandler::Error, LogSource,
                            "The game could not be saved on the way into " + m_world.level->name + ": " + error.what());
            m_userInterface.showSaveProblem(error.what());
            return;
        }
        m_userInterface.showSavedGameNotice();
    });
}

void Simulator::addMapTierDepths() {
    const Level& level = *m_world.level;
    if (level.isCave || level.atSurface || !hasItemAmount(MapTierItem, m_world.progress.items, 1)) return;
    std::vector<float> depths;
    for (std::int32_t tier = 0; tier < level.height; ++tier) {
        const float depth = m_gameObjects->depthOfHardnessTier(tier);
        if (!std::isfinite(depth)) break;
        depths.push_back(depth);
        if (depth >= float(level.height)) break;
    }
    if (depths.empty()) return;
    m_mainThreadWork.run([&userInterface = m_userInterface, depths] {
        for (const float depth : depths) userInterface.addMapTierDepth(depth);
    });
}

} // namespace zor
