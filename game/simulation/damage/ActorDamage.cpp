// The one gate of every hurt an actor takes: who may be damaged, how much the damage takes
// off, the timers and events it starts, and the cause of the player's death.

#include "game/simulation/GameObjectSimulator.h"

#include "game/simulation/Simulator.h"
#include "game/simulation/damage/DeathCause.h"
#include "game/world/World.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/Damage.h"

#include "Framework/core/debug/DebugFlags.h"

#include <cmath>

namespace zor {

namespace {

// The threshold of life shared with ActorObject::isAlive.
constexpr float DeadHitPoints = 0.00001f;
constexpr float HitFlashSeconds = 0.4f;

DebugFlag& invincibleSwitch() {
    static DebugFlag& flag = declareDebugToggle(DebugToggle("invincible", DebugToggle::Toggle, "game debug"));
    return flag;
}

bool passesBusyFlags(DamageType type) {
    return type == DamageType::Crush || type == DamageType::Suicide || type == DamageType::Fall;
}

bool isPlayerKind(const ActorObject& actor) { return actor.definition().specialType == SpecialType::Player; }

void queueSound(GameObject& object, const std::string& cue) {
    if (!cue.empty()) object.pendingSounds.push_back(cue);
}

void post(ActorObject& actor, const char* event) {
    if (actor.behaviorMachine) actor.behaviorMachine->postEvent(event);
}

fpVector2 bodyCentre(const GameObject& object) {
    return object.physicalObject.bodies().empty() ? object.getPosition() : object.center();
}

} // namespace

bool GameObjectSimulator::canDamageActor(ActorObject& actor, const DamageData& damage, const fpVector2& direction) {
    const ActorDefinition& definition = actor.definition();
    const bool player = &actor == m_world.player();
    if (actor.invulnerable) {
        if (damage.type == DamageType::Barrier && !player) {
            // A barrier reaches through the flag of every actor but the player.
        } else {
            queueSound(actor, definition.attackedInvulnerableSound);
            return false;
        }
    }
    if (actor.busyFlags != 0 && !passesBusyFlags(damage.type)) return false;
    if (player && (invincibleSwitch() || (m_world.level && m_world.level->playerInvulnerable) ||
                   m_owner.levelChangePending()))
        return false;
    if (damage.tier < definition.hardness || actor.hitPoints <= DeadHitPoints) return false;
    if (damage.type == DamageType::WoodCrush) return definition.collisionGroup != CollisionGroup::HardEnemies;
    if (definition.vulnerableDirection != fpVector2()) {
        const fpVector2 rounded(std::round(direction.x), std::round(direction.y));
        if (rounded != definition.vulnerableDirection) {
            queueSound(actor, definition.attackedInvulnerableSound);
            return false;
        }
    }
    if (damage.type == DamageType::Crush || (damage.type == DamageType::Barrier && !player)) return true;
    return !(actor.invulnerabilityTime > 0.0f) && !actor.invulnerable;
}

bool GameObjectSimulator::damageActor(ActorObject& actor, const DamageData& damage, const fpVector2& direction,
                                      float* leftover) {
    if (leftover) *leftover = 0.0f;
    if (!canDamageActor(actor, damage, direction)) return false;
    const ActorDefinition& definition = actor.definition();
    const bool playerKind = isPlayerKind(actor);
    const bool player = &actor == m_world.player();
    post(actor, "attacked");
    actor.lastDamageType = damage.type;

    if (damage.type == DamageType::Crush) {
        actor.hitPoints = 0.0f;
        if (!definition.crushedSound.empty())
            m_world.soundRequests.push_back({definition.crushedSound, actor.getPosition(), 1.0f});
        if (player) m_world.progress.lastDeathCause = "crush";
        return true;
    }
    if (damage.type == DamageType::Barrier && !playerKind && damage.enemyAmount > 0.0f) {
        actor.hitPoints = 0.0f;
        return true;
    }

    const float amount = !playerKind && damage.enemyAmount > 0.0f ? damage.enemyAmount : damage.amount;
    const float reduction = playerKind ? 0.0f : damage.enemyReduction;
    const float divisor = definition.hitPoints - reduction > 1.0f ? definition.hitPoints - reduction : 1.0f;
    const float scale = definition.hitPoints / divisor;
    const float raw = scale * amount;
    if (leftover) *leftover = std::min(damage.amount, std::max(0.0f, damage.amount - actor.hitPoints / scale));

    float dealt = 0.0f;
    const bool harmless =
        damage.type == DamageType::Tile || (playerKind && damage.type == DamageType::EnemyAndTile);
    if (!harmless) {
        dealt = raw * (1.0f - definition.damageReduction);
        if (playerKind && damage.type == DamageType::Reduced) dealt /= 2.0f;
    }
    actor.hitPoints -= dealt;

    if (dealt > 0.0f) {
        if (actor.hitPoints > DeadHitPoints) queueSound(actor, definition.attackedSound);
        actor.hitFlashTime = HitFlashSeconds;
        actor.hitFlashLength = HitFlashSeconds;
        if (playerKind) {
            actor.invulnerabilityTime = damage.playerInvulnerabilityCooldown;
            m_world.playerHurt.fire();
        } else {
            actor.invulnerabilityTime = damage.enemyInvulnerabilityCooldown;
            if (!definition.attackedEffect.empty())
                m_world.spawnEffect(definition.attackedEffect, bodyCentre(actor) + definition.attackedEffectOffset,
                                    0.0f, 1.0f);
        }
    }

    const bool facingRight = actor.facing.x >= 0.0f;
    if (direction.x != 0.0f) post(actor, (direction.x < 0.0f) == facingRight ? "damageFront" : "damageBack");

    if (player && actor.hitPoints <= DeadHitPoints) {
        std::string& cause = m_world.progress.lastDeathCause;
        if (damage.type == DamageType::Fall) {
            cause = "fall";
        } else if (damage.type == DamageType::WoodCrush) {
            cause = "crush";
        } else if (const GameObject* source = m_world.findGameObject(damage.sourceObjectId)) {
            cause = deathCauseOfName(source->gameObjectDefinition().name);
        } else {
            cause = "fallback";
        }
    }
    return true;
}

bool GameObjectSimulator::applyFallDamage(ActorObject& actor, float fallDistance, const fpVector2& targetPosition) {
    const ActorDefinition& definition = actor.definition();
    if (fallDistance < definition.fallDistance) return false;
    if (m_physics) {
        const fpRect& box = definition.collisionBox;
        fpRect landing(targetPosition.x + box.x, targetPosition.y + box.y, box.w, box.h);
        landing.unite(actor.physicalObject.getBounds());
        // Riding a lift is no fall.
        if (m_physics->testRect(landing, CollisionGroup::Transport)) return false;
    }
    const float amount = definition.fallDamageMinimum +
                         definition.fallDamagePerDistance * (fallDistance - definition.fallDistance) / TileSize;
    if (definition.fallDamageIgnored || !(amount > 0.0f)) return false;
    DamageData damage;
    Damage::init(damage, 1, std::int32_t(DamageType::Fall), amount, 0.0f, 0.0f);
    return damageActor(actor, damage, fpVector2(0.0f, 1.0f));
}

} // namespace zor
