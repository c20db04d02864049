#include "game/world/entity/ActorObject.h"

#include "game/world/entity/BehaviorMachine.h"
#include "game/world/entity/NPCBehaviorData.h"

#include <cassert>
#include <cmath>
#include <utility>

namespace zor {

namespace {

constexpr float DeadHitPoints = 0.00001f;
constexpr float EmptyTankWaterFactor = 0.2f;
constexpr float HighJumpFactor = 1.2f;

bool isSpecialAttack(AttackType type) {
    return type == AttackType::Projectile || type == AttackType::TurtleProjectile || type == AttackType::Laser;
}

} // namespace

ActorObject::ActorObject(std::shared_ptr<const ActorDefinition> definition)
    : GameObject(definition, GameObjectKind::Actor),
      hitPoints(definition->hitPoints),
      invulnerable(definition->invulnerable),
      hasIdleSound(definition->idleSoundTime != 0.0f),
      constantSound(definition->constantSound),
      simpleAnimation(definition->simpleAnimation),
      m_definition(std::move(definition)) {}

void ActorObject::reset() {
    GameObject::reset();
    for (auto& [partName, part] : animationParts) part.restart = true;
    if (m_definition->specialType == SpecialType::Pool) water = m_definition->waterCapacity;
}

void ActorObject::installDefinition(std::shared_ptr<const ActorDefinition> definition) {
    replaceGameObjectDefinition(definition);
    m_definition = std::move(definition);
}

void ActorObject::setAnimationSpeed(float speed, float recovery) {
    if (animationRecoveryDuration > 0.0f) return;
    if (recovery > 0.0f) {
        animationRecoveryDuration = recovery;
        animationRecoveryTime = recovery;
    } else {
        animationSpeed = speed;
    }
}

bool ActorObject::isAlive() const { return hitPoints > DeadHitPoints; }

bool ActorObject::hasWeapon() const {
    return weaponIndex >= 0 && std::size_t(weaponIndex) < m_definition->weapons.size();
}

const ActorDefinition::Weapon& ActorObject::currentWeapon() const {
    assert(hasWeapon());
    return m_definition->weapons[std::size_t(weaponIndex)];
}

bool ActorObject::canUseCurrentWeapon() const {
    if (!hasWeapon() || weaponCooldown > 0.0f) return false;
    const ActorDefinition::Weapon& weapon = currentWeapon();
    const bool damages = weapon.attackDamage.amount > 0.0f || weapon.chargeDamage.amount > 0.0f;
    if (!damages && !isSpecialAttack(weapon.attackType)) return false;
    const bool hasWater = weapon.waterDrain == 0.0f || weapon.minimumWater < water || chargeTime > 0.0f;
    return hasWater && (!weapon.attackOnlyOnGround || onGround);
}

float ActorObject::waterLevelFactor() const {
    const float capacity = m_definition->waterCapacity;
    if (capacity <= 0.0f) return 0.0f;
    return EmptyTankWaterFactor + (1.0f - EmptyTankWaterFactor) * water / capacity;
}

float ActorObject::jumpVelocity() const {
    const float velocity = dashing ? m_definition->staticDashVelocity : m_definition->jumpSpeed;
    return m_definition->enableHighJump ? velocity * HighJumpFactor : velocity;
}

fpVector2 ActorObject::attachedDirection() const {
    fpVector2 direction(float(m_definition->attachedDirection.x), float(m_definition->attachedDirection.y));
    direction.rotate(facing.angle());
    return {std::round(direction.x), std::round(direction.y)};
}

NPCBehaviorData& ActorObject::npcBehaviorData() {
    if (!m_npcData) {
        m_npcData = std::make_shared<NPCBehaviorData>();
        const fpVector2 position = getPosition();
        m_npcData->homeArea.x += position.x;
        m_npcData->homeArea.y += position.y;
        m_npcData->targetX = position.x;
    }
    return *m_npcData;
}

bool ActorObject::sendAnimationInput(const std::string& input, const std::string& part) {
    if (!part.empty()) {
        const auto found = animationParts.find(part);
        return found != animationParts.end() && found->second.machine && found->second.machine->postEvent(input);
    }
    bool result = false;
    for (auto& [partName, entry] : animationParts)
        if (entry.machine) result = entry.machine->postEvent(input);
    return result;
}

fpVector2 ActorObject::projectileSpawnOffset() const {
    const fpVector2 own = definition().projectileSpawnOffset;
    return orientOffset(hasWeapon() ? currentWeapon().spawnOffset + own : own);
}

} // namespace zor
