#pragma once
// One kind of actor the simulation drives (player, enemies, townsfolk, barrels, ladders,
// teleporters ...), with its weapons and tools. The player's record is copied and upgraded
// at run time, so everything here stays copyable.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "Framework/core/math/Vector.h"
#include "game/definitions/DamageData.h"
#include "game/definitions/DefinitionRegistry.h"
#include "game/definitions/GameObjectDefinition.h"
#include "game/definitions/NameEnumerations.h"
#include "game/definitions/VisualAttachment.h"

namespace zor {

// How a weapon launches its projectile.
struct WeaponTrajectory {
    float angle = 0.0f; // as written
    float angleVariance = 0.0f;
    // The aim arc from "AngleMin" to "AngleMax" the short way round, in radians.
    float aimArcCentre = 0.0f;
    float aimArcHalfWidth = 0.0f;
    float force = 0.0f;
    float forceVariance = 0.0f;
    bool aimAtTarget = false;
    bool ignoreAimAngle = false;

    // Reads the attributes of a "Trajectory" element; "AngleMin" and "AngleMax" are 0
    // when absent (the arc never inherits), the rest keep their values.
    void read(const pugi::xml_node& trajectory);
};

struct ActorDefinition : GameObjectDefinition {
    struct Weapon {
        AttackType attackType = AttackType::Player;
        DamageData attackDamage;
        DamageData chargeDamage;
        std::string animationInput;
        std::string idleAnimation;
        std::string iconSprite;
        std::string name;
        std::string attackSound;
        std::string missSound;
        std::string hitSound;
        std::string invulnerableTargetSound;
        std::string invulnerableTargetEffect;
        std::string chargingSound;
        std::string chargedSound;
        std::string constantAttackSound;
        std::string requiredUpgrade;
        std::string missEffect;
        std::string attackEffect;
        std::string projectileName;
        fpVector2 missEffectOffset;
        fpVector2 attackEffectOffset;
        bool attackEffectScalesWithCharge = false;
        bool attackOnlyOnGround = false;
        float attackTime = 0.0f;   // seconds
        float chargeTime = 0.0f;   // seconds
        float pitchTime = 0.0f;    // seconds
        float pitchPerHit = 0.0f;
        float cooldown = 0.0f;     // seconds
        float repeatTime = 0.0f;   // seconds
        float waterDrain = 0.0f;
        float minimumWater = 0.0f;
        fpVector2 spawnOffset;
        WeaponTrajectory trajectory;
        VisualAttachment chargeLight;

        void read(const pugi::xml_node& element);
    };

    struct Tool {
        std::string name; // the building actor's definition name
        std::string requiredUpgrade;
        std::string countedUpgrade;
        std::string iconSprite;
        std::string useSound;
        bool isBuilding = false;

        void read(const pugi::xml_node& element);
    };

    SpecialType specialType = SpecialType::None;
    bool invulnerable = false;
    bool invulnerableToBeams = false;
    fpVector2 vulnerableDirection;
    float hitPoints = 1.0f;
    float waterCapacity = 0.0f;
    float lightTime = 0.0f; // seconds
    float lightWarningThreshold = 0.0f;
    float lightDepletedFrequency = 0.0f;
    std::int32_t hardness = 1;
    float jumpSpeed = 0.0f;
    float walkSpeed = 0.0f;
    float walkAcceleration = 0.0f;
    std::string animation;
    std::string animationState;
    std::string simpleAnimation;
    float heartbeatTime = 0.0f;       // seconds
    float heartbeatRandomTime = 0.0f; // seconds
    bool enableRun = false;
    bool enableChargeJump = false;
    bool enableHighJump = false;
    bool enableDoubleJump = false;
    float staticDashVelocity = 0.0f;
    float knockbackSensitivity = 1.0f;
    bool nullifyRadialDamage = false;
    std::string cannonName;
    float cannonMaximumAngle = 0.0f; // radians
    float cannonLength = 0.0f;
    std::string behavior; // behaviour machine name
    float noiseThresholdLow = 0.0f;
    float noiseThresholdHigh = 0.0f;
    bool fallDamageIgnored = false;
    float fallDistance = 0.0f;
    float fallDamagePerDistance = 0.0f;
    float fallDamageMinimum = 0.0f;
    std::string fallSound;
    std::string criticalFallSound;
    float collideDamageAmount = 0.0f;
    float collideDamageRequiredVelocity = 0.0f;
    bool fallTileDamageLinear = false;
    bool fallTileDamageConstant = false;
    DamageData crushDamage;
    DamageData contactDamage;
    DamageData acidDamage;
    std::string projectileOnDeath;
    bool destroyOnContact = false;
    bool wakeNeighboursOnDeath = false;
    bool activatesBarrels = false;
    bool seenBeforeAttackCheck = true;
    iVector2 attachedDirection;
    std::uint32_t allyGroup = 0; // FactionMask bits
    std::uint32_t enemies = 0;   // FactionMask bits
    // Entries of the definition follow those of its template.
    std::vector<Weapon> weapons;
    std::vector<Tool> tools;
    bool persistent = false;
    bool resetWithEarth = true;
    std::string dropResource;
    std::string goodDropResource;
    float goodDropChance = 0.0f;
    std::string attackedEffect;
    fpVector2 attackedEffectOffset;
    std::string endEffect;
    fpVector2 endEffectOffset;
    std::string spawnSound;
    std::string endSound;
    std::string attackedSound;
    std::string attackedInvulnerableSound;
    std::string crushedSound;
    std::string idleSound;
    std::string walkSound;
    std::string slideSound;
    std::string rumbleSound;
    std::string ladderSound;
    std::string constantSound;
    float constantSoundDistance = 0.0f; // pixels
    std::string walkOnSound;
    float idleSoundTime = 0.0f;       // seconds
    float idleSoundRandomTime = 0.0f; // seconds
    fpVector2 projectileSpawnOffset;
    float lightRefillMultiplier = 1.0f;
    bool autoRefillLight = false;
    float damageReduction = 0.0f;
    float hitPointRegeneration = 0.0f;
    float waterReduction = 0.0f;
    // Never in data: the player's upgrades lower it.
    float chargeJumpFactor = 1.0f;
    float waterRegeneration = 0.0f;
    std::string drainWaterEffect;
    float drainWaterMultiplier = 1.0f;
    std::string runningEffect;
    fpVector2 runningEffectOffset;
    std::string steamJumpEffect;
    std::string steamJumpTrailEffect;
    fpVector2 steamJumpTrailRandomOffset;
    float steamJumpTrailFrequency = 0.0f;
    float doubleJumpWaterDrain = 0.0f;
    float runningEffectFrequency = 0.0f;
    std::string slideEffect;
    float slideEffectFrequency = 0.0f;
    fpVector2 slideEffectRandomOffset;
    float sameTypeRejectionRadius = 0.0f; // pixels
    bool rejectStandingOnDifferentType = false;
    bool rejectOthersOnTop = false;
    std::string firstConversation;

    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<ActorDefinition>;

// Root "ActorDefinitions", element "Actor", key "Name"; file "Definitions/actors.xml".
DefinitionRegistry<ActorDefinition>& actorRegistry();

// The must-exist lookups throw CheckReleaseError for an unregistered name.
ActorDefinition& findActorDefinition(const std::string& name);
std::shared_ptr<ActorDefinition> getActorDefinitionPtr(const std::string& name);
// Null when the name is not registered.
std::shared_ptr<ActorDefinition> findActorDefinitionPtr(const std::string& name);

} // namespace zor
