#pragma once
// The physical part of an entity: its bodies (a collision group, the groups it collides
// against and a shape each) and its motion state. The record is embedded in game objects,
// shape objects and exits, and pooled on its own (in the locked pools, as the entities)
// when a beam owns one. Stepping, sweeps
// and queries are the PhysicsSystem's.
//
// An object takes part in a level's physics from PhysicsSystem::placeObject until
// PhysicsSystem::removeObject (or its destruction): meanwhile it shares the level's
// CellSystem, and every position change moves its bodies' registrations there.

#include "game/world/physics/CellSystem.h"
#include "game/world/physics/Shapes.h"

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"
#include "Framework/core/memory/PooledObject.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zor {

class Entity;
class PhysicalObject;

// One collision shape of an object. `group` (inherited) is one CollisionGroup bit of the
// definitions (game/definitions/NameEnumerations.h), or 0: a body of group 0 is never
// listed in the broadphase, so others never find it, though it still collides as a mover.
// A group above bit 18 cannot be listed and is refused, with a warning, when the object is
// placed. Set the fields before PhysicalObject::addBody; bodies are fixed from then on, but
// for a rectangle's size (PhysicalObject::setBodyRect).
class PhysicalBody final : public CellObject {
public:
    fpRect getBounds() const override { return shape->getBounds(); }

    PhysicalObject* owner = nullptr;
    // The groups it collides against.
    std::uint32_t mask = 0;
    ShapePtr shape;
    // Contacts are reported but never block.
    bool sensor = false;
};

class PhysicalObject : public LockedPooledObject {
public:
    PhysicalObject() = default;
    PhysicalObject(const PhysicalObject&) = delete;
    PhysicalObject& operator=(const PhysicalObject&) = delete;
    // Leaves the broadphase when still placed, so no cell keeps a body that is gone.
    ~PhysicalObject();

    // Takes the body as given (its shape must be set); its owner becomes this object, its
    // shape is placed at the object's position and, when the object is placed in a level,
    // it is listed there.
    void addBody(PhysicalBody body);
    // Stores the position, moves every body's shape there and, when the object is placed,
    // moves the registrations of the bodies of non-zero groups.
    void setPosition(const fpVector2& position);
    const fpVector2& position() const { return m_position; }
    // The union of the bodies' shape bounds; all zeros without bodies.
    fpRect getBounds() const;
    const std::vector<PhysicalBody>& bodies() const { return m_bodies; }
    // Every body takes the group and mask; a placed object is listed again under them.
    void regroupBodies(std::uint32_t group, std::uint32_t mask);
    // The body's rectangle, relative to the object's position, becomes `rectangle`; a placed
    // object is listed again under the new bounds. Bodies of other shapes stay as they are.
    void setBodyRect(std::size_t index, const fpRect& rectangle);
    // The level's broadphase while the object is placed; null otherwise.
    const std::shared_ptr<CellSystem>& cellSystem() const { return m_cellSystem; }

    // Stepped only while set.
    bool awake = true;
    // Set whenever something wakes the object; the gameplay reads and clears it.
    bool woken = false;
    bool canSleep = false;
    // Seconds spent within 0.1 px of restPosition.
    float sleepTimer = 0.0f;
    fpVector2 restPosition;
    // Groups woken around the object when it starts moving.
    std::uint32_t wakeMask = 0;
    Entity* ownerEntity = nullptr;
    fpVector2 velocity;
    // Movement acceleration; the gameplay sets it.
    fpVector2 acceleration;
    // Set by the gameplay every step.
    fpVector2 gravity;
    // Velocity change collected since the last step, added at the start of the next.
    fpVector2 impulse;
    // Runge-Kutta integration with air resistance instead of Euler without.
    bool highQualityIntegration = false;
    // Clear: sweeps ignore the object's bodies and the object moves through everything.
    bool collidable = true;
    float linearAirResistance = 0.0f;
    float quadraticAirResistance = 0.0f;
    // Share of the sliding speed removed at a floor (and a wall) contact: 1 stops it.
    float groundFriction = 1.0f;
    float wallFriction = 1.0f;
    // Above 0: the object bounces, keeping this share of its reflected velocity.
    float bounciness = 0.0f;

private:
    friend class PhysicsSystem;
    // Lists every body of a non-zero group; only the PhysicsSystem places and removes.
    void enterCellSystem(std::shared_ptr<CellSystem> cellSystem);
    void leaveCellSystem();
    void registerBodies();

    std::vector<PhysicalBody> m_bodies;
    fpVector2 m_position;
    std::shared_ptr<CellSystem> m_cellSystem;
};

} // namespace zor
