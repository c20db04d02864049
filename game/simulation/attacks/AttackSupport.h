#pragma once
// Small shared pieces of attacks and blasts.

#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicalObject.h"

namespace zor {

// Null when the object belongs to no actor.
inline ActorObject* actorOwner(const PhysicalObject* found) {
    Entity* owner = found ? found->ownerEntity : nullptr;
    if (!owner || owner->type() != EntityType::GameObject) return nullptr;
    auto& object = static_cast<GameObject&>(*owner);
    return object.kind() == GameObjectKind::Actor ? &static_cast<ActorObject&>(object) : nullptr;
}

// Hit points at or below this count as none for a knockback.
constexpr float KnockbackMinimumHitPoints = 0.00001f;

} // namespace zor
