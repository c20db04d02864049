#include "game/definitions/ActorDefinition.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/actors.xml";

std::unique_ptr<DefinitionRegistry<ActorDefinition>> actors(const std::string& definitions) {
    return test::loadDefinitions(actorRegistry(), kFile, definitions);
}

void expectDefaultDamage(const DamageData& damage) {
    EXPECT_EQ(damage.amount, 0.0f);
    EXPECT_EQ(damage.tier, 666);
    EXPECT_EQ(damage.playerInvulnerabilityCooldown, 2.0f);
    EXPECT_EQ(damage.knockbackMultiplier, 1.0f);
    EXPECT_EQ(damage.type, DamageType::Normal);
}

TEST(ActorDefinition, DefaultsOfEveryKey) {
    const auto registry = actors("<Actor><Name>bare</Name><Weapons><Weapon/></Weapons><Tools><Tool/></Tools></Actor>");
    const ActorDefinition& a = registry->get("bare");
    EXPECT_EQ(a.name, "bare");
    EXPECT_EQ(a.specialType, SpecialType::None);
    EXPECT_FALSE(a.invulnerable);
    EXPECT_FALSE(a.invulnerableToBeams);
    EXPECT_EQ(a.vulnerableDirection, fpVector2(0, 0));
    EXPECT_EQ(a.hitPoints, 1.0f);
    EXPECT_EQ(a.hardness, 1);
    EXPECT_EQ(a.knockbackSensitivity, 1.0f);
    EXPECT_EQ(a.cannonMaximumAngle, 0.0f);
    EXPECT_TRUE(a.seenBeforeAttackCheck);
    EXPECT_TRUE(a.resetWithEarth);
    EXPECT_FALSE(a.persistent);
    EXPECT_EQ(a.attachedDirection, iVector2(0, 0));
    EXPECT_EQ(a.allyGroup, 0u);
    EXPECT_EQ(a.enemies, 0u);
    EXPECT_EQ(a.lightRefillMultiplier, 1.0f);
    EXPECT_EQ(a.drainWaterMultiplier, 1.0f);
    EXPECT_EQ(a.chargeJumpFactor, 1.0f);
    expectDefaultDamage(a.crushDamage);
    expectDefaultDamage(a.contactDamage);
    expectDefaultDamage(a.acidDamage);
    for (const float zero : {a.waterCapacity, a.lightTime, a.jumpSpeed, a.walkSpeed, a.heartbeatTime,
                             a.idleSoundRandomTime, a.runningEffectFrequency, a.steamJumpTrailFrequency,
                             a.doubleJumpWaterDrain, a.slideEffectFrequency, a.goodDropChance, a.fallDistance,
                             a.collideDamageAmount, a.noiseThresholdHigh, a.damageReduction, a.cannonLength})
        EXPECT_EQ(zero, 0.0f);
    for (const std::string* empty : {&a.behavior, &a.animation, &a.animationState, &a.dropResource,
                                     &a.goodDropResource, &a.fallSound, &a.criticalFallSound, &a.firstConversation,
                                     &a.projectileOnDeath, &a.cannonName, &a.endEffect})
        EXPECT_EQ(*empty, "");
    // The game-object part keeps its own defaults.
    EXPECT_EQ(a.renderPriority, 1000);
    EXPECT_TRUE(a.sweepMove);

    ASSERT_EQ(a.weapons.size(), 1u);
    const ActorDefinition::Weapon& w = a.weapons[0];
    EXPECT_EQ(w.attackType, AttackType::Player);
    expectDefaultDamage(w.attackDamage);
    expectDefaultDamage(w.chargeDamage);
    EXPECT_EQ(w.name, "");
    EXPECT_EQ(w.projectileName, "");
    EXPECT_FALSE(w.attackEffectScalesWithCharge);
    EXPECT_FALSE(w.attackOnlyOnGround);
    EXPECT_EQ(w.cooldown, 0.0f);
    EXPECT_EQ(w.spawnOffset, fpVector2(0, 0));
    EXPECT_EQ(w.trajectory.aimArcCentre, 0.0f);
    EXPECT_EQ(w.trajectory.aimArcHalfWidth, 0.0f);
    EXPECT_EQ(w.trajectory.force, 0.0f);
    EXPECT_FALSE(w.trajectory.aimAtTarget);
    EXPECT_EQ(w.chargeLight.scale, 1.0f);
    EXPECT_TRUE(w.chargeLight.loop);

    ASSERT_EQ(a.tools.size(), 1u);
    EXPECT_EQ(a.tools[0].name, "");
    EXPECT_FALSE(a.tools[0].isBuilding);
}

