#include "game/definitions/ActorDefinition.h"

#include "Framework/core/math/Angle.h"
#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<ActorDefinition>;

namespace {

// Each child of `list`, whatever its name, becomes one fresh entry appended after the
// entries that are already there (those of the template).
template <class Entry>
void appendEntries(const pugi::xml_node& list, std::vector<Entry>& entries) {
    for (const pugi::xml_node child : list.children()) {
        if (child.type() != pugi::node_element)
            continue;
        Entry entry;
        entry.read(child);
        entries.push_back(std::move(entry));
    }
}

} // namespace

void WeaponTrajectory::read(const pugi::xml_node& trajectory) {
    angle = xmlAttributeFloat(trajectory, "Angle", angle);
    angleVariance = xmlAttributeFloat(trajectory, "AngleVariance", angleVariance);
    force = xmlAttributeFloat(trajectory, "Force", force);
    forceVariance = xmlAttributeFloat(trajectory, "ForceVariance", forceVariance);
    aimAtTarget = xmlAttributeBool(trajectory, "AimAtTarget", aimAtTarget);
    ignoreAimAngle = xmlAttributeBool(trajectory, "IgnoreAimAngle", ignoreAimAngle);
    const float minimum = xmlAttributeFloat(trajectory, "AngleMin", 0.0f) * kTwoPi / 360.0f;
    const float maximum = xmlAttributeFloat(trajectory, "AngleMax", 0.0f) * kTwoPi / 360.0f;
    // The centre is deliberately not wrapped: 350..10 degrees is centred on 2 pi.
    aimArcHalfWidth = angleDifference(minimum, maximum) / 2.0f;
    aimArcCentre = minimum + aimArcHalfWidth;
}

void ActorDefinition::Weapon::read(const pugi::xml_node& element) {
    if (const char* text = xmlChildText(element, "AttackType"))
        attackType = parseAttackType(text);
    attackDamage.read(element, "AttackDamage");
    chargeDamage.read(element, "ChargeDamage");
    animationInput = xmlChildString(element, "AnimationInput", animationInput);
    idleAnimation = xmlChildString(element, "IdleAnimation", idleAnimation);
    iconSprite = xmlChildString(element, "IconSprite", iconSprite);
    name = xmlChildString(element, "Name", name);
    attackSound = xmlChildString(element, "AttackSound", attackSound);
    missSound = xmlChildString(element, "AttackSoundMiss", missSound);
    hitSound = xmlChildString(element, "AttackSoundHit", hitSound);
    invulnerableTargetSound = xmlChildString(element, "AttackSoundInvulnerable", invulnerableTargetSound);
    invulnerableTargetEffect = xmlChildString(element, "AttackEffectInvulnerable", invulnerableTargetEffect);
    chargingSound = xmlChildString(element, "AttackSoundCharging", chargingSound);
    chargedSound = xmlChildString(element, "AttackSoundCharged", chargedSound);
    constantAttackSound = xmlChildString(element, "AttackSoundConstant", constantAttackSound);
    requiredUpgrade = xmlChildString(element, "RequireUpgrade", requiredUpgrade);
    missEffect = xmlChildString(element, "AttackEffectMiss", missEffect);
    attackEffect = xmlChildString(element, "AttackEffect", attackEffect);
    projectileName = xmlChildString(element, "ProjectileName", projectileName);
    missEffectOffset = xmlAttributeCast(element.child("AttackEffectMiss"), "Offset", missEffectOffset);
    const pugi::xml_node effect = element.child("AttackEffect");
    attackEffectOffset = xmlAttributeCast(effect, "Offset", attackEffectOffset);
    attackEffectScalesWithCharge = xmlAttributeBool(effect, "ChargeScale", attackEffectScalesWithCharge);
    attackOnlyOnGround = xmlChildBool(element, "AttackOnGround", attackOnlyOnGround);
    attackTime = xmlChildFloat(element, "AttackTime", attackTime);
    chargeTime = xmlChildFloat(element, "AttackChargeTime", chargeTime);
    pitchTime = xmlChildFloat(element, "AttackPitchTime", pitchTime);
    pitchPerHit = xmlAttributeFloat(element.child("AttackSound"), "PitchPerHit", pitchPerHit);
    cooldown = xmlChildFloat(element, "AttackCooldown", cooldown);
    repeatTime = xmlChildFloat(element, "AttackRepeatTime", repeatTime);
    waterDrain = xmlChildFloat(element, "WaterDrain", waterDrain);
    minimumWater = xmlChildFloat(element, "MinWater", minimumWater);
    spawnOffset = xmlChildCast(element, "SpawnOffset", spawnOffset);
    if (const pugi::xml_node trajectoryNode = element.child("Trajectory"))
        trajectory.read(trajectoryNode);
    if (const pugi::xml_node light = element.child("ChargeLight"))
        readVisualAttachment(light, chargeLight);
}

