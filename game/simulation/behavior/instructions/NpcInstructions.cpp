#include "game/simulation/behavior/InstructionRegistrars.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/NPCBehaviorData.h"

#include "Framework/core/math/Randomizer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor {

namespace {

// Keeps a drawn walk or pause from being 0, which would read as the other phase.
constexpr float ShortestPhase = std::numeric_limits<float>::epsilon();

bool playerNear(const ActorObject& actor, const ActorObject& player, const NPCBehaviorData& npc) {
    if (npc.noticeDistance == 0.0f) return false;
    const fpVector2 offset = player.getPosition() - actor.getPosition();
    return offset.x * offset.x + offset.y * offset.y < npc.noticeDistance * npc.noticeDistance;
}

float signOf(float value) { return value > 0.0f ? 1.0f : value < 0.0f ? -1.0f : 0.0f; }

float homeCentreX(const NPCBehaviorData& npc) { return npc.homeArea.x + npc.homeArea.w / 2.0f; }

void startPause(ActorObject& actor, NPCBehaviorData& npc, Randomizer& random) {
    npc.patrolTimer = -std::max(random.nextFloatRange(npc.minPause, npc.maxPause), ShortestPhase);
    actor.moveVector = fpVector2();
}

// Outside its home area and facing away from its centre.
bool headsAway(const ActorObject& actor, const NPCBehaviorData& npc) {
    if (rectInside(firstBodyBounds(actor), npc.homeArea)) return false;
    const bool centreToTheRight = homeCentreX(npc) > actor.getPosition().x;
    return actor.facing.x >= 0.0f ? !centreToTheRight : centreToTheRight;
}

void walkOn(ActorObject& actor, NPCBehaviorData& npc, const BehaviorData& data) {
    actor.moveVector = fpVector2(actor.facing.x, 0.0f);
    npc.patrolTimer -= data.stepTime();
    if (npc.patrolTimer <= 0.0f || headsAway(actor, npc)) startPause(actor, npc, data.world->random());
}

// After a pause the townsperson turns about and pauses again, or walks: back toward the
// centre when it strays near the edge of its area, else whichever way chance says.
void endPause(ActorObject& actor, NPCBehaviorData& npc, Randomizer& random) {
    if (npc.turnChance > random.nextFloat()) {
        actor.facing.x = -actor.facing.x;
        npc.patrolTimer = -random.nextFloatRange(npc.minPause, npc.maxPause);
        return;
    }
    npc.patrolTimer = std::max(random.nextFloatRange(npc.minWalk, npc.maxWalk), ShortestPhase);
    const float centre = homeCentreX(npc);
    const float x = actor.getPosition().x;
    const float roam = npc.homeArea.w / 2.0f - 2.0f * actor.definition().collisionBox.w;
    if (std::fabs(centre - x) > roam)
        actor.facing.x = centre > x ? 1.0f : -1.0f;
    else
        actor.facing.x = random.nextBool() ? 1.0f : -1.0f;
}

MachineInstruction patrol(ActorObject& actor, BehaviorData& data) {
    const ActorObject* player = playerOf(data);
    if (!player) return MachineInstruction::Running;
    NPCBehaviorData& npc = actor.npcBehaviorData();
    if (playerNear(actor, *player, npc)) {
        post(actor, "foundCogsby");
        return MachineInstruction::Finished;
    }
    if (npc.patrolTimer >= 0.0f) {
        walkOn(actor, npc, data);
        return MachineInstruction::Running;
    }
    actor.moveVector = fpVector2();
    npc.patrolTimer += data.stepTime();
    if (npc.patrolTimer >= 0.0f) endPause(actor, npc, data.world->random());
    return MachineInstruction::Running;
}

void arrived(ActorObject& actor) {
    actor.moveVector = fpVector2();
    post(actor, "atTarget");
}

MachineInstruction walkToEntity(ActorObject& actor, NPCBehaviorData& npc, BehaviorData& data) {
    const GameObject* target = data.world->findGameObject(std::int32_t(npc.targetId));
    const bool gone = !target || (target->kind() == GameObjectKind::Actor &&
                                  !static_cast<const ActorObject*>(target)->isAlive());
    if (gone) {
        npc.targetId = 0;
        arrived(actor);
        return MachineInstruction::Running;
    }
    const float dx = target->getPosition().x - actor.getPosition().x;
    if (std::fabs(dx) >= npc.arrivalDistance) {
        actor.moveVector = fpVector2(signOf(dx), 0.0f);
        data.keepActive = true;
        return MachineInstruction::Running;
    }
    actor.moveVector = fpVector2();
    actor.facing.x = dx >= 0.0f ? 1.0f : -1.0f;
    if (npc.releaseOnArrival) {
        npc.targetId = 0;
        post(actor, "atTarget");
    } else {
        // Stays by its target, facing it, wherever the camera is.
        data.keepActive = true;
    }
    return MachineInstruction::Running;
}

MachineInstruction walkToX(ActorObject& actor, NPCBehaviorData& npc, BehaviorData& data) {
    const float dx = npc.targetX - actor.getPosition().x;
    if (npc.walkDirection == 0.0f) npc.walkDirection = signOf(dx);
    if (dx * npc.walkDirection > 0.0f) {
        actor.moveVector = fpVector2(npc.walkDirection, 0.0f);
        data.keepActive = true;
        return MachineInstruction::Running;
    }
    // Reached or passed.
    npc.walkDirection = 0.0f;
    arrived(actor);
    return MachineInstruction::Running;
}

MachineInstruction walkTo(ActorObject& actor, BehaviorData& data) {
    NPCBehaviorData& npc = actor.npcBehaviorData();
    return npc.targetId != 0 ? walkToEntity(actor, npc, data) : walkToX(actor, npc, data);
}

MachineInstruction waitOnCogsby(ActorObject& actor, BehaviorData& data) {
    const ActorObject* player = playerOf(data);
    if (!player) return MachineInstruction::Running;
    NPCBehaviorData& npc = actor.npcBehaviorData();
    if (playerNear(actor, *player, npc)) {
        actor.moveVector = fpVector2();
        actor.facing.x = actor.getPosition().x < player->getPosition().x ? 1.0f : -1.0f;
        return MachineInstruction::Running;
    }
    // A Patrol that follows starts with a pause.
    npc.patrolTimer = -(npc.minPause + (npc.maxPause - npc.minPause) * data.world->random().nextFloat());
    post(actor, "lostCogsby");
    return MachineInstruction::Running;
}

MachineInstruction stop(ActorObject& actor, BehaviorData&) {
    actor.moveVector = fpVector2();
    return MachineInstruction::Running;
}

} // namespace

void registerNpcInstructions(EnemySimulator& simulator) {
    simulator.registerInstruction("Patrol", patrol);
    simulator.registerInstruction("WalkTo", walkTo);
    simulator.registerInstruction("WaitOnCogsby", waitOnCogsby);
    simulator.registerInstruction("Stop", stop);
}

} // namespace zor
