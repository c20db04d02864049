#pragma once
// Small shared pieces of attacks and blasts.

#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicalObject.h"

#include <cmath>

namespace zor {

// Null when the object belongs to no actor.
inline ActorObject* actorOwner(const PhysicalObject* found) {
    Entity* owner = found ? found->ownerEntity : nullptr;
    if (!owner || owner->type() != EntityType::GameObject) return nullptr;
    auto& object = static_cast<GameObject&>(*owner);
    return object.kind() == GameObjectKind::Actor ? &static_cast<ActorObject&>(object) : nullptr;
}

// An offset given for an object facing right, in world orientation: turned by the facing
// with CanRotate, else mirrored while the object faces left.
inline fpVector2 orientedOffset(const GameObject& object, const fpVector2& offset) {
    if (object.gameObjectDefinition().canRotate) {
        const float angle = std::atan2(object.facing.y, object.facing.x);
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        return {offset.x * c - offset.y * s, offset.x * s + offset.y * c};
    }
    return {object.facing.x < 0.0f ? -offset.x : offset.x, offset.y};
}

// Hit points at or below this count as none for a knockback.
constexpr float KnockbackMinimumHitPoints = 0.00001f;

} // namespace zor
