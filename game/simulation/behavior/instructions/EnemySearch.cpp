#include "game/simulation/behavior/instructions/EnemySearch.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/definitions/NameEnumerations.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Angle.h"

#include <cmath>
#include <vector>

namespace zor {

namespace {

// Shared by every actor; emptied before each query.
std::vector<PhysicalObject*>& foundBodies() {
    static std::vector<PhysicalObject*> found;
    return found;
}

const ActorObject* actorOwning(const PhysicalObject& body) {
    const Entity* owner = body.ownerEntity;
    if (!owner || owner->type() != EntityType::GameObject) return nullptr;
    const auto* object = static_cast<const GameObject*>(owner);
    return object->kind() == GameObjectKind::Actor ? static_cast<const ActorObject*>(object) : nullptr;
}

bool isCannon(const ActorObject& actor) { return !actor.definition().cannonName.empty(); }

fpVector2 boundsCentre(const GameObject& object) {
    const fpRect bounds = firstBodyBounds(object);
    return {bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
}

bool mayTarget(const ActorObject& actor, const ActorObject& candidate) {
    const ActorDefinition& definition = actor.definition();
    if ((candidate.definition().allyGroup & definition.enemies) == 0) return false;
    if (definition.seenBeforeAttackCheck && !actor.hasBeenSeen && !candidate.hasBeenSeen) return false;
    return candidate.busyFlags == 0;
}

} // namespace

MachineInstruction findEnemyInRect(ActorObject& actor, BehaviorData& data, const fpRect& rect) {
    const bool cannon = isCannon(actor);
    const fpVector2 origin = cannon ? actor.getPosition() + actor.projectileSpawnOffset() : boundsCentre(actor);
    const float facingAngle = std::atan2(actor.facing.y, actor.facing.x);
    const float arc = actor.definition().cannonMaximumAngle;

    std::vector<PhysicalObject*>& found = foundBodies();
    found.clear();
    if (data.physics) data.physics->queryBodies(rect, CollisionGroup::Actors, found);
    const ActorObject* nearest = nullptr;
    float nearestSquared = 0.0f;
    for (const PhysicalObject* body : found) {
        const ActorObject* candidate = actorOwning(*body);
        if (!candidate || !mayTarget(actor, *candidate)) continue;
        const fpVector2 d = boundsCentre(*candidate) - origin;
        if (cannon && !angleInArc(std::atan2(d.y, d.x), facingAngle, arc)) continue;
        const float squared = d.x * d.x + d.y * d.y;
        // The first found keeps a tie.
        if (!nearest || squared < nearestSquared) {
            nearest = candidate;
            nearestSquared = squared;
        }
    }
    actor.targetId = nearest ? nearest->id() : 0;
    post(actor, nearest ? "foundEnemy" : "notFoundEnemy");
    return MachineInstruction::Finished;
}

} // namespace zor
