// One step of the GameObjectSimulator and its timed phases: tile regeneration, markers,
// queued cell damage, fuses, effects and world texts.

#include "game/simulation/GameObjectSimulator.h"

#include "game/simulation/seams/ActorSteps.h"
#include "game/simulation/seams/ObjectPhysicsSteps.h"
#include "game/world/World.h"
#include "game/world/entity/Destination.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/WorldText.h"
#include "game/world/level/TileAccess.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/DamageData.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/MaterialDefinition.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Curve.h"

#include <algorithm>
#include <functional>

namespace zor {

namespace {

constexpr const char* LogSource = "GameObjects";
// The pulse of a world text grows it from 0.4 by up to 0.3 with a quadratic ease-out.
constexpr float PulseBaseScale = 0.4f;
constexpr float PulseGrowth = 0.3f;
constexpr CurveType PulseCurve = CurveType::SmoothQuadratic;

// The heap keeps the earliest due time at its front.
bool dueLater(const GameObjectSimulator::TileRegeneration& a, const GameObjectSimulator::TileRegeneration& b) {
    return a.dueTime > b.dueTime;
}

// Pressure damage of one step: only the amount and the pressure type matter to the dig.
DamageData pressureDamage(float amount) {
    DamageData damage;
    damage.amount = amount;
    damage.tier = 1;
    damage.tileReduction = 0;
    damage.enemyReduction = 0.0f;
    damage.enemyAmount = 0.0f;
    damage.totalHits = 0.0f;
    damage.ignoreDepth = true;
    damage.enemyInvulnerabilityCooldown = 0.0f;
    damage.playerInvulnerabilityCooldown = 2.0f;
    damage.knockbackMultiplier = 1.0f;
    damage.type = DamageType::Pressure;
    damage.contactOnly = false;
    return damage;
}

bool inGrid(const PersistentTileMap& grid, std::int32_t column, std::int32_t row) {
    return column >= 0 && row >= 0 && column < grid.width() && row < grid.height();
}

bool solidInGrid(const Level& level, std::int32_t column, std::int32_t row) {
    return (level.tileMap->get(column, row, 0) & TileBits::Solid) != 0;
}

} // namespace

template <class Table>
const std::vector<std::int32_t>& GameObjectSimulator::snapshot(const Table& table) {
    m_snapshot.clear();
    for (const auto& entry : table) m_snapshot.push_back(entry.first);
    return m_snapshot;
}

void GameObjectSimulator::update(const UpdateRecord& record) {
    m_record = record;
    const float step = record.stepLength;
    m_lastStep = step;
    m_levelTime += step;
    m_world.shownLights.clear();
    m_world.updatedObjects.clear();
    m_world.updatedBeams.clear();
    m_world.constantSoundIds.clear();

    m_actorSteps->updatePlayer(*this, step);
    regenerateTiles();
    updateDestinations(step);
    updateObjectsNearView();
    applyCellDamage(step);
    m_physicsSteps->updateCamera(*this, step);
    runFuses(step);
    updateEffects();
    updateWorldTexts(step);
    std::sort(m_world.constantSoundIds.begin(), m_world.constantSoundIds.end());
}

void GameObjectSimulator::queueTileRegeneration(std::int32_t column, std::int32_t row, float delay) {
    m_regenerationQueue.push_back({column, row, m_levelTime + delay});
    std::push_heap(m_regenerationQueue.begin(), m_regenerationQueue.end(), dueLater);
}

void GameObjectSimulator::regenerateTiles() {
    const Level* level = m_world.level.get();
    while (level && m_physics && !m_regenerationQueue.empty() && m_levelTime >= m_regenerationQueue.front().dueTime) {
        std::pop_heap(m_regenerationQueue.begin(), m_regenerationQueue.end(), dueLater);
        TileRegeneration regrowth = m_regenerationQueue.back();
        m_regenerationQueue.pop_back();

        bool registered = true;
        const MaterialDefinition& material = tileMaterialDefinition(*level, regrowth.column, regrowth.row, &registered);
        const std::string& materialName = tileMaterialAtChecked(*level, regrowth.column, regrowth.row).material;
        if (!registered && m_reported.insert("material " + materialName).second)
            LogHandler::log(LogHandler::Warning, LogSource,
                            "The tile material '" + materialName + "' is not defined; its tiles regrow plainly");
        const fpRect cell(float(regrowth.column) * TileSize, float(regrowth.row) * TileSize, TileSize, TileSize);
        if (m_physics->testRect(cell, OccupantMask)) {
            regrowth.dueTime = m_levelTime + material.regenTime;
            m_regenerationQueue.push_back(regrowth);
            std::push_heap(m_regenerationQueue.begin(), m_regenerationQueue.end(), dueLater);
            // Due again only later (regenTime > 0), or the loop would spin on this cell.
            if (!(material.regenTime > 0.0f)) break;
            continue;
        }
        if (!material.regenEffect.empty())
            m_world.spawnEffect(material.regenEffect, cell.position() + cell.size() / 2.0f, 0.0f, 1.0f);
        // The seen bit stays: it is the light's.
        PersistentTileMap& grid = *level->tileMap;
        if (inGrid(grid, regrowth.column, regrowth.row)) *grid.cell(regrowth.column, regrowth.row) |= TileBits::Solid;
    }
}

void GameObjectSimulator::updateDestinations(float step) {
    for (const std::int32_t id : snapshot(m_world.destinations())) {
        auto* marker = static_cast<Destination*>(m_world.findEntity(id));
        if (!marker) continue;
        if (marker->countdown > 0.0f) marker->countdown -= step;
        marker->remainingTime -= step;
        if (marker->remainingTime <= 0.0f) m_world.removeEntity(marker);
    }
}

void GameObjectSimulator::queueCellDamage(std::int32_t column, std::int32_t row, float rate) {
    const Level* level = m_world.level.get();
    if (!(rate > 0.0f) || !level || !solidInGrid(*level, column, row)) return;
    if (!tileMaterialAtChecked(*level, column, row).has(TileType::BreaksUnderPressure)) return;
    for (QueuedCellDamage& queued : m_cellDamageQueue) {
        if (queued.column != column || queued.row != row) continue;
        queued.rate = std::max(queued.rate, rate);
        return;
    }
    m_cellDamageQueue.push_back({column, row, rate});
}

void GameObjectSimulator::applyCellDamage(float step) {
    const Level* level = m_world.level.get();
    std::size_t index = 0;
    while (level && index < m_cellDamageQueue.size()) {
        const QueuedCellDamage queued = m_cellDamageQueue[index];
        const bool done = !solidInGrid(*level, queued.column, queued.row) ||
                          digCell(queued.column, queued.row, pressureDamage(queued.rate * step), fpVector2());
        if (!done) {
            ++index;
            continue;
        }
        // The last record takes the place and is looked at next.
        m_cellDamageQueue[index] = m_cellDamageQueue.back();
        m_cellDamageQueue.pop_back();
    }
}

void GameObjectSimulator::runFuses(float step) {
    // Detonations spawn and remove projectiles: the walk goes over the ids it started with.
    for (const std::int32_t id : snapshot(m_world.projectiles())) {
        GameObject* object = m_world.findGameObject(id);
        if (!object) continue;
        auto& projectile = static_cast<Projectile&>(*object);
        const ProjectileDefinition& definition = projectile.definition();
        if (definition.timeFuze != 0.0f) projectile.fuzeTime -= step;
        if (projectile.fuzeTime < 0.0f || projectile.contactGroups != 0 || definition.instantFuze)
            detonateProjectile(projectile);
    }
}

void GameObjectSimulator::updateEffects() {
    for (const std::int32_t id : snapshot(m_world.effects())) {
        auto* effect = static_cast<EffectObject*>(m_world.findEntity(id));
        if (!effect) continue;
        const EffectDefinition& definition = *effect->definition;
        const bool finished = definition.sprite.empty() || effect->finished;
        // An effect whose light is gone counts as lightless, or it would never leave.
        bool mayRemove = true;
        if (LightObject* light = effect->lightId != 0 ? m_world.findLight(effect->lightId) : nullptr) {
            light->setPosition(effect->getPosition() + definition.light.offset);
            mayRemove = light->finished;
            if (!light->finished) m_world.shownLights.push_back(light->id());
        }
        if (finished && mayRemove) m_world.removeEntity(effect);
    }
}

void GameObjectSimulator::updateWorldTexts(float step) {
    for (const std::int32_t id : snapshot(m_world.worldTexts())) {
        auto* text = static_cast<WorldText*>(m_world.findEntity(id));
        if (!text) continue;
        text->setPosition(text->getPosition() + text->velocity * step);
        if (text->pulseDuration > 0.0f) {
            text->pulseRemaining -= step;
            const float progress = 1.0f - text->pulseRemaining / text->pulseDuration;
            text->scale = PulseBaseScale + PulseGrowth * evaluateCurve(PulseCurve, progress);
        }
        if (!text->timed) continue;
        if (text->remainingTime > 0.0f) text->remainingTime -= step;
        if (text->remainingTime <= 0.0f) m_world.removeEntity(text);
    }
}

} // namespace zor
