#include "game/simulation/movement/ObjectPhysics.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ObjectStepContext.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/movement/CameraStep.h"

#include "game/definitions/NameEnumerations.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/physics/PhysicsSystem.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

constexpr float TerminalSpeed = 1000.0f;
// Along gravity, slower than this is resting, not falling.
constexpr float FallingSpeed = 0.5f;
constexpr float MovedTolerance = 0.00001f;
constexpr float RunCapFallRate = 300.0f;  // px/s per second
constexpr float AirCapFactor = 1.1f;
constexpr float LadderTopReach = 5.0f;
constexpr float ClimbAnimationSpeed = 1.5f;
constexpr float EdgePeriod = 0.2f;
constexpr float EdgeProbeDistance = 4.0f;
constexpr std::uint32_t EdgeGroundMask =
    CollisionGroup::HardEnemies | CollisionGroup::Rocks | CollisionGroup::Tiles;
constexpr std::uint32_t MeetingMask = CollisionGroup::Actors;
const std::string LegsPart = "legs";

fpVector2 gravityDirection(const GameObject& object) {
    return object.gameObjectDefinition().gravityFromRotation ? object.facing : fpVector2(0.0f, 1.0f);
}

bool nearlyZero(float value) { return std::fabs(value) < MovedTolerance; }

void postToMachine(ActorObject& actor, std::string_view input) {
    if (actor.behaviorMachine) actor.behaviorMachine->postEvent(input);
}

} // namespace

ObjectPhysics::ObjectPhysics() { m_found.reserve(16); }

void ObjectPhysics::stepObjectPhysics(GameObjectSimulator& objects, GameObject& object, ObjectStepContext& context) {
    PhysicsSystem* physics = objects.physics();
    if (!physics) return;
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    PhysicalObject& body = object.physicalObject;
    ActorObject* actor =
        object.kind() == GameObjectKind::Actor ? static_cast<ActorObject*>(&object) : nullptr;
    const fpVector2 old = object.getPosition();
    const fpVector2 g = gravityDirection(object);
    body.gravity = object.gravityHold
                       ? fpVector2()
                       : g * (objects.settings().gravity * context.gravityScale * definition.gravityFactor);
    physics->stepObject(body, context.step, true);

    const fpVector2 moved = object.getPosition() - old;
    if (actor) {
        const float fall = g.dot(moved);
        if (actor->climbing == 0 && g.dot(body.velocity) > FallingSpeed && fall > 0.0f)
            actor->fallDistance += fall;
        else
            actor->fallDistance = 0.0f;
    }

    // One resting step may be the top of a bounce; two in a row is rest.
    if (object.roundPosition && body.velocity.isZero()) {
        if (++object.restSteps >= 2) object.setPosition(object.getPosition().rounded());
    } else {
        object.restSteps = 0;
    }

    if (actor && definition.checkOnGround && actor->groundState != 0 &&
        !(nearlyZero(moved.x) && nearlyZero(moved.y)))
        objects.makeNoise(object, actor->running ? NoiseSize::Small : NoiseSize::Tiny);

    if (context.speedLimit > 0.0f) {
        body.velocity.x = std::clamp(body.velocity.x, -context.speedLimit, context.speedLimit);
        body.velocity.y = std::clamp(body.velocity.y, -context.speedLimit, context.speedLimit);
    }
    if (g.dot(body.velocity) > TerminalSpeed) {
        fpVector2 across = body.velocity;
        across.projectOn(fpVector2(-g.y, g.x));
        body.velocity = across + g * TerminalSpeed;
    }

    const Level* level = objects.world().level.get();
    if (body.woken && (definition.forceUpdateIfAwake || (level && level->forceUpdateAll))) objects.forceUpdate(object);
}

void ObjectPhysics::updateActorSenses(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) {
    capRunningSpeed(objects, actor, context.step);
    if (actor.climbing != 0) holdOnLadderTop(objects, actor);

    const std::string& bodyPart = actor.definition().animationState;
    if (actor.climbing == 0) {
        if (actor.groundState == 0 && actor.wallSide == 0) {
            actor.sendAnimationInput("jump_fall", bodyPart);
            actor.sendAnimationInput("hide", LegsPart);
        } else if (actor.groundState != 0 && context.previousGround == 0) {
            actor.sendAnimationInput("land", bodyPart);
            actor.sendAnimationInput("idle", LegsPart);
        }
    } else {
        const float climbSpeed = actor.physicalObject.velocity.y;
        actor.sendAnimationInput(climbSpeed < 0.0f ? "ladder_up" : "ladder_down", bodyPart);
        actor.sendAnimationInput("hide", LegsPart);
        if (!(actor.animationRecoveryDuration > 0.0f))
            actor.animationSpeed = climbSpeed != 0.0f ? ClimbAnimationSpeed : 0.0f;
    }

    if (actor.behaviorMachine && actor.groundState != 0 && !nearlyZero(actor.physicalObject.velocity.x)) {
        feelEdge(objects, actor);
        feelNeighbours(objects, actor);
    }
    actor.jumpPressed = false;
    actor.moveVector = fpVector2();
}

