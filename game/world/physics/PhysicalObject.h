#pragma once
// The physical part of an entity: its bodies (a collision group, the groups it collides
// against and a shape each) and its motion state. The record is embedded in game objects,
// shape objects and exits, and pooled on its own when a beam owns one. Stepping, sweeps
// and the broadphase are the physics system's.

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"
#include "Framework/core/memory/PooledObject.h"
#include "game/world/physics/Shapes.h"

#include <cstdint>
#include <vector>

namespace zor {

class Entity;
class PhysicalObject;

struct PhysicalBody {
    PhysicalObject* owner = nullptr;
    // 0: never entered in the broadphase, so never found by others, though it still
    // collides as a mover.
    std::uint32_t group = 0;
    std::uint32_t mask = 0;
    ShapePtr shape;
    // Contacts are reported but never block.
    bool sensor = false;

    fpRect getBounds() const { return shape->getBounds(); }
};

class PhysicalObject : public PooledObject {
public:
    PhysicalObject() = default;
    PhysicalObject(const PhysicalObject&) = delete;
    PhysicalObject& operator=(const PhysicalObject&) = delete;

    // Takes the body as given; its owner becomes this object and its shape is placed at
    // the object's position.
    void addBody(PhysicalBody body);
    // Stores the position and moves every body's shape there.
    void setPosition(const fpVector2& position);
    const fpVector2& position() const { return m_position; }
    // The union of the bodies' shape bounds; all zeros without bodies.
    fpRect getBounds() const;
    const std::vector<PhysicalBody>& bodies() const { return m_bodies; }

    bool awake = true;
    bool woken = false;
    bool canSleep = false;
    float sleepTimer = 0.0f;
    fpVector2 restPosition;
    // Groups woken around the object when it starts moving.
    std::uint32_t wakeMask = 0;
    Entity* ownerEntity = nullptr;
    fpVector2 velocity;
    fpVector2 acceleration;
    fpVector2 gravity;
    // Velocity change collected since the last step.
    fpVector2 impulse;
    bool highQualityIntegration = false;
    // Clear: sweeps ignore the object's bodies.
    bool collidable = true;
    float linearAirResistance = 0.0f;
    float quadraticAirResistance = 0.0f;
    float groundFriction = 1.0f;
    float wallFriction = 1.0f;
    float bounciness = 0.0f;

private:
    std::vector<PhysicalBody> m_bodies;
    fpVector2 m_position;
};

} // namespace zor