void ActorDefinition::Tool::read(const pugi::xml_node& element) {
    name = xmlChildString(element, "Name", name);
    requiredUpgrade = xmlChildString(element, "RequireUpgrade", requiredUpgrade);
    countedUpgrade = xmlChildString(element, "CountUpgrade", countedUpgrade);
    iconSprite = xmlChildString(element, "IconSprite", iconSprite);
    useSound = xmlChildString(element, "UseSound", useSound);
    isBuilding = xmlChildBool(element, "IsBuilding", isBuilding);
}

void ActorDefinition::read(const pugi::xml_node& element) {
    GameObjectDefinition::read(element);

    if (const char* text = xmlChildText(element, "SpecialType"))
        specialType = parseSpecialType(text);
    invulnerable = xmlChildBool(element, "Invulnerable", invulnerable);
    invulnerableToBeams = xmlChildBool(element, "InvulnerableToBeams", invulnerableToBeams);
    vulnerableDirection = xmlChildCast(element, "VulnerableDirection", vulnerableDirection);
    hitPoints = xmlChildFloat(element, "HitPoints", hitPoints);
    waterCapacity = xmlChildFloat(element, "Water", waterCapacity);
    lightTime = xmlChildFloat(element, "LightTime", lightTime);
    lightWarningThreshold = xmlChildFloat(element, "LightWarningThreshold", lightWarningThreshold);
    lightDepletedFrequency = xmlChildFloat(element, "LightDepletedFrequency", lightDepletedFrequency);
    hardness = xmlChildInt(element, "Hardness", hardness);
    jumpSpeed = xmlChildFloat(element, "JumpSpeed", jumpSpeed);
    walkSpeed = xmlChildFloat(element, "WalkSpeed", walkSpeed);
    walkAcceleration = xmlChildFloat(element, "WalkAcceleration", walkAcceleration);
    animation = xmlChildString(element, "Animation", animation);
    animationState = xmlChildString(element, "AnimationState", animationState);
    simpleAnimation = xmlChildString(element, "SimpleAnimation", simpleAnimation);
    heartbeatTime = xmlChildFloat(element, "HeartBeatTime", heartbeatTime);
    heartbeatRandomTime = xmlChildFloat(element, "HeartBeatRandomTime", heartbeatRandomTime);
    enableRun = xmlChildBool(element, "EnableRun", enableRun);
    enableChargeJump = xmlChildBool(element, "EnableChargeJump", enableChargeJump);
    enableHighJump = xmlChildBool(element, "EnableHighJump", enableHighJump);
    enableDoubleJump = xmlChildBool(element, "EnableDoubleJump", enableDoubleJump);
    staticDashVelocity = xmlChildFloat(element, "StaticDashVelocity", staticDashVelocity);
    knockbackSensitivity = xmlChildFloat(element, "KnockbackSensitivity", knockbackSensitivity);
    nullifyRadialDamage = xmlChildBool(element, "NullifyRadialDamage", nullifyRadialDamage);
    if (const pugi::xml_node cannon = element.child("Cannon")) {
        cannonName = xmlAttributeString(cannon, "Name", cannonName);
        if (const pugi::xml_attribute maximumAngle = cannon.attribute("MaxAngle"))
            cannonMaximumAngle = parseLenientFloat(maximumAngle.value()) * kPi / 180.0f;
        cannonLength = xmlAttributeFloat(cannon, "Length", cannonLength);
    }
    behavior = xmlChildString(element, "Behavior", behavior);
    if (const pugi::xml_node noise = element.child("NoiseThreshold")) {
        noiseThresholdLow = xmlAttributeFloat(noise, "Low", noiseThresholdLow);
        noiseThresholdHigh = xmlAttributeFloat(noise, "High", noiseThresholdHigh);
    }
    if (const pugi::xml_node fall = element.child("FallDamage")) {
        fallDamageIgnored = xmlAttributeBool(fall, "FallDamageIgnore", fallDamageIgnored);
        fallDistance = xmlAttributeFloat(fall, "Distance", fallDistance);
        fallDamagePerDistance = xmlAttributeFloat(fall, "LinearDmg", fallDamagePerDistance);
        fallDamageMinimum = xmlAttributeFloat(fall, "MinDmg", fallDamageMinimum);
        fallSound = xmlAttributeString(fall, "Sound", fallSound);
        criticalFallSound = xmlAttributeString(fall, "CriticalSound", fallSound);
    }
    if (const pugi::xml_node collide = element.child("CollideDamage")) {
        collideDamageAmount = xmlAttributeFloat(collide, "Amount", collideDamageAmount);
        collideDamageRequiredVelocity = xmlAttributeFloat(collide, "ReqVelocity", collideDamageRequiredVelocity);
    }
    fallTileDamageLinear = xmlChildBool(element, "FallTileDamageLinear", fallTileDamageLinear);
    fallTileDamageConstant = xmlChildBool(element, "FallTileDamageConstant", fallTileDamageConstant);
    crushDamage.read(element, "DamageCrush");
    contactDamage.read(element, "DamageOnContact");
    acidDamage.read(element, "DamageAcid");
    projectileOnDeath = xmlChildString(element, "ProjectileOnDeath", projectileOnDeath);
    destroyOnContact = xmlChildBool(element, "DestroyOnContact", destroyOnContact);
    wakeNeighboursOnDeath = xmlChildBool(element, "WakeNeighboursOnDeath", wakeNeighboursOnDeath);
    activatesBarrels = xmlChildBool(element, "ActivatesBarrels", activatesBarrels);
    seenBeforeAttackCheck = xmlChildBool(element, "HasBeenSeenAttackCheck", seenBeforeAttackCheck);
    attachedDirection = xmlChildCast(element, "AttachedDirection", attachedDirection);
    if (const char* text = xmlChildText(element, "AllyGroup"))
        allyGroup = parseFactionMask(text);
    if (const char* text = xmlChildText(element, "Enemies"))
        enemies = parseFactionMask(text);
    appendEntries(element.child("Weapons"), weapons);
    appendEntries(element.child("Tools"), tools);
    persistent = xmlChildBool(element, "Persistent", persistent);
    resetWithEarth = xmlChildBool(element, "ResetWithEarth", resetWithEarth);
    if (const pugi::xml_node drop = element.child("Drop")) {
        dropResource = xmlAttributeString(drop, "Resource", dropResource);
        goodDropResource = xmlAttributeString(drop, "GoodResource", dropResource);
        goodDropChance = xmlAttributeFloat(drop, "GoodResourceChance", goodDropChance);
    }
    attackedEffect = xmlChildString(element, "AttackedEffect", attackedEffect);
    attackedEffectOffset = xmlAttributeCast(element.child("AttackedEffect"), "Offset", attackedEffectOffset);
    endEffect = xmlChildString(element, "EndEffect", endEffect);
    endEffectOffset = xmlChildCast(element, "EndEffectOffset", endEffectOffset);
    spawnSound = xmlChildString(element, "SpawnActorSound", spawnSound);
    endSound = xmlChildString(element, "EndSound", endSound);
    attackedSound = xmlChildString(element, "AttackedSound", attackedSound);
    attackedInvulnerableSound = xmlChildString(element, "AttackedInvulnerableSound", attackedInvulnerableSound);
    crushedSound = xmlChildString(element, "CrushedSound", crushedSound);
    idleSound = xmlChildString(element, "IdleSound", idleSound);
    walkSound = xmlChildString(element, "WalkSound", walkSound);
    slideSound = xmlChildString(element, "SlideSound", slideSound);
    rumbleSound = xmlChildString(element, "RumbleSound", rumbleSound);
    ladderSound = xmlChildString(element, "LadderSound", ladderSound);
    constantSound = xmlChildString(element, "ConstantSound", constantSound);
    constantSoundDistance = xmlChildFloat(element, "ConstantSoundDistance", constantSoundDistance);
    walkOnSound = xmlChildString(element, "WalkOnSound", walkOnSound);
    idleSoundTime = xmlChildFloat(element, "IdleSoundTime", idleSoundTime);
    idleSoundRandomTime = xmlChildFloat(element, "IdleSoundRandomTime", idleSoundRandomTime);
    projectileSpawnOffset = xmlChildCast(element, "ProjectileSpawnOffset", projectileSpawnOffset);
    lightRefillMultiplier = xmlChildFloat(element, "LightRefillMultiplier", lightRefillMultiplier);
    autoRefillLight = xmlChildBool(element, "AutoRefillLight", autoRefillLight);
    damageReduction = xmlChildFloat(element, "DamageReduction", damageReduction);
    hitPointRegeneration = xmlChildFloat(element, "RegenerateHitPoints", hitPointRegeneration);
    waterReduction = xmlChildFloat(element, "WaterReduction", waterReduction);
    waterRegeneration = xmlChildFloat(element, "RegenerateWater", waterRegeneration);
    drainWaterEffect = xmlChildString(element, "DrainWaterEffect", drainWaterEffect);
    drainWaterMultiplier = xmlChildFloat(element, "DrainWaterMultiplier", drainWaterMultiplier);
    runningEffect = xmlChildString(element, "RunningEffect", runningEffect);
    const pugi::xml_node running = element.child("RunningEffect");
    runningEffectOffset = xmlAttributeCast(running, "Offset", runningEffectOffset);
    runningEffectFrequency = xmlAttributeFloat(running, "Frequency", runningEffectFrequency);
    steamJumpEffect = xmlChildString(element, "SteamJumpEffect", steamJumpEffect);
    steamJumpTrailEffect = xmlChildString(element, "SteamJumpTrailEffect", steamJumpTrailEffect);
    const pugi::xml_node trail = element.child("SteamJumpTrailEffect");
    steamJumpTrailRandomOffset = xmlAttributeCast(trail, "RandomOffset", steamJumpTrailRandomOffset);
    steamJumpTrailFrequency = xmlAttributeFloat(trail, "Frequency", steamJumpTrailFrequency);
    doubleJumpWaterDrain = xmlChildFloat(element, "DoubleJumpWaterDrain", doubleJumpWaterDrain);
    slideEffect = xmlChildString(element, "SlideEffect", slideEffect);
    slideEffectFrequency = xmlChildFloat(element, "SlideEffectFrequency", slideEffectFrequency);
    slideEffectRandomOffset = xmlChildCast(element, "SlideEffectRandomOffset", slideEffectRandomOffset);
    sameTypeRejectionRadius = xmlChildFloat(element, "RejectSameTypeRadius", sameTypeRejectionRadius);
    rejectStandingOnDifferentType =
        xmlChildBool(element, "RejectStandingOnDifferentType", rejectStandingOnDifferentType);
    rejectOthersOnTop = xmlChildBool(element, "RejectOthersOnTop", rejectOthersOnTop);
    firstConversation = xmlChildString(element, "FirstConversation", firstConversation);
}

DefinitionRegistry<ActorDefinition>& actorRegistry() {
    static DefinitionRegistry<ActorDefinition> registry("ActorDefinitions", "Actor", "Name");
    return registry;
}

ActorDefinition& findActorDefinition(const std::string& name) { return actorRegistry().get(name); }

std::shared_ptr<ActorDefinition> getActorDefinitionPtr(const std::string& name) {
    return actorRegistry().getShared(name);
}

std::shared_ptr<ActorDefinition> findActorDefinitionPtr(const std::string& name) { return actorRegistry().find(name); }

} // namespace zor