TEST(ActorDefinition, ReadsEveryKey) {
    const auto registry = actors(R"(<Actor><Name>full</Name>
        <SpecialType>teleporter</SpecialType><Invulnerable>1</Invulnerable><InvulnerableToBeams>y</InvulnerableToBeams>
        <VulnerableDirection>0;-1</VulnerableDirection><HitPoints>7.5</HitPoints><Water>3</Water>
        <LightTime>120</LightTime><LightWarningThreshold>20</LightWarningThreshold>
        <LightDepletedFrequency>0.5</LightDepletedFrequency><Hardness>4</Hardness><JumpSpeed>250</JumpSpeed>
        <WalkSpeed>90</WalkSpeed><WalkAcceleration>800</WalkAcceleration><Animation>body_anim</Animation>
        <AnimationState>body</AnimationState><SimpleAnimation>spin</SimpleAnimation><HeartBeatTime>2</HeartBeatTime>
        <HeartBeatRandomTime>0.5</HeartBeatRandomTime><EnableRun>t</EnableRun><EnableChargeJump>T</EnableChargeJump>
        <EnableHighJump>Y</EnableHighJump><EnableDoubleJump>yes</EnableDoubleJump>
        <StaticDashVelocity>140</StaticDashVelocity><KnockbackSensitivity>0.5</KnockbackSensitivity>
        <NullifyRadialDamage>true</NullifyRadialDamage><Cannon Name="barrel" MaxAngle="90" Length="18"/>
        <Behavior>guard</Behavior><NoiseThreshold Low="0.2" High="0.7"/>
        <FallDamage FallDamageIgnore="1" Distance="160" LinearDmg="0.01" MinDmg="1" Sound="thud" CriticalSound="crack"/>
        <CollideDamage Amount="2" ReqVelocity="300"/><FallTileDamageLinear>1</FallTileDamageLinear>
        <FallTileDamageConstant>1</FallTileDamageConstant><DamageCrush Amount="10" Type="crush"/>
        <DamageOnContact Amount="1" Filter="contact"/><DamageAcid Amount="0.5" Tier="2"/>
        <ProjectileOnDeath>spores</ProjectileOnDeath><DestroyOnContact>1</DestroyOnContact>
        <WakeNeighboursOnDeath>1</WakeNeighboursOnDeath><ActivatesBarrels>1</ActivatesBarrels>
        <HasBeenSeenAttackCheck>false</HasBeenSeenAttackCheck><AttachedDirection>0;6</AttachedDirection>
        <AllyGroup>mirethan;gleamer</AllyGroup><Enemies>player</Enemies><Persistent>1</Persistent>
        <ResetWithEarth>0</ResetWithEarth><Drop Resource="ore" GoodResource="gem" GoodResourceChance="0.25"/>
        <AttackedEffect Offset="1;2">hurt_fx</AttackedEffect><EndEffect>end_fx</EndEffect>
        <EndEffectOffset>3;4</EndEffectOffset><SpawnActorSound>s_spawn</SpawnActorSound><EndSound>s_end</EndSound>
        <AttackedSound>s_hit</AttackedSound><AttackedInvulnerableSound>s_clang</AttackedInvulnerableSound>
        <CrushedSound>s_crush</CrushedSound><IdleSound>s_idle</IdleSound><WalkSound>s_walk</WalkSound>
        <SlideSound>s_slide</SlideSound><RumbleSound>s_rumble</RumbleSound><LadderSound>s_ladder</LadderSound>
        <ConstantSound>s_hum</ConstantSound><ConstantSoundDistance>240</ConstantSoundDistance>
        <WalkOnSound>s_plate</WalkOnSound><IdleSoundTime>6</IdleSoundTime><IdleSoundRandomTime>2</IdleSoundRandomTime>
        <ProjectileSpawnOffset>0;-20</ProjectileSpawnOffset><LightRefillMultiplier>1.5</LightRefillMultiplier>
        <AutoRefillLight>1</AutoRefillLight><DamageReduction>0.25</DamageReduction>
        <RegenerateHitPoints>0.1</RegenerateHitPoints><WaterReduction>0.3</WaterReduction>
        <RegenerateWater>0.05</RegenerateWater><DrainWaterEffect>drain_fx</DrainWaterEffect>
        <DrainWaterMultiplier>2</DrainWaterMultiplier><RunningEffect Offset="-6;0" Frequency="8">run_fx</RunningEffect>
        <SteamJumpEffect>steam_fx</SteamJumpEffect>
        <SteamJumpTrailEffect RandomOffset="4;5" Frequency="20">trail_fx</SteamJumpTrailEffect>
        <DoubleJumpWaterDrain>1</DoubleJumpWaterDrain><SlideEffect>slide_fx</SlideEffect>
        <SlideEffectFrequency>10</SlideEffectFrequency><SlideEffectRandomOffset>2;6</SlideEffectRandomOffset>
        <RejectSameTypeRadius>100</RejectSameTypeRadius><RejectStandingOnDifferentType>1</RejectStandingOnDifferentType>
        <RejectOthersOnTop>1</RejectOthersOnTop><FirstConversation>hello</FirstConversation>
        <CollisionGroup>enemies</CollisionGroup>
        <Weapons><Weapon>
          <AttackType>laser</AttackType><AttackDamage Amount="2" Tier="3"/><ChargeDamage Amount="5"/>
          <AnimationInput>swing</AnimationInput><IdleAnimation>rest</IdleAnimation><IconSprite>icon</IconSprite>
          <Name>pick</Name><AttackSound PitchPerHit="0.05">w_attack</AttackSound><AttackSoundMiss>w_miss</AttackSoundMiss>
          <AttackSoundHit>w_hit</AttackSoundHit><AttackSoundInvulnerable>w_clang</AttackSoundInvulnerable>
          <AttackEffectInvulnerable>w_spark</AttackEffectInvulnerable><AttackSoundCharging>w_charging</AttackSoundCharging>
          <AttackSoundCharged>w_charged</AttackSoundCharged><AttackSoundConstant>w_loop</AttackSoundConstant>
          <RequireUpgrade>pick_1</RequireUpgrade><AttackEffectMiss Offset="5;6">w_miss_fx</AttackEffectMiss>
          <AttackEffect Offset="7;8" ChargeScale="1">w_fx</AttackEffect><ProjectileName>bolt</ProjectileName>
          <AttackOnGround>1</AttackOnGround><AttackTime>0.2</AttackTime><AttackChargeTime>0.8</AttackChargeTime>
          <AttackPitchTime>1.5</AttackPitchTime><AttackCooldown>0.3</AttackCooldown>
          <AttackRepeatTime>0.1</AttackRepeatTime><WaterDrain>0.25</WaterDrain><MinWater>0.5</MinWater>
          <SpawnOffset>16;-14</SpawnOffset>
          <Trajectory Angle="-30" AngleVariance="4" Force="320" ForceVariance="20" AimAtTarget="1" IgnoreAimAngle="1"/>
          <ChargeLight Sprite="glow" Scale="0.8" Loop="no"/>
        </Weapon></Weapons>
        <Tools><Tool><Name>lamp</Name><RequireUpgrade>lamp_kit</RequireUpgrade><CountUpgrade>lamp</CountUpgrade>
          <IconSprite>icon_lamp</IconSprite><UseSound>build</UseSound><IsBuilding>1</IsBuilding></Tool></Tools>
    </Actor>)");
    const ActorDefinition& a = registry->get("full");
    EXPECT_EQ(a.collisionGroup, CollisionGroup::Enemies);
    EXPECT_EQ(a.specialType, SpecialType::Teleporter);
    EXPECT_TRUE(a.invulnerable);
    EXPECT_TRUE(a.invulnerableToBeams);
    EXPECT_EQ(a.vulnerableDirection, fpVector2(0, -1));
    EXPECT_EQ(a.hitPoints, 7.5f);
    EXPECT_EQ(a.waterCapacity, 3.0f);
    EXPECT_EQ(a.lightTime, 120.0f);
    EXPECT_EQ(a.lightWarningThreshold, 20.0f);
    EXPECT_EQ(a.lightDepletedFrequency, 0.5f);
    EXPECT_EQ(a.hardness, 4);
    EXPECT_EQ(a.jumpSpeed, 250.0f);
    EXPECT_EQ(a.walkSpeed, 90.0f);
    EXPECT_EQ(a.walkAcceleration, 800.0f);
    EXPECT_EQ(a.animation, "body_anim");
    EXPECT_EQ(a.animationState, "body");
    EXPECT_EQ(a.simpleAnimation, "spin");
    EXPECT_EQ(a.heartbeatTime, 2.0f);
    EXPECT_EQ(a.heartbeatRandomTime, 0.5f);
    EXPECT_TRUE(a.enableRun && a.enableChargeJump && a.enableHighJump && a.enableDoubleJump);
    EXPECT_EQ(a.staticDashVelocity, 140.0f);
    EXPECT_EQ(a.knockbackSensitivity, 0.5f);
    EXPECT_TRUE(a.nullifyRadialDamage);
    EXPECT_EQ(a.cannonName, "barrel");
    EXPECT_EQ(a.cannonMaximumAngle, 90.0f * 3.1415927f / 180.0f);
    EXPECT_EQ(a.cannonLength, 18.0f);
    EXPECT_EQ(a.behavior, "guard");
    EXPECT_EQ(a.noiseThresholdLow, 0.2f);
    EXPECT_EQ(a.noiseThresholdHigh, 0.7f);
    EXPECT_TRUE(a.fallDamageIgnored);
    EXPECT_EQ(a.fallDistance, 160.0f);
    EXPECT_EQ(a.fallDamagePerDistance, 0.01f);
    EXPECT_EQ(a.fallDamageMinimum, 1.0f);
    EXPECT_EQ(a.fallSound, "thud");
    EXPECT_EQ(a.criticalFallSound, "crack");
    EXPECT_EQ(a.collideDamageAmount, 2.0f);
    EXPECT_EQ(a.collideDamageRequiredVelocity, 300.0f);
    EXPECT_TRUE(a.fallTileDamageLinear && a.fallTileDamageConstant);
    EXPECT_EQ(a.crushDamage.type, DamageType::Crush);
    EXPECT_EQ(a.crushDamage.amount, 10.0f);
    EXPECT_TRUE(a.contactDamage.contactOnly);
    EXPECT_EQ(a.acidDamage.tier, 2);
    EXPECT_EQ(a.projectileOnDeath, "spores");
    EXPECT_TRUE(a.destroyOnContact && a.wakeNeighboursOnDeath && a.activatesBarrels);
    EXPECT_FALSE(a.seenBeforeAttackCheck);
    EXPECT_EQ(a.attachedDirection, iVector2(0, 6));
    EXPECT_EQ(a.allyGroup, FactionMask::Mirethan | FactionMask::Gleamer);
    EXPECT_EQ(a.enemies, FactionMask::Player);
    EXPECT_TRUE(a.persistent);
    EXPECT_FALSE(a.resetWithEarth);
    EXPECT_EQ(a.dropResource, "ore");
    EXPECT_EQ(a.goodDropResource, "gem");
    EXPECT_EQ(a.goodDropChance, 0.25f);
    EXPECT_EQ(a.attackedEffect, "hurt_fx");
    EXPECT_EQ(a.attackedEffectOffset, fpVector2(1, 2));
    EXPECT_EQ(a.endEffect, "end_fx");
    EXPECT_EQ(a.endEffectOffset, fpVector2(3, 4));
    EXPECT_EQ(a.spawnSound, "s_spawn");
    EXPECT_EQ(a.endSound, "s_end");
    EXPECT_EQ(a.attackedSound, "s_hit");
    EXPECT_EQ(a.attackedInvulnerableSound, "s_clang");
    EXPECT_EQ(a.crushedSound, "s_crush");
    EXPECT_EQ(a.idleSound, "s_idle");
    EXPECT_EQ(a.walkSound, "s_walk");
    EXPECT_EQ(a.slideSound, "s_slide");
    EXPECT_EQ(a.rumbleSound, "s_rumble");
    EXPECT_EQ(a.ladderSound, "s_ladder");
    EXPECT_EQ(a.constantSound, "s_hum");
    EXPECT_EQ(a.constantSoundDistance, 240.0f);
    EXPECT_EQ(a.walkOnSound, "s_plate");
    EXPECT_EQ(a.idleSoundTime, 6.0f);
    EXPECT_EQ(a.idleSoundRandomTime, 2.0f);
    EXPECT_EQ(a.projectileSpawnOffset, fpVector2(0, -20));
    EXPECT_EQ(a.lightRefillMultiplier, 1.5f);
    EXPECT_TRUE(a.autoRefillLight);
    EXPECT_EQ(a.damageReduction, 0.25f);
    EXPECT_EQ(a.hitPointRegeneration, 0.1f);
    EXPECT_EQ(a.waterReduction, 0.3f);
    EXPECT_EQ(a.chargeJumpFactor, 1.0f); // no key sets it
    EXPECT_EQ(a.waterRegeneration, 0.05f);
    EXPECT_EQ(a.drainWaterEffect, "drain_fx");
    EXPECT_EQ(a.drainWaterMultiplier, 2.0f);
    EXPECT_EQ(a.runningEffect, "run_fx");
    EXPECT_EQ(a.runningEffectOffset, fpVector2(-6, 0));
    EXPECT_EQ(a.runningEffectFrequency, 8.0f);
    EXPECT_EQ(a.steamJumpEffect, "steam_fx");
    EXPECT_EQ(a.steamJumpTrailEffect, "trail_fx");
    EXPECT_EQ(a.steamJumpTrailRandomOffset, fpVector2(4, 5));
    EXPECT_EQ(a.steamJumpTrailFrequency, 20.0f);
    EXPECT_EQ(a.doubleJumpWaterDrain, 1.0f);
    EXPECT_EQ(a.slideEffect, "slide_fx");
    EXPECT_EQ(a.slideEffectFrequency, 10.0f);
    EXPECT_EQ(a.slideEffectRandomOffset, fpVector2(2, 6));
    EXPECT_EQ(a.sameTypeRejectionRadius, 100.0f);
    EXPECT_TRUE(a.rejectStandingOnDifferentType && a.rejectOthersOnTop);
    EXPECT_EQ(a.firstConversation, "hello");

    ASSERT_EQ(a.weapons.size(), 1u);
    const ActorDefinition::Weapon& w = a.weapons[0];
    EXPECT_EQ(w.attackType, AttackType::Laser);
    EXPECT_EQ(w.attackDamage.amount, 2.0f);
    EXPECT_EQ(w.attackDamage.tier, 3);
    EXPECT_EQ(w.chargeDamage.amount, 5.0f);
    EXPECT_EQ(w.animationInput, "swing");
    EXPECT_EQ(w.idleAnimation, "rest");
    EXPECT_EQ(w.iconSprite, "icon");
    EXPECT_EQ(w.name, "pick");
    EXPECT_EQ(w.attackSound, "w_attack");
    EXPECT_EQ(w.pitchPerHit, 0.05f);
    EXPECT_EQ(w.missSound, "w_miss");
    EXPECT_EQ(w.hitSound, "w_hit");
    EXPECT_EQ(w.invulnerableTargetSound, "w_clang");
    EXPECT_EQ(w.invulnerableTargetEffect, "w_spark");
    EXPECT_EQ(w.chargingSound, "w_charging");
    EXPECT_EQ(w.chargedSound, "w_charged");
    EXPECT_EQ(w.constantAttackSound, "w_loop");
    EXPECT_EQ(w.requiredUpgrade, "pick_1");
    EXPECT_EQ(w.missEffect, "w_miss_fx");
    EXPECT_EQ(w.missEffectOffset, fpVector2(5, 6));
    EXPECT_EQ(w.attackEffect, "w_fx");
    EXPECT_EQ(w.attackEffectOffset, fpVector2(7, 8));
    EXPECT_TRUE(w.attackEffectScalesWithCharge);
    EXPECT_EQ(w.projectileName, "bolt");
    EXPECT_TRUE(w.attackOnlyOnGround);
    EXPECT_EQ(w.attackTime, 0.2f);
    EXPECT_EQ(w.chargeTime, 0.8f);
    EXPECT_EQ(w.pitchTime, 1.5f);
    EXPECT_EQ(w.cooldown, 0.3f);
    EXPECT_EQ(w.repeatTime, 0.1f);
    EXPECT_EQ(w.waterDrain, 0.25f);
    EXPECT_EQ(w.minimumWater, 0.5f);
    EXPECT_EQ(w.spawnOffset, fpVector2(16, -14));
    EXPECT_EQ(w.trajectory.angle, -30.0f); // as written, not converted
    EXPECT_EQ(w.trajectory.angleVariance, 4.0f);
    EXPECT_EQ(w.trajectory.force, 320.0f);
    EXPECT_EQ(w.trajectory.forceVariance, 20.0f);
    EXPECT_TRUE(w.trajectory.aimAtTarget && w.trajectory.ignoreAimAngle);
    EXPECT_EQ(w.chargeLight.sprite, "glow");
    EXPECT_EQ(w.chargeLight.scale, 0.8f);
    EXPECT_FALSE(w.chargeLight.loop);

    ASSERT_EQ(a.tools.size(), 1u);
    const ActorDefinition::Tool& t = a.tools[0];
    EXPECT_EQ(t.name, "lamp");
    EXPECT_EQ(t.requiredUpgrade, "lamp_kit");
    EXPECT_EQ(t.countedUpgrade, "lamp");
    EXPECT_EQ(t.iconSprite, "icon_lamp");
    EXPECT_EQ(t.useSound, "build");
    EXPECT_TRUE(t.isBuilding);
}

