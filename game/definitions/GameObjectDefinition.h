#pragma once
// The part that actor, projectile and resource definitions share; never registered by itself.

#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "Framework/core/math/Rect.h"
#include "game/definitions/VisualAttachment.h"

namespace zor {

// One beam carried by a game object: a beam definition's name and its angle.
struct AttachedBeam {
    std::string definition;
    float angle = 0.0f; // radians
};

struct GameObjectDefinition {
    std::string name;
    std::string sprite;
    bool playAllFrames = false;
    bool roundSpritePosition = false;
    float spriteScale = 1.0f;
    std::int32_t renderPriority = 1000;
    bool forceUpdateVisualization = false;
    fpRect collisionBox; // pixels, relative to the object
    std::uint32_t collisionGroup = 0;
    bool collisionSensor = false;
    std::uint32_t collideAgainst = 0;
    bool platformCollision = false;
    bool sweepMove = true;
    bool awakeAtStart = true;
    bool updatePhysics = true;
    bool canSleep = false;
    bool wakeNeighboursOnMove = false;
    bool weightPressure = true;
    bool forceUpdateIfAwake = false;
    bool forceUpdateOnCreation = false;
    bool checkOnGround = false;
    bool roundPosition = false;
    float randomWakeTime = 0.0f;
    VisualAttachment light;
    float gravityFactor = 1.0f;
    float bounciness = 0.0f;
    float groundFriction = 0.0f;
    float wallFriction = 0.0f;
    float linearAirResistance = 0.0f;
    float quadraticAirResistance = 0.0f;
    bool gravityFromRotation = false;
    bool highQualityIntegration = false;
    bool canRotate = false;
    bool autoFacing = true;
    bool rotateToFace = false;
    bool randomDirection = false;
    float softLandingSpeed = 0.0f;
    std::string softLandingSound;
    std::string collideSound;
    float collideSoundTime = 0.0f;
    std::string headBumpSound;
    bool headBumpDamage = false;
    std::string maxCountGroup;
    std::string mapIcon;
    bool beamsEnabled = true;
    float beamsForcedUpdateTime = 0.0f;
    // Beams of the definition follow those of its template.
    std::vector<AttachedBeam> beams;

    // Reads the game-object keys of a definition element; the actor, projectile and
    // resource readers call it first. "Name" is taken from the element even when absent
    // (giving the empty name); every other absent key keeps its value.
    void read(const pugi::xml_node& element);
};

} // namespace zor
