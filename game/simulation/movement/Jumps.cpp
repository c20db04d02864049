#include "game/simulation/movement/MovementRules.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ObjectStepContext.h"
#include "game/simulation/ports/UserInterface.h"

#include "game/definitions/DamageData.h"
#include "game/definitions/NameEnumerations.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Randomizer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor {

namespace {

constexpr float ChargeJumpBoost = -260.0f;  // px/s at a full charge
constexpr float DoubleJumpEntrySpeed = 70.0f;
constexpr float WallJumpRise = -50.0f;
constexpr float WallJumpLock = 0.05f;  // seconds
constexpr float ReleasedJumpRise = -220.0f;
constexpr float RunBoost = 0.4f;
constexpr float LowWater = 0.1f;
const std::string LegsPart = "legs";

enum class Launch { None, Jump, Plate };

void queueCue(World& world, const ActorObject& actor, const std::string& cue) {
    world.soundRequests.push_back(SoundRequest{cue, actor.getPosition(), 1.0f});
}

// A heavy actor pushing off a wall presses on the wall's cell; true when the cell broke.
bool crushWall(GameObjectSimulator& objects, ActorObject& actor) {
    DamageData damage;
    damage.amount = std::numeric_limits<float>::max();
    damage.tier = 1;
    damage.type = DamageType::Pressure;
    damage.ignoreDepth = true;
    damage.sourceObjectId = actor.id();
    const fpVector2 position = actor.getPosition();
    return objects.digCell(std::int32_t(position.x / TileSize) - actor.wallSide, std::int32_t(position.y / TileSize),
                           damage, position);
}

// 1 + 0.4 x how far the player's recent speed lies between walking and running. Without a
// span between the two speeds there is no boost.
float runBoost(GameObjectSimulator& objects, const ActorObject& actor) {
    const float walkSpeed = actor.definition().walkSpeed;
    const float span = objects.settings().maxRunSpeed - walkSpeed;
    if (!(span > 0.0f)) return 1.0f;
    return 1.0f + RunBoost * std::clamp((maxRecentPlayerSpeed(objects) - walkSpeed) / span, 0.0f, 1.0f);
}

// True when the step ends with the charge (or the lack of water) and no take-off.
bool charge(GameObjectSimulator& objects, ActorObject& actor, bool plate, float step) {
    const ActorDefinition& definition = actor.definition();
    const bool wantsCharge = (plate || definition.enableChargeJump) && actor.jumpHeld &&
                             (actor.jumpPressed || actor.charge > 0.0f) && actor.climbing == 0 &&
                             actor.moveVector.y > 0.0f && actor.moveVector.x == 0.0f;
    if (actor.groundState != 1 || !wantsCharge) return false;
    if (actor.water < LowWater && !(actor.charge > 0.0f) && !plate) {
        objects.showPlayerMessage("need_water");
        objects.userInterface().flashStatusBar(StatusBar::Water);
        return true;
    }
    float add = std::min((0.1f + 4.5f * (1.0f - actor.charge)) * step, 1.0f - actor.charge);
    if (!plate) {
        const float cost = definition.chargeJumpFactor;
        if (cost > 0.0f) add = std::min(add, actor.water / cost);
        drainWater(actor, cost * add);
        if (actor.charge == 0.0f && add > 0.0f) {
            actor.chargedJumpActive = true;
            actor.sendAnimationInput("steamcharge", definition.animationState);
        }
    }
    actor.charge += add;
    return true;
}

Launch takeOff(GameObjectSimulator& objects, ActorObject& actor, const fpVector2& direction, bool plate) {
    if (!actor.jumpPressed && !(actor.charge > 0.0f)) return Launch::None;
    const ActorDefinition& definition = actor.definition();
    PhysicalObject& body = actor.physicalObject;
    if (plate && !(actor.charge > 0.0f)) {
        body.impulse.y = -objects.settings().jumpPlateImpulse;
        return Launch::Plate;
    }
    const bool mayJump = actor.jumpCount == 0 || (actor.jumpCount == 1 && definition.enableDoubleJump);
    if (!mayJump || actor.climbing != 0) return Launch::None;
    const float boost = runBoost(objects, actor);
    if (actor.jumpCount == 1) {
        objects.world().spawnEffect("double_jump", actor.getPosition(), 0.0f, 1.0f);
        actor.doubleJumpActive = true;
        actor.sendAnimationInput("jump_quellox", definition.animationState);
        body.velocity.y = std::clamp(body.velocity.y, -DoubleJumpEntrySpeed, DoubleJumpEntrySpeed);
    }
    ++actor.jumpCount;
    body.impulse = direction * (actor.jumpVelocity() * boost) + fpVector2(0.0f, actor.charge * ChargeJumpBoost);
    return Launch::Jump;
}

void afterLaunch(GameObjectSimulator& objects, ActorObject& actor, Launch launch) {
    const ActorDefinition& definition = actor.definition();
    PhysicalObject& body = actor.physicalObject;
    if (actor.wallSide != 0) {
        body.velocity.y = std::max(body.velocity.y, WallJumpRise);
        actor.wallJumpLockDirection = -actor.wallSide;
        actor.wallSide = 0;
        actor.chargedJumpActive = false;
        actor.wallJumpLockTime = WallJumpLock;
    }
    body.velocity.y = std::min(body.velocity.y, 0.0f);
    const bool charged = actor.charge > 0.0f;
    actor.normalJump = !charged && launch != Launch::Plate;
    actor.sendAnimationInput("jump", definition.animationState);
    actor.sendAnimationInput("hide", LegsPart);
    actor.charge = 0.0f;
    actor.groundState = 0;
    World& world = objects.world();
    if (launch == Launch::Plate)
        queueCue(world, actor, "jump_plate_jump");
    else if (charged)
        queueCue(world, actor, "player_jump_steam");
    else
        queueCue(world, actor, actor.jumpCount <= 1 ? "player_jump" : "player_jump_double");
    if (charged && !definition.steamJumpEffect.empty())
        world.spawnEffect(definition.steamJumpEffect, actor.getPosition(), 0.0f, 1.0f);
    objects.makeNoise(actor, NoiseSize::Small);
}

void afterEffects(GameObjectSimulator& objects, ActorObject& actor, float step) {
    const ActorDefinition& definition = actor.definition();
    PhysicalObject& body = actor.physicalObject;
    const bool rising = body.velocity.y < 0.0f;
    // Letting go of jump early cuts a plain jump short.
    if (!actor.jumpHeld && actor.normalJump && rising) body.velocity.y = std::max(body.velocity.y, ReleasedJumpRise);
    if (!actor.chargedJumpActive) return;
    if (!rising) {
        actor.chargedJumpActive = false;
        return;
    }
    if (definition.steamJumpTrailEffect.empty()) return;
    actor.steamTrailTimer -= step;
    if (actor.steamTrailTimer > 0.0f) return;
    actor.steamTrailTimer += definition.steamJumpTrailFrequency;
    const float r = objects.world().random().nextFloat();
    fpVector2 offset = definition.steamJumpTrailRandomOffset * r;
    if (actor.facing.x < 0.0f) offset.x = -offset.x;
    objects.world().spawnEffect(definition.steamJumpTrailEffect, actor.getPosition() + offset, 0.0f, 1.0f);
}

} // namespace