TEST(ActorDefinition, TemplateListsComeFirstAndPartialGroupsDefaultToTheirSibling) {
    const auto registry = actors(R"(
        <Actor><Name>base</Name><HitPoints>3</HitPoints>
          <Drop Resource="ore" GoodResource="gem"/><FallDamage Sound="thud" CriticalSound="crack"/>
          <Cannon Name="gun" MaxAngle="45" Length="10"/>
          <Weapons><Weapon><Name>w1</Name><AttackCooldown>2</AttackCooldown></Weapon><Weapon><Name>w2</Name></Weapon></Weapons>
          <Tools><Tool><Name>t1</Name></Tool></Tools></Actor>
        <Actor><Name>child</Name><Template>base</Template>
          <Drop Resource="egg"/><FallDamage Sound="splat"/><Cannon Length="12"/>
          <Weapons><Gun><Name>w3</Name></Gun></Weapons><Tools><Tool><Name>t2</Name></Tool></Tools></Actor>
        <Actor><Name>untouched</Name><Template>base</Template><Drop GoodResourceChance="0.5"/></Actor>)");
    const ActorDefinition& child = registry->get("child");
    EXPECT_EQ(child.hitPoints, 3.0f);
    ASSERT_EQ(child.weapons.size(), 3u); // a child named "Gun" is a weapon too
    EXPECT_EQ(child.weapons[0].name, "w1");
    EXPECT_EQ(child.weapons[1].name, "w2");
    EXPECT_EQ(child.weapons[2].name, "w3");
    EXPECT_EQ(child.weapons[2].cooldown, 0.0f); // a fresh weapon, not a copy of one of the template's
    ASSERT_EQ(child.tools.size(), 2u);
    EXPECT_EQ(child.tools[1].name, "t2");
    EXPECT_EQ(child.dropResource, "egg");
    EXPECT_EQ(child.goodDropResource, "egg"); // not the inherited "gem"
    EXPECT_EQ(child.fallSound, "splat");
    EXPECT_EQ(child.criticalFallSound, "splat");
    EXPECT_EQ(child.cannonName, "gun");
    EXPECT_EQ(child.cannonLength, 12.0f);
    EXPECT_FLOAT_EQ(child.cannonMaximumAngle, 45.0f * 3.1415927f / 180.0f);

    // A group without the sibling key takes the sibling's kept value.
    const ActorDefinition& untouched = registry->get("untouched");
    EXPECT_EQ(untouched.dropResource, "ore");
    EXPECT_EQ(untouched.goodDropResource, "ore");
    EXPECT_EQ(untouched.goodDropChance, 0.5f);
    EXPECT_EQ(registry->get("base").weapons.size(), 2u);
}

