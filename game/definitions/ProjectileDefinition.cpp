#include "game/definitions/ProjectileDefinition.h"

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<ProjectileDefinition>;

void readRadialDamage(const pugi::xml_node& element, const char* childName, RadialDamageData& radial) {
    radial.damage.read(element, childName);
    const pugi::xml_node node = element.child(childName);
    if (!node)
        return;
    radial.radius = xmlAttributeFloat(node, "Radius", radial.radius);
    radial.tileDamagePattern = xmlAttributeInt(node, "TileDamagePattern", radial.tileDamagePattern);
    radial.canBeNullified = xmlAttributeBool(node, "CanBeNullified", radial.canBeNullified);
    if (const pugi::xml_attribute falloff = node.attribute("Falloff"))
        radial.falloff = parseCurveType(falloff.value());
}

void ProjectileDefinition::read(const pugi::xml_node& element) {
    GameObjectDefinition::read(element);
    timeFuze = xmlChildFloat(element, "TimeFuze", timeFuze);
    contactFuze = xmlChildBool(element, "ContactFuze", contactFuze);
    exhaustivePenetration = xmlChildBool(element, "ExhaustivePenetration", exhaustivePenetration);
    instantFuze = xmlChildBool(element, "InstantFuze", instantFuze);
    immuneToBeams = xmlChildBool(element, "ImmuneToBeams", immuneToBeams);
    detonationEffect = xmlChildString(element, "DetonationEffect", detonationEffect);
    detonationEffectOffset = xmlChildCast(element, "DetonationEffectOffset", detonationEffectOffset);
    detonationSpawn = xmlChildString(element, "DetonationSpawn", detonationSpawn);
    useWeaponDamage = xmlChildBool(element, "UseWeaponDamage", useWeaponDamage);
    cameraShake = xmlChildFloat(element, "CameraShake", cameraShake);
    cameraShakeDuration = xmlAttributeFloat(element.child("CameraShake"), "Duration", cameraShakeDuration);
    timeFuzeChargeMultiplier = xmlChildFloat(element, "ChargeMultiplierTimeFuze", timeFuzeChargeMultiplier);
    readRadialDamage(element, "RadialDamage", radialDamage);
    if (const pugi::xml_node knockback = element.child("Knockback")) {
        knockbackAmount = xmlAttributeFloat(knockback, "Amount", knockbackAmount);
        knockbackRadius = xmlAttributeFloat(knockback, "Radius", knockbackRadius);
        knockbackStunTime = xmlAttributeFloat(knockback, "StunTime", knockbackStunTime);
        knockbackVelocityFactor = xmlAttributeFloat(knockback, "VelocityFactor", knockbackVelocityFactor);
    }
}

DefinitionRegistry<ProjectileDefinition>& projectileRegistry() {
    static DefinitionRegistry<ProjectileDefinition> registry("ProjectileDefinitions", "Projectile", "Name");
    return registry;
}

std::shared_ptr<ProjectileDefinition> getProjectileDefinitionPtr(const std::string& name) {
    return projectileRegistry().getShared(name);
}

} // namespace zor
