#include "game/simulation/movement/MovementRules.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ObjectStepContext.h"

#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/EffectObject.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

constexpr float PoolSpeedLimit = 140.0f;  // px/s
constexpr float PoolGravityScale = 0.5f;
constexpr float RefillRate = 0.6f;  // water per second

// The pool's filled part: its body with the top lowered to the water line.
bool inPoolWater(const ActorObject& actor, const ActorObject& pool) {
    if (actor.physicalObject.bodies().empty() || pool.physicalObject.bodies().empty()) return false;
    const fpRect body = actor.physicalObject.bodies().front().getBounds();
    const fpRect probe(body.x + body.w / 2.0f, body.y + body.h - 1.0f, 1.0f, 1.0f);
    const fpRect basin = pool.physicalObject.bodies().front().getBounds();
    const float depth = basin.h * pool.waterLevelFactor();
    return rectsOverlap(probe, fpRect(basin.x, basin.y + basin.h - depth, basin.w, depth));
}

const char* splashOf(bool acid) { return acid ? "acid_splash" : "water_splash"; }

void refill(GameObjectSimulator& objects, ActorObject& player, ActorObject& pool, float step) {
    const ActorDefinition& definition = player.definition();
    const float amount = std::min({RefillRate * step, pool.water, definition.waterCapacity - player.water});
    if (!(amount > 0.0f)) return;
    player.refilling = true;
    player.waterSourceId = pool.id();
    World& world = objects.world();
    if (!definition.drainWaterEffect.empty()) {
        Entity* shown = player.drainEffectId != 0 ? world.findEntity(player.drainEffectId) : nullptr;
        if (shown) {
            shown->setPosition(player.getPosition());
        } else {
            const fpVector2 centre = player.center();
            const fpVector2 at(centre.x, centre.y - std::fmod(centre.y, TileSize) + TileSize);
            EffectObject* effect = world.spawnEffect(definition.drainWaterEffect, at, 0.0f, 1.0f);
            player.drainEffectId = effect ? effect->id() : 0;
        }
    }
    player.water = std::clamp(player.water + definition.drainWaterMultiplier * amount, 0.0f, definition.waterCapacity);
    pool.water -= amount;
}

void leavePool(GameObjectSimulator& objects, ActorObject& actor, const ActorObject* pool) {
    if (actor.liquidState != 0 && pool) {
        const float capacity = pool->definition().waterCapacity;
        const float emptied = capacity > 0.0f ? 1.0f - pool->water / capacity : 0.0f;
        const fpVector2 at(actor.center().x, pool->getPosition().y - 20.0f + emptied * 0.8f * TileSize);
        objects.world().spawnEffect(splashOf(actor.liquidState == 2), at, 0.0f, 1.0f);
    }
    actor.liquidState = 0;
    actor.drainEffectId = 0;
    actor.poolId = 0;
}

} // namespace

void updatePool(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) {
    actor.refilling = false;
    actor.waterSourceId = 0;
    if (actor.poolId == 0) return;
    World& world = objects.world();
    GameObject* found = world.findGameObject(actor.poolId);
    auto* pool = found && found->kind() == GameObjectKind::Actor ? static_cast<ActorObject*>(found) : nullptr;
    if (!pool || !inPoolWater(actor, *pool)) {
        leavePool(objects, actor, pool);
        return;
    }
    if (!actor.chargedJumpActive) {
        context.speedLimit = PoolSpeedLimit;
        context.gravityScale = PoolGravityScale;
        actor.fallDistance = 0.0f;
    }
    const bool acid = pool->definition().acidDamage.amount > 0.0f;
    if (actor.liquidState == 0) world.spawnEffect(splashOf(acid), actor.getPosition(), 0.0f, 1.0f);
    actor.liquidState = acid ? 2 : 1;
    if (&actor == world.player() && !acid && actor.water != actor.definition().waterCapacity)
        refill(objects, actor, *pool, context.step);
    if (acid && !(actor.invulnerabilityTime > 0.0f)) {
        DamageData burn = pool->definition().acidDamage;
        burn.sourceObjectId = pool->id();
        objects.damageActor(actor, burn, fpVector2());
    }
}

} // namespace zor
