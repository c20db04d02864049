// Settling a freshly placed object: the sweep along its settling direction and, for actors
// placed with rejection, the checks that refuse crowded or unsupported placements.

#include "game/simulation/GameObjectSimulator.h"

#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/physics/PhysicsSystem.h"

#include "game/definitions/NameEnumerations.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace zor {

namespace {

// The groups a placement with rejection may not crowd, besides the actor's own.
constexpr std::uint32_t CrowdedGroups = CollisionGroup::Enemies | CollisionGroup::HardEnemies | CollisionGroup::Pools;
constexpr std::uint32_t SupportGroups = CollisionGroup::Enemies | CollisionGroup::HardEnemies;
// What an arrival stands in and on: the terrain.
constexpr std::uint32_t TerrainGroups = CollisionGroup::Tiles | CollisionGroup::Bounds;
// How many cells around its arrival point an arrival looks for a safe spot.
constexpr std::int32_t ArrivalSearchCells = 16;

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

// Cell offsets within the search square, nearest first; ties in a fixed order, so the
// choice is the same in every run.
const std::vector<iVector2>& arrivalSearchOrder() {
    static const std::vector<iVector2> order = [] {
        std::vector<iVector2> offsets;
        for (std::int32_t dy = -ArrivalSearchCells; dy <= ArrivalSearchCells; ++dy)
            for (std::int32_t dx = -ArrivalSearchCells; dx <= ArrivalSearchCells; ++dx) offsets.emplace_back(dx, dy);
        std::stable_sort(offsets.begin(), offsets.end(), [](const iVector2& a, const iVector2& b) {
            return a.x * a.x + a.y * a.y < b.x * b.x + b.y * b.y;
        });
        return offsets;
    }();
    return order;
}

// The longest fall, in pixels, whose damage leaves the actor alive (the damage rule of a
// landing); infinite when no fall can kill it.
float survivableFall(const ActorObject& actor) {
    const ActorDefinition& definition = actor.definition();
    if (definition.fallDamageIgnored) return std::numeric_limits<float>::infinity();
    const float room = actor.hitPoints - definition.fallDamageMinimum;
    if (!(room > 0.0f)) return std::max(definition.fallDistance - 1.0f, 1.0f);
    if (!(definition.fallDamagePerDistance > 0.0f)) return std::numeric_limits<float>::infinity();
    // A pixel short of the fall that would take the last hit point.
    return definition.fallDistance + room / definition.fallDamagePerDistance * TileSize - 1.0f;
}

} // namespace

bool GameObjectSimulator::settleArrivingActor(ActorObject& actor, float distance) {
    bool placed = true;
    const float safeFall = survivableFall(actor);
    if (m_physics && std::isfinite(safeFall)) {
        const fpRect body = firstBodyBounds(actor);
        const auto groundAt = [&](const fpVector2& offset) {
            return m_physics->testRect(fpRect(body.x + offset.x, body.bottom() + offset.y, body.w, safeFall),
                                       TerrainGroups);
        };
        const auto freeAt = [&](const fpVector2& offset) {
            // A hair inside the body, so that a floor it touches does not count as inside it.
            return !m_physics->testRect(
                fpRect(body.x + offset.x + 0.5f, body.y + offset.y + 0.5f, body.w - 1.0f, body.h - 1.0f), TerrainGroups);
        };
        if (!groundAt(fpVector2())) {
            placed = false;
            for (const iVector2& cells : arrivalSearchOrder()) {
                const fpVector2 offset(float(cells.x) * TileSize, float(cells.y) * TileSize);
                if (!freeAt(offset) || !groundAt(offset)) continue;
                actor.setPosition(actor.getPosition() + offset);
                placed = true;
                break;
            }
        }
    }
    settleSpawnedActor(actor, distance, false);
    return placed;
}

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
