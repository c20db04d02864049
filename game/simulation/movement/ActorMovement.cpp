#include "game/simulation/movement/ActorMovement.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ObjectStepContext.h"
#include "game/simulation/movement/AnimationInputs.h"
#include "game/simulation/movement/MovementRules.h"
#include "game/simulation/movement/PlayerControls.h"

#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/physics/PhysicsSystem.h"

namespace zor {

namespace {

// The attack timer is not among them: the attack cycle counts it down itself and strikes
// when it runs out, which a second countdown here would skip.
void countDown(ActorObject& actor, float step) {
    for (float* countdown : {&actor.knockbackTime, &actor.weaponCooldown, &actor.invulnerabilityTime,
                             &actor.hitFlashTime, &actor.wallJumpLockTime, &actor.edgeTimer, &actor.meetTimer,
                             &actor.activationTimer})
        if (*countdown > 0.0f) *countdown -= step;
}

void spawnPending(GameObjectSimulator& objects, ActorObject& actor) {
    if (actor.pendingSpawn.empty()) return;
    World& world = objects.world();
    world.spawnActor(actor.pendingSpawn, actor.getPosition(), {1.0f, 0.0f});
    const std::string& sound = actor.definition().spawnSound;
    if (!sound.empty()) world.soundRequests.push_back(SoundRequest{sound, actor.getPosition(), 1.0f});
    actor.pendingSpawn.clear();
}

} // namespace

ActorMovement::ActorMovement() { m_found.reserve(16); }

void ActorMovement::updateActor(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) {
    const ActorDefinition& definition = actor.definition();
    const bool player = definition.specialType == SpecialType::Player;
    if (!actor.isAlive() || actor.dying) {
        objects.killActor(actor);
        return;
    }
    updateVitals(objects, actor, context.step);
    countDown(actor, context.step);
    if (!player && objects.enemySimulator().tickActor(actor, objects.updateRecord())) objects.forceUpdate(actor);
    if (!actor.alive()) return;
    updateGround(objects, actor);
    if (player) updateLadder(objects, actor, context);
    if (actor.doubleJumpActive) endDoubleJumpAnimationWhenSettled(actor);
    if (context.previousGround != 0 && actor.groundState == 0 && actor.behaviorMachine)
        actor.behaviorMachine->postEvent("lostGround");
    updateRunning(actor);
    updateWallSlide(objects, actor, context.step);
    objects.updateAttack(actor, context.step);
    spawnPending(objects, actor);
    updateWalking(objects, actor, context);
    showLandingEffect(objects, actor, context);
    countJumps(actor);
    updatePool(objects, actor, context);
    applyFriction(actor);
    updateJumps(objects, actor, context);
    updateAnimationInputs(objects, actor, context);
    updateActivation(objects, actor, m_found);
    if (!actor.constantSound.empty()) objects.world().constantSoundIds.push_back(actor.id());
    if (definition.autoFacing && actor.moveVector.x != 0.0f) actor.facing.x = actor.moveVector.x > 0.0f ? 1.0f : -1.0f;
    actor.wallSide = 0;
}

bool ActorMovement::handlePlayerInput(GameObjectSimulator& objects, InputState& input) {
    ActorObject* player = objects.world().player();
    return player && readPlayerControls(objects.world(), *player, input);
}

void ActorMovement::finishPlayerInput(GameObjectSimulator& objects) {
    if (ActorObject* player = objects.world().player()) finishPlayerControls(*player);
}

void ActorMovement::updateGround(GameObjectSimulator& objects, ActorObject& actor) {
    if (!actor.physicalObject.awake) return;
    if (actor.physicalObject.velocity.y < 0.0f) {
        actor.groundState = 0;
        return;
    }
    actor.groundState = groundState(objects, actor);
    if (actor.groundState != 0) {
        actor.normalJump = false;
        actor.climbDirection = 0.0f;
    } else {
        actor.standingOnId = 0;
    }
}

std::int32_t ActorMovement::groundState(GameObjectSimulator& objects, const ActorObject& actor) {
    PhysicsSystem* physics = objects.physics();
    const auto& bodies = actor.physicalObject.bodies();
    if (!actor.definition().checkOnGround || !physics || bodies.empty()) return 0;
    const fpRect bounds = bodies.front().getBounds();
    const fpRect strip(bounds.x, bounds.y + bounds.h, bounds.w, 1.0f);
    m_found.clear();
    physics->queryRect(strip, bodies.front().mask, m_found);
    bool platformTop = false;
    for (const PhysicalObject* found : m_found) {
        const Entity* owner = found->ownerEntity;
        if (owner == &actor) continue;
        if (!owner) return 1;  // the tile map or the level bounds
        if (owner->type() == EntityType::Beam) return 0;
        if (owner->type() != EntityType::GameObject) return 1;
        const auto& object = static_cast<const GameObject&>(*owner);
        if (object.kind() == GameObjectKind::Actor) {
            const SpecialType type = static_cast<const ActorObject&>(object).definition().specialType;
            if (type == SpecialType::Pool || (type == SpecialType::Ladder && actor.ladderId != 0)) continue;
        }
        if (!object.platformCollision) return 1;
        const fpRect top = found->getBounds();
        if (rectsOverlap(fpRect(top.x, top.y, top.w, 1.0f), strip)) platformTop = true;
    }
    return platformTop ? 2 : 0;
}

} // namespace zor
