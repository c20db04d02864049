#include "game/simulation/movement/AnimationInputs.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ObjectStepContext.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/ports/UserInterface.h"

#include "game/definitions/NameEnumerations.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/level/PatchSet.h"
#include "game/world/physics/PhysicsSystem.h"
#include "game/world/progress/ItemCountMap.h"

#include <cmath>
#include <limits>

namespace zor {

namespace {

// Below this horizontal speed an actor stands; below the second it is stopped outright.
constexpr float MovingSpeed = 4.0f;
constexpr float CreepSpeed = 0.5f;
constexpr float FirstActivationDelay = 0.5f;  // seconds of a new level
constexpr float ActivationPeriod = 0.2f;
constexpr float TalkReach = 120.0f;  // side of the square searched for townsfolk
const std::string LegsPart = "legs";
const std::string ActivateIndicator = "activate";
const std::string DefaultExitSound = "enter_cave";

bool attacking(const ActorObject& actor) {
    return actor.attackTimer > 0.0f || actor.weaponCooldown > 0.0f || actor.chargeTime > 0.0f;
}

void recoverAnimationSpeed(ActorObject& actor, float step) {
    if (!(actor.animationRecoveryDuration > 0.0f)) return;
    actor.animationRecoveryTime -= step;
    if (actor.animationRecoveryTime > 0.0f) {
        const float progress = 1.0f - actor.animationRecoveryTime / actor.animationRecoveryDuration;
        actor.animationSpeed = progress * progress;
    } else {
        actor.animationRecoveryDuration = 0.0f;
        actor.animationRecoveryTime = 0.0f;
    }
}

// The exit the player overlaps and may use, else the nearest visible townsperson; 0 none.
std::int32_t findActivationTarget(GameObjectSimulator& objects, const ActorObject& player,
                                  std::vector<PhysicalObject*>& scratch) {
    PhysicsSystem& physics = *objects.physics();
    const fpRect bounds = player.physicalObject.bodies().front().getBounds();
    const PhysicalObject* exitBody = physics.findNearestOverlap(bounds, CollisionGroup::Exits);
    if (exitBody && exitBody->ownerEntity && exitBody->ownerEntity->type() == EntityType::Exit) {
        const auto& exit = static_cast<const ExitObject&>(*exitBody->ownerEntity);
        const std::string& item = exit.link->requiredItem;
        if (item.empty() || hasItemAmount(item, objects.world().progress.items, 1)) return exit.id();
    }

    const fpVector2 centre = player.center();
    scratch.clear();
    physics.queryRect(fpRect(centre.x - TalkReach / 2.0f, centre.y - TalkReach / 2.0f, TalkReach, TalkReach),
                      CollisionGroup::Npcs, scratch);
    std::int32_t nearest = 0;
    float nearestDistance = std::numeric_limits<float>::max();
    for (const PhysicalObject* found : scratch) {
        const Entity* owner = found->ownerEntity;
        if (!owner || owner->type() != EntityType::GameObject || !static_cast<const GameObject*>(owner)->visible)
            continue;
        const fpVector2 apart = owner->getPosition() - player.getPosition();
        const float distance = apart.dot(apart);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = owner->id();
        }
    }
    return nearest;
}

void useExit(GameObjectSimulator& objects, ActorObject& player, const ExitObject& exit) {
    const PatchExit& link = *exit.link;
    if (!player.activatePressed && !link.automatic) {
        objects.userInterface().showIndicator(ActivateIndicator, "");
        return;
    }
    player.lookUpRequest = false;
    const std::string& cue = link.useEvent.empty() ? DefaultExitSound : link.useEvent;
    objects.world().soundRequests.push_back(SoundRequest{cue, player.getPosition(), 1.0f});
    objects.owner().requestLevel(link.targetLevel, link.targetEntry, fpVector2());
}

void talkTo(GameObjectSimulator& objects, ActorObject& player, const GameObject& npc) {
    if (!player.activatePressed) {
        objects.userInterface().showIndicator(ActivateIndicator, "");
        return;
    }
    player.lookUpRequest = false;
    player.physicalObject.velocity = fpVector2();
    objects.owner().talkTo(npc.gameObjectDefinition().name);
}

} // namespace

void updateAnimationInputs(GameObjectSimulator& objects, ActorObject& actor, const ObjectStepContext& context) {
    if (actor.animationParts.empty()) return;
    recoverAnimationSpeed(actor, context.step);
    if (actor.climbing != 0) return;

    const ActorDefinition& definition = actor.definition();
    const std::string& body = definition.animationState;
    const bool onGround = actor.groundState != 0;
    float& speedX = actor.physicalObject.velocity.x;
    const float speed = std::fabs(speedX);
    if (speed >= MovingSpeed) {
        actor.sendAnimationInput("move", body);
        actor.sendAnimationInput("attack_side", body);
        if (onGround) actor.sendAnimationInput("walk", LegsPart);
        actor.sendAnimationInput(speed <= definition.walkSpeed ? "walk" : "run", body);
        if (&actor != objects.world().player()) return;
        if (!(actor.weaponCooldown > 0.0f) && !(actor.attackTimer > 0.0f) && onGround) {
            // The legs keep pace with the ground; a walker without a speed plays as is.
            actor.setAnimationSpeed(definition.walkSpeed > 0.0f ? speed / definition.walkSpeed : 1.0f, 0.0f);
            return;
        }
    } else {
        if (speed < CreepSpeed) speedX = 0.0f;
        actor.sendAnimationInput("idle", body);
        if (onGround) actor.sendAnimationInput("idle", LegsPart);
        const std::int32_t aimY = actor.aimDirection.y;
        if (attacking(actor)) {
            actor.sendAnimationInput(aimY < 0 ? "attack_up" : aimY == 0 ? "attack_side" : "attack_down", body);
        } else if (aimY < 0) {
            actor.lookUpRequest = true;
        } else if (aimY > 0 && onGround) {
            actor.sendAnimationInput("look_down", body);
        }
    }
    actor.setAnimationSpeed(1.0f, 0.0f);
}

void updateActivation(GameObjectSimulator& objects, ActorObject& actor, std::vector<PhysicalObject*>& scratch) {
    World& world = objects.world();
    if (&actor != world.player() || !objects.physics() || actor.physicalObject.bodies().empty()) return;
    if (objects.levelTime() < FirstActivationDelay || objects.owner().levelChangePending()) return;
    if (actor.activationTimer <= 0.0f) {
        actor.activationTimer += ActivationPeriod;
        actor.activationTargetId = findActivationTarget(objects, actor, scratch);
    }
    if (actor.activationTargetId == 0 || actor.busyFlags != 0) return;
    const Entity* target = world.findEntity(actor.activationTargetId);
    if (!target) return;
    if (target->type() == EntityType::Exit)
        useExit(objects, actor, static_cast<const ExitObject&>(*target));
    else if (target->type() == EntityType::GameObject)
        talkTo(objects, actor, static_cast<const GameObject&>(*target));
}

} // namespace zor
