#pragma once
// The entities with a typed definition that take part in the physics: actors (the player,
// enemies, townsfolk, barrels ...), resources and projectiles. A game object stands where
// its physical object is.
//
// These records hold what the World's spawners and their callers set; the simulation adds
// its per-object state as it grows.

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/entity/Entity.h"
#include "game/world/physics/PhysicalObject.h"

#include <memory>
#include <string>
#include <vector>

namespace zor {

enum class GameObjectKind : std::int32_t { Actor = 0, Resource = 1, Projectile = 2 };

// The bits of an actor's busy flags; any set bit locks the player's controls.
namespace BusyFlag {
constexpr std::uint32_t Script = 1;
constexpr std::uint32_t Screen = 2;
constexpr std::uint32_t Podium = 4;
constexpr std::uint32_t CameraPan = 8;
constexpr std::uint32_t Teleport = 16;
constexpr std::uint32_t Sale = 32;
} // namespace BusyFlag

class GameObject : public Entity {
public:
    fpVector2 getPosition() const override { return physicalObject.position(); }
    void setPosition(const fpVector2& position) override { physicalObject.setPosition(position); }
    // Clears the timed offset.
    void reset() override;

    GameObjectKind kind() const { return m_kind; }
    const GameObjectDefinition& gameObjectDefinition() const { return *m_definition; }

    // Where the object is drawn and looked at relative to its position while a timed
    // offset runs out: -vector x remaining / duration; zero once it has run out.
    fpVector2 decayingOffset() const;
    // The centre of the first body's bounds.
    fpVector2 center() const;

    PhysicalObject physicalObject;
    // The direction the object faces: unit length, or (+-1, 0) for objects that only turn
    // left and right.
    fpVector2 facing{1.0f, 0.0f};
    fpVector2 timedOffset;
    float timedOffsetRemaining = 0.0f;
    float timedOffsetDuration = 0.0f;
    bool platformCollision = false;
    bool roundPosition = false;
    std::int32_t lightId = 0;  // the object's own light, 0 for none
    float lightScale = 1.0f;
    float lightStrength = 1.0f;
    bool beamsEnabled = true;
    std::vector<std::int32_t> beamIds;
    // Playback speed factor of the object's animations.
    float animationSpeed = 1.0f;
    // Clear: neither shown nor updated.
    bool visible = true;

protected:
    GameObject(std::shared_ptr<const GameObjectDefinition> definition, GameObjectKind kind);

private:
    GameObjectKind m_kind;
    std::shared_ptr<const GameObjectDefinition> m_definition;
};

class ActorObject final : public GameObject {
public:
    // Hit points from the definition; water and light time start at 0.
    explicit ActorObject(std::shared_ptr<const ActorDefinition> definition);

    // The game-object reset; a pool starts full of water.
    void reset() override;

    const ActorDefinition& definition() const { return *m_definition; }

    float hitPoints;
    float water = 0.0f;
    float lightTime = 0.0f;  // seconds
    std::int32_t weaponIndex = 0;
    std::int32_t toolIndex = -1;  // -1: no tool
    std::uint32_t busyFlags = 0;  // BusyFlag bits
    std::string constantSound;

private:
    std::shared_ptr<const ActorDefinition> m_definition;
};

class Projectile final : public GameObject {
public:
    explicit Projectile(std::shared_ptr<const ProjectileDefinition> definition);

    const ProjectileDefinition& definition() const { return *m_definition; }

    std::int32_t ownerId = 0;  // 0: nobody's
    float fuzeTime;            // seconds, from the definition

private:
    std::shared_ptr<const ProjectileDefinition> m_definition;
};

class ResourceObject final : public GameObject {
public:
    explicit ResourceObject(std::shared_ptr<const ResourceDefinition> definition);

    const ResourceDefinition& definition() const { return *m_definition; }

    float remainingLifeTime;  // seconds, from the definition unless the spawner says otherwise

private:
    std::shared_ptr<const ResourceDefinition> m_definition;
};

// Turns a freshly constructed, reset and placed game object into a physical one from its
// definition: the physics parameters, one body with the definition's collision box
// (turned with the facing for objects that rotate) and the object's wake and sleep flags.
void setupGameObject(GameObject& object);

} // namespace zor
