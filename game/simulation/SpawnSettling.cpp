// Settling a freshly placed object: the sweep along its settling direction and, for actors
// placed with rejection, the checks that refuse crowded or unsupported placements.

#include "game/simulation/GameObjectSimulator.h"

#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/NameEnumerations.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

// The groups a placement with rejection may not crowd, besides the actor's own.
constexpr std::uint32_t CrowdedGroups = CollisionGroup::Enemies | CollisionGroup::HardEnemies | CollisionGroup::Pools;
constexpr std::uint32_t SupportGroups = CollisionGroup::Enemies | CollisionGroup::HardEnemies;

fpRect firstBodyBounds(const GameObject& object) {
    const std::vector<PhysicalBody>& bodies = object.physicalObject.bodies();
    return bodies.empty() ? fpRect(object.getPosition().x, object.getPosition().y, 0.0f, 0.0f)
                          : bodies.front().getBounds();
}

fpVector2 settlingDirection(const GameObject& object) {
    if (object.kind() != GameObjectKind::Actor) return {0.0f, 1.0f};
    const auto& actor = static_cast<const ActorObject&>(object);
    const ActorDefinition& definition = actor.definition();
    if (definition.gravityFromRotation) return actor.facing;
    if (definition.attachedDirection.x != 0 || definition.attachedDirection.y != 0) return actor.attachedDirection();
    return {0.0f, 1.0f};
}

// A live, not dying actor other than `self`, owning the physical object.
const ActorObject* otherActor(const PhysicalObject* physical, const ActorObject& self) {
    const Entity* owner = physical->ownerEntity;
    if (!owner || owner == &self || !owner->alive() || owner->type() != EntityType::GameObject) return nullptr;
    const auto* object = static_cast<const GameObject*>(owner);
    if (object->kind() != GameObjectKind::Actor) return nullptr;
    const auto* actor = static_cast<const ActorObject*>(object);
    return actor->dying ? nullptr : actor;
}

} // namespace

void GameObjectSimulator::settleSpawnedActor(GameObject& object, float distance, bool reject) {
    if (m_physics) {
        const fpVector2 target = object.getPosition() + settlingDirection(object) * distance;
        m_physics->moveObjectTo(object.physicalObject, target, true, nullptr, true);
    }
    const fpVector2 position = object.getPosition();
    object.setPosition({std::round(position.x), std::round(position.y)});
    if (!reject || object.kind() != GameObjectKind::Actor) return;

    auto& actor = static_cast<ActorObject&>(object);
    if (!crowdsOthers(actor) && !standsWhereItMayNot(actor)) return;
    actor.dying = true;
    actor.physicalObject.awake = false;
    killActor(actor);
}

bool GameObjectSimulator::crowdsOthers(ActorObject& actor) {
    if (!m_physics) return false;
    const ActorDefinition& definition = actor.definition();
    const fpRect body = firstBodyBounds(actor);
    fpRect area = body;
    const float radius = definition.sameTypeRejectionRadius;
    if (radius > 0.0f) {
        const fpVector2 centre(body.x + body.w / 2.0f, body.y + body.h / 2.0f);
        area.unite(fpRect(centre.x - radius, centre.y - radius, 2.0f * radius, 2.0f * radius));
    }
    m_overlapQuery.clear();
    m_physics->queryBodies(area, definition.collisionGroup | CrowdedGroups, m_overlapQuery);
    return std::any_of(m_overlapQuery.begin(), m_overlapQuery.end(), [&](const PhysicalObject* physical) {
        const ActorObject* other = otherActor(physical, actor);
        return other && (rectsOverlap(firstBodyBounds(*other), body) || other->definition().name == definition.name);
    });
}

bool GameObjectSimulator::standsWhereItMayNot(ActorObject& actor) {
    if (!m_physics) return false;
    const ActorDefinition& definition = actor.definition();
    const fpRect body = firstBodyBounds(actor);
    m_overlapQuery.clear();
    m_physics->queryBodies(fpRect(body.x, body.bottom(), body.w, 1.0f), SupportGroups, m_overlapQuery);
    return std::any_of(m_overlapQuery.begin(), m_overlapQuery.end(), [&](const PhysicalObject* physical) {
        const ActorObject* other = otherActor(physical, actor);
        if (!other) return false;
        const bool differentType = other->definition().name != definition.name;
        return (definition.rejectStandingOnDifferentType && differentType) || other->definition().rejectOthersOnTop;
    });
}

} // namespace zor
