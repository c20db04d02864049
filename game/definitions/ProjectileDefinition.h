#pragma once
// One kind of projectile: how it flies (the game-object part), when it detonates, the
// radial damage and knockback of the detonation and the camera shake it causes.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "Framework/core/math/Curve.h"
#include "Framework/core/math/Vector.h"
#include "game/definitions/DamageData.h"
#include "game/definitions/DefinitionRegistry.h"
#include "game/definitions/GameObjectDefinition.h"

namespace zor {

// The damage of a detonation.
struct RadialDamageData {
    DamageData damage;
    float radius = 0.0f; // pixels
    CurveType falloff = CurveType::One;
    std::int32_t tileDamagePattern = 0;
    bool canBeNullified = false;
};

// Reads the child `childName` of `element` over `radial`; nothing changes without it. An
// unknown "Falloff" name gives the curve Zero.
void readRadialDamage(const pugi::xml_node& element, const char* childName, RadialDamageData& radial);

struct ProjectileDefinition : GameObjectDefinition {
    float timeFuze = 5.0f; // seconds of flight
    bool contactFuze = false;
    bool exhaustivePenetration = false;
    bool instantFuze = false;
    bool immuneToBeams = false;
    std::string detonationEffect;
    std::string detonationSpawn; // a definition spawned on detonation
    fpVector2 detonationEffectOffset; // pixels
    bool useWeaponDamage = false;
    RadialDamageData radialDamage;
    float timeFuzeChargeMultiplier = 0.0f;
    float knockbackAmount = 0.0f;
    float knockbackRadius = 0.0f; // pixels
    float knockbackVelocityFactor = 0.0f;
    float knockbackStunTime = 0.0f; // seconds
    float cameraShake = 0.0f;
    float cameraShakeDuration = 0.1f; // seconds

    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<ProjectileDefinition>;

// Root "ProjectileDefinitions", element "Projectile", key "Name"; file
// "Definitions/projectiles.xml".
DefinitionRegistry<ProjectileDefinition>& projectileRegistry();

// Throws CheckReleaseError for an unregistered name.
std::shared_ptr<ProjectileDefinition> getProjectileDefinitionPtr(const std::string& name);

} // namespace zor