TEST(ActorDefinition, AimArcOfTheTrajectory) {
    const struct {
        const char* attributes;
        float centre;
        float halfWidth;
    } cases[] = {
        {R"(Angle="45")", 0.0f, 0.0f},
        // The short way round through 0; the centre is not wrapped back.
        {R"(AngleMin="350" AngleMax="10")", 6.2831855f, 0.17453289f},
        {R"(AngleMin="10" AngleMax="350")", 0.0f, -0.17453289f},
        {R"(AngleMin="0" AngleMax="90")", 0.7853982f, 0.7853982f},
        // A missing end is 0 degrees.
        {R"(AngleMin="30")", 0.2617994f, -0.2617994f},
        {R"(AngleMax="-90")", -0.7853982f, -0.7853982f},
    };
    for (const auto& c : cases) {
        const auto registry = actors(std::string("<Actor><Name>a</Name><Weapons><Weapon><Trajectory ") + c.attributes +
                                     "/></Weapon></Weapons></Actor>");
        const WeaponTrajectory& t = registry->get("a").weapons.at(0).trajectory;
        EXPECT_NEAR(t.aimArcCentre, c.centre, 1e-6f) << c.attributes;
        EXPECT_NEAR(t.aimArcHalfWidth, c.halfWidth, 1e-6f) << c.attributes;
    }
}

