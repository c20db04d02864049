// Damage to tile cells: which hits a tile accepts, the damage it accumulates in its
// TileDamage, and what its break releases and changes.

#include "game/simulation/GameObjectSimulator.h"

#include "game/world/World.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/entity/TileDamage.h"
#include "game/world/level/TileAccess.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/DamageData.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/ResourceDefinition.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/store/AchievementStore.h"

#include <algorithm>

namespace zor {

namespace {

constexpr const char* LogSource = "GameObjects";
// Three hits of a third reach it despite rounding.
constexpr float BrokenProgress = 0.99999f;
// enemies, hard_enemies, rocks, items, wall_enemies, ladders, lamps, npcs, support
constexpr std::uint32_t WokenByBreak = 0x1722E;
// enemies, hard_enemies, wall_enemies, transport, lamps: the ones that cling to walls
constexpr std::uint32_t AttachedToWalls = 0x2A06;

enum OpenSide : std::int32_t { Leftward = 0, Upward = 1, Rightward = 2, Downward = 3 };

bool travelsToOpenSide(std::int32_t openSide, const fpVector2& direction) {
    switch (openSide) {
    case Leftward: return direction.x < 0.0f;
    case Upward: return direction.y < 0.0f;
    case Rightward: return direction.x > 0.0f;
    case Downward: return direction.y > 0.0f;
    default: return true;
    }
}

bool breaksAtOnce(const TileType& type, DamageType damage) {
    return type.has(TileType::BreaksAtFirstHit) && damage != DamageType::Pressure && damage != DamageType::Weak;
}

// Null for index 0 and for an index the registry does not have (a record of other data).
const ResourceDefinition* attachedResource(std::int32_t resourceIndex) {
    const auto& resources = resourceRegistry().definitions();
    if (resourceIndex < 1 || std::size_t(resourceIndex) > resources.size()) return nullptr;
    return resources[std::size_t(resourceIndex) - 1].get();
}

fpVector2 cellCentre(const iVector2& cell) {
    return {float(cell.x) * TileSize + TileSize / 2.0f, float(cell.y) * TileSize + TileSize / 2.0f};
}

} // namespace

bool GameObjectSimulator::isSolidCell(const iVector2& cell) const {
    const Level* level = m_world.level.get();
    return level && (level->tileMap->get(cell.x, cell.y, 0) & TileBits::Solid) != 0;
}

bool GameObjectSimulator::canDig(const iVector2& cell, const fpVector2& direction, const DamageData& damage) const {
    if (!isSolidCell(cell)) return false;
    const TileType& type = tileMaterialAtChecked(*m_world.level, cell.x, cell.y);
    const bool pressure = damage.type == DamageType::Pressure;
    if (pressure && !type.has(TileType::BreaksUnderPressure)) return false;
    if (!type.isSolid() || type.requiredTier <= 0) return false;
    if (!pressure && damage.tier < type.requiredTier) return false;
    return !type.has(TileType::OneSided) || travelsToOpenSide(type.openSide, direction);
}

CellRecord& GameObjectSimulator::cellRecord(const iVector2& cell) {
    Level& level = *m_world.level;
    return level.cellRecords[level.cellIndex(cell.x, cell.y)];
}

CellRecord* GameObjectSimulator::findCellRecord(const iVector2& cell) {
    Level* level = m_world.level.get();
    if (!level) return nullptr;
    const auto found = level->cellRecords.find(level->cellIndex(cell.x, cell.y));
    return found == level->cellRecords.end() ? nullptr : &found->second;
}

void GameObjectSimulator::eraseCellRecord(const iVector2& cell) {
    Level& level = *m_world.level;
    level.cellRecords.erase(level.cellIndex(cell.x, cell.y));
}

bool GameObjectSimulator::digCell(const iVector2& cell, const fpVector2& direction, const DamageData& damage,
                                  float* leftover) {
    if (leftover) *leftover = 0.0f;
    if (!canDig(cell, direction, damage)) return false;
    Level& level = *m_world.level;

    CellRecord& record = cellRecord(cell);
    Entity* found = m_world.findEntity(record.tileDamageId);
    auto* tileDamage = found && found->type() == EntityType::TileDamage ? static_cast<TileDamage*>(found) : nullptr;
    if (!tileDamage) {
        tileDamage = m_world.spawnTileDamage({float(cell.x) * TileSize, float(cell.y) * TileSize});
        record.tileDamageId = tileDamage->id();
    }
    if (level.mainLayer().contains(cell.x, cell.y)) level.mainLayer().at(cell.x, cell.y) |= TileWord::HasCellRecord;

    const TileType& type = tileMaterialAtChecked(level, cell.x, cell.y);
    const double depthLevel = double(std::max(0, level.tileHardness(float(cell.y))));
    const double hardnessLevel = damage.ignoreDepth ? 0.0 : depthLevel - double(damage.tileReduction);
    double hardnessSum = hardnessLevel * double(type.hardnessStep) + double(type.hardnessBase);
    const ResourceDefinition* resource = attachedResource(record.resourceIndex);
    if (resource) hardnessSum += double(resource->extraHitPoints);
    float hardness = std::max(1.0f, float(hardnessSum));

    float hitDamage = damage.totalHits > 0.0f ? hardness / damage.totalHits : damage.amount;
    if (breaksAtOnce(type, damage.type)) {
        hardness = 1.0f;
        hitDamage = 1.0f;
    }
    const float unused =
        std::min(damage.amount, std::max(0.0f, damage.amount - (1.0f - tileDamage->progress) * hardness));
    tileDamage->progress += std::clamp(hitDamage / hardness, 0.0f, 1.0f);

    bool registered = true;
    const MaterialDefinition& material = tileMaterialDefinition(level, cell.x, cell.y, &registered);
    if (!registered && m_reported.insert("broken material " + type.material).second)
        LogHandler::log(LogHandler::Warning, LogSource,
                        "The tile material '" + type.material +
                            "' is not defined; its tiles break without effects or sounds");

    if (tileDamage->progress >= BrokenProgress) {
        if (leftover) *leftover = unused;
        const CellRecord before = record;
        breakCell(cell, type, material, damage, before);
        return true;
    }
    if (!material.crackEffect.empty()) m_world.spawnEffect(material.crackEffect, cellCentre(cell), 0.0f, 1.0f);
    return false;
}

void GameObjectSimulator::breakCell(const iVector2& cell, const TileType& type, const MaterialDefinition& material,
                                    const DamageData& damage, const CellRecord& record) {
    Level& level = *m_world.level;
    const fpVector2 centre = cellCentre(cell);
    if (!material.destroyedEffect.empty()) m_world.spawnEffect(material.destroyedEffect, centre, 0.0f, 1.0f);
    if (const ResourceDefinition* resource = attachedResource(record.resourceIndex))
        m_world.spawnResource(resource->name, centre, -1.0f);
    if (!material.destroyedSound.empty()) m_world.soundRequests.push_back({material.destroyedSound, centre, 1.0f});
    *level.tileMap->cell(cell.x, cell.y) &= std::uint8_t(~TileBits::Solid);
    if (Entity* tileDamage = m_world.findEntity(record.tileDamageId)) m_world.removeEntity(tileDamage);
    eraseCellRecord(cell);
    if (level.mainLayer().contains(cell.x, cell.y))
        level.mainLayer().at(cell.x, cell.y) &= std::uint16_t(~TileWord::HasCellRecord);
    if (m_physics) {
        const fpRect around(float(cell.x) * TileSize - 1.0f, float(cell.y) * TileSize - 1.0f, TileSize + 2.0f,
                            TileSize + 2.0f);
        m_physics->wakeRect(around, WokenByBreak);
        tellAttachedActors(cell, damage);
    }
    if (type.has(TileType::Regrows)) queueTileRegeneration(cell.x, cell.y, material.regenTime);
    updateAchievementCounter(1, false, "cntr_destroy_blocks");
}

void GameObjectSimulator::tellAttachedActors(const iVector2& cell, const DamageData& damage) {
    const fpRect around(float(cell.x) * TileSize - 1.0f, float(cell.y) * TileSize - 1.0f, TileSize + 2.0f,
                        TileSize + 2.0f);
    m_breakQuery.clear();
    m_physics->queryRect(around, AttachedToWalls, m_breakQuery);
    const ActorObject* player = m_world.player();
    const bool playerDug = player && damage.sourceObjectId == player->id();
    for (PhysicalObject* body : m_breakQuery) {
        Entity* owner = body->ownerEntity;
        if (!owner || owner->type() != EntityType::GameObject) continue;
        auto& object = static_cast<GameObject&>(*owner);
        if (object.kind() != GameObjectKind::Actor) continue;
        auto& actor = static_cast<ActorObject&>(object);
        if (!actor.behaviorMachine) continue;
        const fpVector2 centre = actor.center();
        const fpVector2 attached = actor.attachedDirection();
        const iVector2 wall(std::int32_t(centre.x / TileSize) + std::int32_t(attached.x),
                            std::int32_t(centre.y / TileSize) + std::int32_t(attached.y));
        if (wall != cell) continue;
        if (playerDug) actor.behaviorMachine->postEvent("playerDestroyedWall");
        actor.behaviorMachine->postEvent("lostWall");
    }
}

} // namespace zor