void updateJumps(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) {
    const ActorDefinition& definition = actor.definition();
    const bool free = actor.groundState == 0 && actor.poolId == 0 && actor.wallSide == 0;
    const bool idle = !actor.jumpHeld && !actor.jumpPressed && !(actor.charge > 0.0f);
    if ((free && !definition.enableDoubleJump) || idle) {
        actor.charge = 0.0f;
        afterEffects(objects, actor, context.step);
        return;
    }
    fpVector2 direction(0.0f, -1.0f);
    if (actor.wallSide != 0) {
        if (definition.weightPressure && crushWall(objects, actor)) return;
        direction = fpVector2(float(actor.wallSide), -2.0f).normalized();
        actor.jumpCount = 0;
        if (actor.doubleJumpActive) endDoubleJumpAnimation(actor);
    }
    PhysicsSystem* physics = objects.physics();
    const bool plate = physics && !actor.physicalObject.bodies().empty() &&
                       physics->testRect(actor.physicalObject.getBounds(), CollisionGroup::Transport);
    if (!charge(objects, actor, plate, context.step)) {
        const Launch launch = takeOff(objects, actor, direction, plate);
        if (launch != Launch::None) afterLaunch(objects, actor, launch);
    }
    afterEffects(objects, actor, context.step);
}

} // namespace zor
