#include "game/simulation/movement/MovementRules.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ObjectStepContext.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/audio/GameAudio.h"

#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/NameEnumerations.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/level/TileAccess.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Randomizer.h"

#include <cmath>
#include <optional>

namespace zor {

namespace {

constexpr float ClimbSpeed = 175.0f;  // px/s
constexpr float LadderReach = 11.0f;  // px from the ladder's middle
constexpr float LadderSlideTime = 0.1f;
constexpr float TurnFactor = 4.0f;
constexpr float OverSpeedFactor = 0.19f;
constexpr float NearSpeedFactor = 0.4f;
constexpr float RunPuffScale = 1.5f;
constexpr float HalfPi = 1.57079633f;

void queueCue(World& world, const ActorObject& actor, const std::string& cue) {
    world.soundRequests.push_back(SoundRequest{cue, actor.getPosition(), 1.0f});
}

bool isPlayer(GameObjectSimulator& objects, const ActorObject& actor) { return &actor == objects.world().player(); }

fpVector2 turnedToFacing(const fpVector2& offset, const ActorObject& actor) {
    return {actor.facing.x < 0.0f ? -offset.x : offset.x, offset.y};
}

void spawnMirrored(World& world, const std::string& effect, const fpVector2& position, bool mirrored, float scale) {
    EffectObject* spawned = world.spawnEffect(effect, position, 0.0f, scale);
    if (spawned && mirrored) spawned->scaleX = -spawned->scaleX;
}

// The cell under the actor's feet.
const MaterialDefinition* materialUnder(const World& world, const ActorObject& actor, bool& registered) {
    if (!world.level) return nullptr;
    const fpVector2 position = actor.getPosition();
    return &tileMaterialDefinition(*world.level, std::int32_t(position.x / TileSize),
                                   std::int32_t(position.y / TileSize) + 1, &registered);
}

void stepFootsteps(GameObjectSimulator& objects, ActorObject& actor) {
    if (!actor.footstepRequest || !isPlayer(objects, actor)) return;
    actor.footstepRequest = false;
    World& world = objects.world();
    bool registered = false;
    const MaterialDefinition* material = materialUnder(world, actor, registered);
    if (material && registered) {
        const bool fast = actor.running && actor.groundSpeed >= objects.settings().maxRunSpeed;
        if (!material->walkEffect.empty())
            spawnMirrored(world, material->walkEffect, actor.getPosition(), actor.moveVector.x < 0.0f,
                          fast ? RunPuffScale : 1.0f);
        if (!material->walkSound.empty()) queueCue(world, actor, material->walkSound);
        return;
    }
    const GameObject* ground = actor.standingOnId != 0 ? world.findGameObject(actor.standingOnId) : nullptr;
    if (ground && ground->kind() == GameObjectKind::Actor) {
        const std::string& sound = static_cast<const ActorObject*>(ground)->definition().walkOnSound;
        if (!sound.empty()) queueCue(world, actor, sound);
    }
}

} // namespace

void updateLadder(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) {
    PhysicsSystem* physics = objects.physics();
    if (!physics || actor.physicalObject.bodies().empty()) return;
    fpRect bounds = actor.physicalObject.bodies().front().getBounds();
    if (actor.moveVector.y > 0.0f && actor.groundState == 2) bounds.h += 1.0f;
    const PhysicalObject* ladder = physics->findNearestOverlap(bounds, CollisionGroup::Ladders);
    actor.ladderId = ladder && ladder->ownerEntity && ladder->velocity.y == 0.0f ? ladder->ownerEntity->id() : 0;
    const fpVector2 position = actor.getPosition();
    const bool aligned = ladder && std::fabs(ladder->position().x - position.x) < LadderReach;

    const float push = actor.moveVector.y;
    const float climbSpeed = actor.physicalObject.velocity.y;
    const bool wantsLadder = !actor.chargedJumpActive && (push < 0.0f || (push > 0.0f && actor.groundState != 1)) &&
                             (actor.climbDirection * push <= 0.0f || climbSpeed * actor.climbDirection < 0.0f ||
                              actor.downPressed || actor.upPressed);
    if (actor.climbing == 0) {
        if (aligned && wantsLadder && actor.moveVector.x == 0.0f) {
            actor.climbing = 1;
            actor.setPosition({ladder->position().x, position.y});
            actor.timedOffset = position - actor.getPosition();
            actor.timedOffsetRemaining = LadderSlideTime;
            actor.timedOffsetDuration = LadderSlideTime;
        }
        return;
    }
    const bool stays = (actor.groundState == 0 || context.previousGround != 0) && actor.ladderId != 0 && aligned &&
                       actor.moveVector.x == 0.0f && !actor.jumpPressed;
    if (stays) return;
    actor.climbing = 0;
    if (!actor.jumpPressed) {
        actor.climbDirection = 0.0f;
    } else if (push > 0.0f) {
        // Jumping while pushing down only lets go.
        actor.jumpPressed = false;
        actor.climbDirection = 1.0f;
    } else {
        actor.climbDirection = -1.0f;
        actor.groundState = 2;
    }
}

void updateWalking(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) {
    const ActorDefinition& definition = actor.definition();
    PhysicalObject& body = actor.physicalObject;
    if (actor.climbing != 0) {
        body.velocity = {0.0f, actor.moveVector.y * ClimbSpeed};
        body.acceleration = {};
        context.gravityScale = 0.0f;
        if (actor.footstepRequest && isPlayer(objects, actor)) {
            actor.footstepRequest = false;
            if (!definition.ladderSound.empty()) queueCue(objects.world(), actor, definition.ladderSound);
        }
        return;
    }
    const float walkSpeed = definition.walkSpeed;
    if (definition.walkAcceleration <= 0.0f) {
        if (walkSpeed > 0.0f) body.velocity.x = walkSpeed * actor.moveVector.x;
    } else if (walkSpeed > 0.0f) {
        const float vx = body.velocity.x;
        float factor = 1.0f;
        if (vx != 0.0f && actor.moveVector.x != 0.0f && (vx > 0.0f) != (actor.moveVector.x > 0.0f))
            factor = TurnFactor;
        else if (std::fabs(vx) > walkSpeed)
            factor = OverSpeedFactor;
        else if (std::fabs(vx) > 0.6f * walkSpeed)
            factor = NearSpeedFactor;
        body.acceleration.x = definition.walkAcceleration * actor.moveVector.x * factor;
    }

    if (actor.running && actor.groundSpeed >= objects.settings().maxRunSpeed && !definition.runningEffect.empty()) {
        actor.runningEffectTimer -= context.step;
        if (actor.runningEffectTimer <= 0.0f) {
            actor.runningEffectTimer += definition.runningEffectFrequency;
            spawnMirrored(objects.world(), definition.runningEffect,
                          actor.getPosition() + turnedToFacing(definition.runningEffectOffset, actor),
                          actor.moveVector.x < 0.0f, 1.0f);
        }
    }
    stepFootsteps(objects, actor);
}

void updateRunning(ActorObject& actor) {
    const ActorDefinition& definition = actor.definition();
    const bool onGround = actor.groundState != 0;
    if (onGround && actor.runHeld && definition.enableRun) {
        actor.running = true;
    } else if ((!onGround || !definition.enableRun) && actor.runHeld && actor.wallSide == 0 && actor.climbing == 0) {
        // A run keeps going through the air.
    } else {
        actor.running = false;
        actor.runningEffectTimer = definition.runningEffectFrequency;
    }
}

void updateWallSlide(GameObjectSimulator& objects, ActorObject& actor, float step) {
    const ActorDefinition& definition = actor.definition();
    if (actor.wallSide == 0) {
        if (actor.slideSound != 0) {
            objects.owner().audio().stop(actor.slideSound);
            actor.slideSound = 0;
            actor.slideEffectTimer = definition.slideEffectFrequency;
        }
        return;
    }
    if (actor.physicalObject.bodies().empty()) return;
    const fpRect bounds = actor.physicalObject.bodies().front().getBounds();
    const bool wallOnLeft = actor.wallSide == 1;
    const fpVector2 edge(wallOnLeft ? bounds.x : bounds.x + bounds.w, bounds.y + bounds.h / 2.0f);
    const float rotation = wallOnLeft ? HalfPi : 3.0f * HalfPi;
    World& world = objects.world();
    if (actor.jumpPressed) {
        world.spawnEffect("land_puff", edge, rotation, 1.0f);
        return;
    }
    if (definition.slideEffect.empty() || !(actor.physicalObject.velocity.y > 0.0f)) return;
    actor.slideEffectTimer -= step;
    if (actor.slideEffectTimer > 0.0f) return;
    actor.slideEffectTimer += definition.slideEffectFrequency;
    const fpVector2 spread = definition.slideEffectRandomOffset;
    Randomizer& random = world.random();
    const float dx = random.nextFloatRange(-spread.x, spread.x);
    const float dy = random.nextFloatRange(-spread.y, spread.y);
    world.spawnEffect(definition.slideEffect, edge + fpVector2(dx, dy), rotation, 1.0f);
    if (actor.slideSound == 0 && !definition.slideSound.empty())
        actor.slideSound = objects.owner().audio().playCue(definition.slideSound, 1.0f, 1.0f, std::nullopt, true);
}

void showLandingEffect(GameObjectSimulator& objects, const ActorObject& actor, const ObjectStepContext& context) {
    if (actor.groundState == 0 || context.previousGround != 0 || actor.poolId != 0 || actor.liquidState != 0) return;
    bool registered = false;
    const MaterialDefinition* material = materialUnder(objects.world(), actor, registered);
    if (material && registered && !material->landEffect.empty())
        objects.world().spawnEffect(material->landEffect, actor.getPosition(), 0.0f, 1.0f);
}

void countJumps(ActorObject& actor) {
    if (actor.groundState == 0 && actor.poolId == 0 && actor.climbing == 0) {
        // Walking off a ledge counts as the first jump.
        if (actor.jumpCount == 0) actor.jumpCount = 1;
    } else {
        actor.jumpCount = 0;
        actor.doubleJumpActive = false;
    }
}

void applyFriction(ActorObject& actor) {
    const ActorDefinition& definition = actor.definition();
    PhysicalObject& body = actor.physicalObject;
    const bool pushing = actor.moveVector.x != 0.0f || actor.knockbackTime > 0.0f;
    body.groundFriction = actor.isAlive() && pushing ? 0.0f : definition.groundFriction;
    body.wallFriction = body.velocity.y < 0.0f ? 0.0f : definition.wallFriction;
}

} // namespace zor
