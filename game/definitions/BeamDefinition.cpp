#include "game/definitions/BeamDefinition.h"

#include <cstring>

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<BeamDefinition>;

void BeamDefinition::read(const pugi::xml_node& element) {
    if (const char* text = xmlChildText(element, "Type")) {
        // Another name leaves the type as it was (the template's, or lightning).
        if (std::strcmp(text, "lightning") == 0)
            type = BeamType::Lightning;
        else if (std::strcmp(text, "laser") == 0)
            type = BeamType::Laser;
    }
    if (const char* text = xmlChildText(element, "CollideAgainst"))
        collideAgainst = parseCollisionMask(text);
    if (const char* text = xmlChildText(element, "StopAgainst"))
        stopAgainst = parseCollisionMask(text);
    damage.read(element, "Damage");
    updatePosition = xmlChildBool(element, "UpdatePosition", updatePosition);
    updateLength = xmlChildBool(element, "UpdateLength", updateLength);
    physicalized = xmlChildBool(element, "Physicalized", physicalized);
    range = xmlChildFloat(element, "Range", range);
    angularVelocity = xmlChildFloat(element, "AngularVelocity", angularVelocity);
    lifetime = xmlChildFloat(element, "LifeTime", lifetime);
    fadeTime = xmlChildFloat(element, "FadeTime", fadeTime);
    if (const char* text = xmlChildText(element, "FadeInterpolation"))
        fadeInterpolation = parseCurveType(text);
    damageWidth = xmlChildFloat(element, "DamageWidth", damageWidth);
    damageInterval = xmlChildFloat(element, "DamageInterval", damageInterval);
    stunTime = xmlChildFloat(element, "StunTime", stunTime);
    isSensor = xmlChildBool(element, "IsSensor", isSensor);
    lightColor = xmlChildCast(element, "LightColor", lightColor);
    lightWidth = xmlChildFloat(element, "LightWidth", lightWidth);
    laserColor = xmlChildCast(element, "LaserColor", laserColor);
    laserWidth = xmlChildFloat(element, "LaserWidth", laserWidth);
    renderPriority = xmlChildInt(element, "RenderPriority", renderPriority);
    segmentOverlap = xmlChildFloat(element, "SegmentOverlap", segmentOverlap);
    endSprite = xmlChildString(element, "EndSprite", endSprite);
    textures = xmlChildString(element, "Textures", textures);
    constantSound = xmlChildString(element, "ConstantSound", constantSound);
    oneShotSound = xmlChildString(element, "OneShotSound", oneShotSound);
    disableUpgrade = xmlChildString(element, "DisableUpgrade", disableUpgrade);
}

DefinitionRegistry<BeamDefinition>& beamRegistry() {
    static DefinitionRegistry<BeamDefinition> registry("BeamDefinitions", "Beam", "Name");
    return registry;
}

std::shared_ptr<BeamDefinition> findBeamDefinition(const std::string& name) { return beamRegistry().find(name); }

} // namespace zor
