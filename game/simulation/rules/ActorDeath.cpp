// The death of an actor: its loot, end effect, sound and projectile, the special kinds,
// and afterwards either the player's losses and body or the counters and removal of
// anyone else.

#include "game/simulation/rules/ObjectLife.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/Projectile.h"
#include "game/world/entity/ResourceObject.h"
#include "game/world/level/Level.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/NameEnumerations.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/store/AchievementStore.h"

#include <string>
#include <utility>

namespace zor {

namespace {

constexpr const char* LogSource = "GameObjects";
constexpr const char* LootBag = "loot_bag";
constexpr float LootBagHop = -200.0f;
// Woken around an actor whose death may leave its neighbours unsupported.
constexpr std::uint32_t DeathWakeMask = 0x1722E;
// The dead player's body blocks what collides with wall_enemies and rests on the level.
constexpr std::uint32_t BodyGroup = CollisionGroup::WallEnemies;
constexpr std::uint32_t BodyMask = 0x41C;
constexpr float KillCountDistance = 200.0f;
constexpr float GeneratorShakeAmplitude = 8.0f;
constexpr float GeneratorShakeSeconds = 1.5f;
constexpr std::int32_t GeneratorShakeCurve = 4;
constexpr std::int32_t WaterLiquid = 1;

// The counters may be raised while a build settles placements on the worker; the store
// belongs to the main thread.
void raiseCounter(GameObjectSimulator& objects, std::string name) {
    objects.owner().mainThreadWork().run([name = std::move(name)] { updateAchievementCounter(1, false, name); });
}

fpVector2 bodyCentre(const ActorObject& actor) {
    return actor.physicalObject.bodies().empty() ? actor.getPosition() : actor.center();
}

bool isPlayer(const ActorObject& actor) { return actor.definition().specialType == SpecialType::Player; }

// The player's items that drop on death, in a bag that hops up. A bag that cannot be made
// (the definition makes something else, or none exists) leaves the items where they were.
void dropPlayerLoot(World& world, const fpVector2& at) {
    if (world.level && world.level->isCave) return;
    InventorySlotList& inventory = world.progress.inventory;
    const InventorySlotList before = inventory;
    InventorySlotList dropped = inventory.takeDropOnDeath();
    if (dropped.slots.empty()) return;
    ResourceObject* bag = world.spawnResource(LootBag, at, -1.0f);
    if (!bag) {
        inventory = before;
        LogHandler::log(LogHandler::Warning, LogSource,
                        std::string("The resource '") + LootBag +
                            "' did not make a bag; the player keeps the items that drop on death");
        return;
    }
    bag->physicalObject.impulse = fpVector2(0.0f, LootBagHop);
    bag->contents = std::move(dropped);
    world.inventoryChanged.fireNoArgs();
}

void dropLoot(World& world, ActorObject& actor) {
    const fpVector2 at = bodyCentre(actor) + actor.lootOffset;
    if (isPlayer(actor)) {
        dropPlayerLoot(world, at);
        return;
    }
    const ActorDefinition& definition = actor.definition();
    const std::string& drop = actor.goodLoot ? definition.goodDropResource : definition.dropResource;
    if (!drop.empty()) world.spawnResource(drop, at, -1.0f);
}

void leaveRemains(GameObjectSimulator& objects, ActorObject& actor) {
    World& world = objects.world();
    const ActorDefinition& definition = actor.definition();
    if (!definition.endEffect.empty()) {
        EffectObject* effect = world.spawnEffect(
            definition.endEffect, actor.getPosition() + actor.orientOffset(definition.endEffectOffset), 0.0f, 1.0f);
        if (effect && actor.facing.x < 0.0f) effect->scaleX = -effect->scaleX;
    }
    if (!definition.endSound.empty()) world.soundRequests.push_back({definition.endSound, actor.getPosition(), 1.0f});
    if (!definition.projectileOnDeath.empty())
        world.spawnProjectile(definition.projectileOnDeath, bodyCentre(actor), actor.id());
    if (definition.wakeNeighboursOnDeath && objects.physics() && !actor.physicalObject.bodies().empty()) {
        const fpRect body = actor.physicalObject.bodies().front().getBounds();
        objects.physics()->wakeRect(fpRect(body.x - 1.0f, body.y - 1.0f, body.w + 2.0f, body.h + 2.0f), DeathWakeMask);
    }
}

void applySpecialType(GameObjectSimulator& objects, const ActorObject& actor) {
    World& world = objects.world();
    switch (actor.definition().specialType) {
    case SpecialType::Generator: {
        ItemCountMap& items = world.progress.items;
        items.counts[actor.name] = 1;
        world.shakeCamera(GeneratorShakeAmplitude, GeneratorShakeSeconds, GeneratorShakeCurve);
        if (!hasItemAmount("reached_quellox", items, 1) && hasItemAmount("disable_barrier_boss3", items, 1) &&
            hasItemAmount("disable_barrier_boss2", items, 1))
            raiseCounter(objects, "cntr_sequence_breaker");
        break;
    }
    case SpecialType::Teleporter: {
        const fpVector2 position = actor.getPosition();
        const fpVector2& returnPosition = world.progress.returnPosition;
        if (position.x == returnPosition.x && position.y == returnPosition.y) world.clearReturnPoint();
        break;
    }
    default: break;
    }
}

// The dead player stays where it fell, as something the others stand on and bump into.
void leaveBody(GameObjectSimulator& objects, ActorObject& player) {
    PhysicalObject& physical = player.physicalObject;
    PhysicsSystem* physics = objects.physics();
    if (physics) physics->removeObject(physical);
    physical.regroupBodies(BodyGroup, BodyMask);
    if (physics) {
        physics->placeObject(physical);
        physical.setPosition(physical.position());
    }
    physical.collidable = true;
    physical.velocity = physical.acceleration = physical.impulse = fpVector2();
}

void endPlayer(GameObjectSimulator& objects, ActorObject& player) {
    World& world = objects.world();
    PlayerProgress& progress = world.progress;
    // Debt stays as it is: only money the player has can be lost.
    const std::int32_t lostCash =
        hasItemAmount("pickaxe_pre", progress.items, 1) && progress.cash > 0 ? progress.cash / 2 : 0;
    progress.cash -= lostCash;
    if (GameSession* session = objects.owner().session()) ++session->currentSlot().deaths;
    world.soundRequests.push_back({"game_over", player.getPosition(), 1.0f});
    leaveBody(objects, player);
    // A fall recovery brings the speed back on its own.
    if (player.animationRecoveryDuration == 0.0f) player.animationSpeed = 1.0f;
    player.charge = 0.0f;
    player.chargeTime = 0.0f;
    player.attackPitchTime = 0.0f;
    player.attackPitchTimer = 0.0f;
    player.sendAnimationInput("death", "legs");
    objects.pushBackRemaining = 0.0f;
    objects.owner().showGameOver(lostCash);
}

void endOther(GameObjectSimulator& objects, ActorObject& actor) {
    World& world = objects.world();
    const ActorDefinition& definition = actor.definition();
    const ActorObject* player = world.player();
    // Only kills near a player count; without one there is nobody to credit.
    if (actor.lastDamageType == DamageType::Normal && player) {
        std::string counter = "cntr_killed_" + definition.name;
        if (hasAchievementCounter(counter) &&
            (player->getPosition() - actor.getPosition()).length() <= KillCountDistance)
            raiseCounter(objects, std::move(counter));
    }
    if (actor.liquidState == WaterLiquid && definition.name == "enemy_turtle") {
        const GameObject* pool = world.findGameObject(actor.poolId);
        if (pool && pool->kind() == GameObjectKind::Actor && static_cast<const ActorObject*>(pool)->water > 0.0f)
            raiseCounter(objects, "cntr_turtle_soup");
    }
    world.removeEntity(&actor);
}

} // namespace

void ObjectLife::killActor(GameObjectSimulator& objects, ActorObject& actor) {
    if (actor.killed) return;
    actor.killed = true;
    actor.hitPoints = 0.0f;
    World& world = objects.world();
    const ActorDefinition& definition = actor.definition();

    if (!actor.dying) {
        if (!actor.goodLoot && definition.goodDropChance > 0.0f)
            actor.goodLoot = definition.goodDropChance > world.random().nextFloat();
        dropLoot(world, actor);
        leaveRemains(objects, actor);
        applySpecialType(objects, actor);
        actor.sendAnimationInput("death", definition.animationState);
    }
    if (isPlayer(actor))
        endPlayer(objects, actor);
    else
        endOther(objects, actor);
}

} // namespace zor