void ObjectPhysics::updateCamera(GameObjectSimulator& objects, float step) { zor::updateCamera(objects.world(), step); }

void ObjectPhysics::capRunningSpeed(GameObjectSimulator& objects, ActorObject& actor, float step) {
    const ActorDefinition& definition = actor.definition();
    fpVector2& velocity = actor.physicalObject.velocity;
    float limit = definition.walkSpeed;
    if (definition.checkOnGround) {
        const float maxRunSpeed = objects.settings().maxRunSpeed;
        if (actor.running && actor.groundState != 0)
            actor.groundSpeed = std::min(std::max(std::fabs(velocity.x), definition.walkSpeed), maxRunSpeed);
        else if (!actor.running && actor.groundSpeed > definition.walkSpeed)
            actor.groundSpeed -= RunCapFallRate * step;
        if (actor.groundSpeed > definition.walkSpeed) limit = actor.groundSpeed;
        if (actor.groundState == 0) limit *= AirCapFactor;
    }
    if (limit > 0.0f && std::fabs(velocity.x) > limit) velocity.x = std::copysign(limit, velocity.x);
}

void ObjectPhysics::holdOnLadderTop(GameObjectSimulator& objects, ActorObject& actor) {
    const auto& bodies = actor.physicalObject.bodies();
    if (bodies.empty()) return;
    fpRect reach = bodies.front().getBounds();
    reach.h += LadderTopReach;
    PhysicalObject* ladder = objects.physics()->findNearestOverlap(reach, CollisionGroup::Ladders);
    if (!ladder) return;
    const float top = ladder->getBounds().y;
    const fpVector2 position = actor.getPosition();
    if (!(top > position.y)) return;
    actor.setPosition({position.x, top});
    actor.physicalObject.velocity.y = std::max(actor.physicalObject.velocity.y, 0.0f);
    actor.groundState = 2;
}

void ObjectPhysics::feelEdge(GameObjectSimulator& objects, ActorObject& actor) {
    if (actor.edgeTimer > 0.0f || actor.physicalObject.bodies().empty()) return;
    actor.edgeTimer += EdgePeriod;
    const fpRect bounds = actor.physicalObject.bodies().front().getBounds();
    const float x = actor.physicalObject.velocity.x <= 0.0f ? bounds.x - EdgeProbeDistance
                                                             : bounds.x + bounds.w + EdgeProbeDistance;
    const fpRect probe(x, bounds.y + bounds.h + EdgeProbeDistance, 1.0f, 1.0f);
    if (!objects.physics()->testRect(probe, EdgeGroundMask)) postToMachine(actor, "atEdge");
}

void ObjectPhysics::feelNeighbours(GameObjectSimulator& objects, ActorObject& actor) {
    if (actor.meetTimer > 0.0f || actor.physicalObject.bodies().empty()) return;
    // A runner looks further ahead, and more often.
    const float width = actor.runHeld ? 8.0f : 1.0f;
    actor.meetTimer += actor.runHeld ? 0.1f : 0.2f;
    const fpRect bounds = actor.physicalObject.bodies().front().getBounds();
    const float x = actor.physicalObject.velocity.x <= 0.0f ? bounds.x - width + 1.0f : bounds.x + bounds.w - 1.0f;
    m_found.clear();
    objects.physics()->queryRect(fpRect(x, bounds.y, width, bounds.h), MeetingMask, m_found);
    const std::uint32_t enemies = actor.definition().enemies;
    for (PhysicalObject* found : m_found) {
        Entity* owner = found->ownerEntity;
        if (!owner || owner == &actor || owner->type() != EntityType::GameObject) continue;
        const auto& other = static_cast<const GameObject&>(*owner);
        if (other.kind() == GameObjectKind::Actor &&
            (static_cast<const ActorObject&>(other).definition().allyGroup & enemies) != 0)
            postToMachine(actor, "metEnemy");
        postToMachine(actor, "metSomeone");
    }
}

} // namespace zor
