#include "game/definitions/GameObjectDefinition.h"

#include "game/definitions/NameEnumerations.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

void GameObjectDefinition::read(const pugi::xml_node& element) {
    name = xmlChildString(element, "Name", "");
    if (const pugi::xml_node spriteNode = element.child("Sprite")) {
        sprite = spriteNode.child_value();
        playAllFrames = xmlAttributeBool(spriteNode, "PlayAll", playAllFrames);
        roundSpritePosition = xmlAttributeBool(spriteNode, "RoundPosition", roundSpritePosition);
        spriteScale = xmlAttributeFloat(spriteNode, "Scale", spriteScale);
    }
    renderPriority = xmlChildInt(element, "RenderPriority", renderPriority);
    forceUpdateVisualization = xmlChildBool(element, "ForceUpdateVisualization", forceUpdateVisualization);
    collisionBox = xmlChildCast(element, "CollisionBox", collisionBox);
    if (const char* text = xmlChildText(element, "CollisionGroup"))
        collisionGroup = parseCollisionMask(text);
    collisionSensor = xmlChildBool(element, "CollisionSensor", collisionSensor);
    if (const char* text = xmlChildText(element, "CollideAgainst"))
        collideAgainst = parseCollisionMask(text);
    platformCollision = xmlChildBool(element, "PlatformCollision", platformCollision);
    sweepMove = xmlChildBool(element, "SweepMove", sweepMove);
    awakeAtStart = xmlChildBool(element, "AwakeAtStart", awakeAtStart);
    updatePhysics = xmlChildBool(element, "UpdatePhysics", updatePhysics);
    canSleep = xmlChildBool(element, "CanSleep", canSleep);
    wakeNeighboursOnMove = xmlChildBool(element, "WakeNeighboursOnMove", wakeNeighboursOnMove);
    weightPressure = xmlChildBool(element, "WeightPressure", weightPressure);
    forceUpdateIfAwake = xmlChildBool(element, "ForceUpdateIfAwake", forceUpdateIfAwake);
    forceUpdateOnCreation = xmlChildBool(element, "ForceUpdateOnCreation", forceUpdateOnCreation);
    checkOnGround = xmlChildBool(element, "CheckOnGround", checkOnGround);
    roundPosition = xmlChildBool(element, "RoundPosition", roundPosition);
    randomWakeTime = xmlChildFloat(element, "RandomWakeTime", randomWakeTime);
    if (const pugi::xml_node lightNode = element.child("Light"))
        readVisualAttachment(lightNode, light);
    gravityFactor = xmlChildFloat(element, "GravityFactor", gravityFactor);
    bounciness = xmlChildFloat(element, "Bounciness", bounciness);
    groundFriction = xmlChildFloat(element, "GroundFriction", groundFriction);
    wallFriction = xmlChildFloat(element, "WallFriction", wallFriction);
    linearAirResistance = xmlChildFloat(element, "LinearAirResistance", linearAirResistance);
    quadraticAirResistance = xmlChildFloat(element, "QuadraticAirResistance", quadraticAirResistance);
    gravityFromRotation = xmlChildBool(element, "GravityFromRotation", gravityFromRotation);
    highQualityIntegration = xmlChildBool(element, "HighQualityIntegration", highQualityIntegration);
    canRotate = xmlChildBool(element, "CanRotate", canRotate);
    autoFacing = xmlChildBool(element, "AutoFacing", autoFacing);
    rotateToFace = xmlChildBool(element, "RotateToFace", rotateToFace);
    randomDirection = xmlChildBool(element, "RandomDirection", randomDirection);
    if (const pugi::xml_node landSoft = element.child("LandSoft")) {
        softLandingSpeed = xmlAttributeFloat(landSoft, "Speed", softLandingSpeed);
        softLandingSound = xmlAttributeString(landSoft, "Sound", softLandingSound);
    }
    collideSound = xmlChildString(element, "CollideSound", collideSound);
    collideSoundTime = xmlChildFloat(element, "CollideSoundTime", collideSoundTime);
    headBumpSound = xmlChildString(element, "HeadBumpSound", headBumpSound);
    headBumpDamage = xmlChildBool(element, "HeadBumpDamage", headBumpDamage);
    maxCountGroup = xmlChildString(element, "MaxCountGroup", maxCountGroup);
    mapIcon = xmlChildString(element, "MapIcon", mapIcon);
    if (const pugi::xml_node beamsNode = element.child("Beams")) {
        beamsEnabled = xmlAttributeBool(beamsNode, "Enabled", beamsEnabled);
        beamsForcedUpdateTime = xmlAttributeFloat(beamsNode, "ForcedUpdateTime", beamsForcedUpdateTime);
        for (const pugi::xml_node beam : beamsNode.children()) {
            if (beam.type() != pugi::node_element)
                continue;
            AttachedBeam attached;
            attached.definition = requireXmlAttributeText(beam, "Definition");
            attached.angle = xmlAttributeFloat(beam, "Angle", 0.0f) * 3.1415927f / 180.0f;
            beams.push_back(std::move(attached));
        }
    }
}

} // namespace zor