TEST(ActorDefinition, ConvertedKeys) {
    const auto registry = actors(R"(<Actor><Name>a</Name><Cannon MaxAngle="180"/><AttachedDirection>2;-3</AttachedDirection>
        <SpecialType>Player</SpecialType><AllyGroup>gleamer;;barrel</AllyGroup><Enemies> player</Enemies>
        <Weapons><W><AttackType>turtle_projectile</AttackType></W><W><AttackType>Laser</AttackType></W></Weapons></Actor>)");
    const ActorDefinition& a = registry->get("a");
    EXPECT_EQ(a.cannonMaximumAngle, 3.1415927f);
    EXPECT_EQ(a.attachedDirection, iVector2(2, -3));
    EXPECT_EQ(a.specialType, SpecialType::None); // names compare exactly
    EXPECT_EQ(a.allyGroup, FactionMask::Gleamer | FactionMask::Barrel);
    EXPECT_EQ(a.enemies, 0u);
    EXPECT_EQ(a.weapons[0].attackType, AttackType::TurtleProjectile);
    EXPECT_EQ(a.weapons[1].attackType, AttackType::Player);
}

TEST(ActorDefinition, MalformedValuesFailTheDefinitionNamingFileAndActor) {
    const std::string conversion = "bad lexical cast: source type value could not be interpreted as target";
    const struct {
        const char* keys;
        std::string reason;
    } cases[] = {
        {"<AttachedDirection>1.5;2</AttachedDirection>", conversion},
        {"<VulnerableDirection>1</VulnerableDirection>", conversion},
        {R"(<AttackedEffect Offset="1, 2">fx</AttackedEffect>)", conversion},
        {"<Weapons><Weapon><SpawnOffset>x</SpawnOffset></Weapon></Weapons>", conversion},
        {"<Beams><Beam Angle=\"3\"/></Beams>",
         "Missing attribute: /ActorDefinitions/Actor/Beams/Beam/@Definition"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test::loadFailure(actorRegistry(), kFile,
                                    std::string("<Actor><Name>ok</Name></Actor><Actor><Name>digger</Name>") + c.keys +
                                        "</Actor>"),
                  test::definitionFailure("ActorDefinitions", "Actor", "digger", kFile, c.reason))
            << c.keys;
    }
}

TEST(ActorDefinition, GlobalLookups) {
    EXPECT_EQ(findActorDefinitionPtr("no_such_actor"), nullptr);
    for (auto lookup : {+[](const std::string& n) { findActorDefinition(n); },
                        +[](const std::string& n) { getActorDefinitionPtr(n); }}) {
        try {
            lookup("no_such_actor");
            ADD_FAILURE() << "no error";
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), "Could not find Actor definition 'no_such_actor'");
        }
    }
}

} // namespace
} // namespace zor
