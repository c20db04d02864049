#pragma once
// The entities with a typed definition that take part in the physics: actors (the player,
// enemies, townsfolk, barrels ...), resources and projectiles. A game object stands where
// its physical object is.
//
// These records hold what set-up, the spawners and the save records fill; the simulation
// adds its per-object state as it grows.

#include "game/definitions/GameObjectDefinition.h"
#include "game/world/entity/Entity.h"
#include "game/world/physics/PhysicalObject.h"

#include <cstdint>
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

// How the save record stores the facing.
enum class FacingCode : std::uint8_t {
    Unchanged = 0,  // the object turns by itself (AutoFacing); any unknown code reads so
    Left = 1,
    Right = 2,
    Angle = 3,      // followed by the angle as a float (CanRotate)
};

class GameObject : public Entity {
public:
    fpVector2 getPosition() const override { return physicalObject.position(); }
    void setPosition(const fpVector2& position) override { physicalObject.setPosition(position); }
    // The position record, then the facing code (and for CanRotate the angle). A record cut
    // short, or with a coordinate or angle that is not finite, sets the reader's overflow
    // flag; the restoring code then discards the object.
    void load(ByteReader& reader, const StringTable& names) override;
    void save(ByteWriter& writer, StringTableDynamic& names) const override;
    // Clears the timed offset.
    void reset() override;

    GameObjectKind kind() const { return m_kind; }
    const GameObjectDefinition& gameObjectDefinition() const { return *m_definition; }

    // Where the object is drawn and looked at relative to its position while a timed
    // offset runs out: -vector x remaining / duration; zero once it has run out.
    fpVector2 decayingOffset() const;
    // An offset given for an object facing right, in world orientation: turned by the facing
    // with CanRotate, else mirrored while the object faces left.
    fpVector2 orientOffset(const fpVector2& offset) const;
    // The centre of the first body's bounds.
    fpVector2 center() const;

    // The simulation's frame number at the object's last update.
    std::int32_t lastUpdateFrame = 0;
    // Scripts address objects by it; empty for most.
    std::string name;
    PhysicalObject physicalObject;
    // The direction the object faces: unit length, or (+-1, 0) for objects that only turn
    // left and right.
    fpVector2 facing{1.0f, 0.0f};
    fpVector2 timedOffset;
    float timedOffsetRemaining = 0.0f;
    float timedOffsetDuration = 0.0f;
    float noiseCooldown = 0.0f;  // seconds
    // The amount of the object's last noise: only a louder one breaks the cooldown.
    float lastNoiseAmount = 0.0f;
    // Cues the audio plays once at the object, then empties.
    std::vector<std::string> pendingSounds;
    float secondTimer = 0.0f;    // seconds; run down by the object update
    // Seconds an object that comes near the view out of the camera's sight waits before it
    // is updated.
    float wakeDelay = 0.0f;
    // Raised to have a hidden object updated once; the object update clears it.
    bool updateOnce = false;
    // Seconds the object stays updated wherever the camera is.
    float forcedUpdateTime = 0.0f;
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
    bool hasBeenSeen = false;
    bool onGround = false;
    // Seconds; set-up starts it at a random value so that objects of one kind do not act
    // in step.
    float randomCountdown = 0.0f;
    // While raised, the physics step applies no gravity.
    bool gravityHold = false;
    std::int32_t restSteps = 0;  // steps in a row ending with zero velocity

protected:
    GameObject(std::shared_ptr<const GameObjectDefinition> definition, GameObjectKind kind);
    void replaceGameObjectDefinition(std::shared_ptr<const GameObjectDefinition> definition);

private:
    GameObjectKind m_kind;
    std::shared_ptr<const GameObjectDefinition> m_definition;
};

} // namespace zor
