// A weapon striking a tile: the dig when the tile allows it, the noise, and the material's
// sound and effect at the struck face.

#include "game/simulation/GameObjectSimulator.h"

#include "game/world/World.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/TileDamage.h"
#include "game/world/level/TileAccess.h"

#include "game/definitions/EffectDefinition.h"
#include "game/definitions/MaterialDefinition.h"

#include "Framework/core/math/Angle.h"

#include <algorithm>

namespace zor {

namespace {

constexpr float MineralBasePitch = 0.75f;
constexpr float MineralPitchByProgress = 0.25f;

// The face of the cell a hit travelling along `direction` strikes, as a segment; a hit
// without direction strikes the point (0, 0).
void struckFace(const iVector2& cell, const iVector2& direction, fpVector2& from, fpVector2& to) {
    const float left = float(cell.x) * TileSize;
    const float top = float(cell.y) * TileSize;
    if (direction.x != 0) {
        const float x = direction.x > 0 ? left : left + TileSize;
        from = {x, top};
        to = {x, top + TileSize};
    } else if (direction.y != 0) {
        const float y = direction.y > 0 ? top : top + TileSize;
        from = {left, y};
        to = {left + TileSize, y};
    } else {
        from = to = fpVector2();
    }
}

fpVector2 nearestOnSegment(const fpVector2& from, const fpVector2& to, const fpVector2& point) {
    const fpVector2 along = to - from;
    const float lengthSquared = along.x * along.x + along.y * along.y;
    if (lengthSquared == 0.0f) return from;
    const fpVector2 offset = point - from;
    const float t = std::clamp((offset.x * along.x + offset.y * along.y) / lengthSquared, 0.0f, 1.0f);
    return from + along * t;
}

} // namespace

bool GameObjectSimulator::hitTile(const iVector2& direction, const fpVector2& referencePoint, const iVector2& cell,
                                  const ActorDefinition::Weapon& weapon, const DamageData& damage, bool withFeedback) {
    if (!isSolidCell(cell)) return false;
    const fpVector2 travel(float(direction.x), float(direction.y));
    const bool dug = canDig(cell, travel, damage);
    if (dug) digCell(cell, travel, damage);
    const Level& level = *m_world.level;
    const TileType& type = tileMaterialAtChecked(level, cell.x, cell.y);
    if (ActorObject* player = m_world.player()) makeNoise(*player, NoiseSize::Large);
    if (!withFeedback || type.material.empty()) return true;

    const MaterialDefinition& material = tileMaterialDefinition(level, cell.x, cell.y);
    fpVector2 from;
    fpVector2 to;
    struckFace(cell, direction, from, to);
    const fpVector2 point = nearestOnSegment(from, to, referencePoint);

    const MaterialDefinition::WeaponMaterial& reaction = material.weaponMaterial(weapon.name);
    const CellRecord* record = findCellRecord(cell);
    if (!record || record->resourceIndex == 0) {
        const std::string& sound = dug ? reaction.damageSound : reaction.noDamageSound;
        if (!sound.empty()) m_world.soundRequests.push_back({sound, point, 1.0f});
    } else if (dug) {
        const Entity* found = m_world.findEntity(record->tileDamageId);
        const float progress =
            found && found->type() == EntityType::TileDamage ? static_cast<const TileDamage*>(found)->progress : 1.0f;
        m_world.soundRequests.push_back(
            {reaction.mineralSound, point, MineralBasePitch + MineralPitchByProgress * progress});
    } else if (!reaction.noDamageSound.empty()) {
        m_world.soundRequests.push_back({reaction.noDamageSound, point, 1.0f});
    }

    const std::string& effectName = dug ? reaction.effect : reaction.noDamageEffect;
    if (hasEffectDefinition(effectName)) {
        if (EffectObject* effect = m_world.spawnEffect(effectName, point, 0.0f, 1.0f)) {
            // The effect is drawn for a hit from the left; turn it to the hit's side.
            if (direction.x != 0)
                effect->scaleX = -float(direction.x);
            else
                effect->rotation = -float(direction.y) * kPi / 2.0f;
        }
    }
    return true;
}

} // namespace zor
