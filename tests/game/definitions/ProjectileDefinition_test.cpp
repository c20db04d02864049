#include "game/definitions/ProjectileDefinition.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/projectiles.xml";

std::unique_ptr<DefinitionRegistry<ProjectileDefinition>> projectiles(const std::string& definitions) {
    return test::loadDefinitions(projectileRegistry(), kFile, definitions);
}

TEST(ProjectileDefinition, DefaultsOfEveryKey) {
    const auto registry = projectiles("<Projectile><Name>bare</Name><RadialDamage/></Projectile>");
    const ProjectileDefinition& p = registry->get("bare");
    EXPECT_EQ(p.timeFuze, 5.0f);
    EXPECT_FALSE(p.contactFuze || p.exhaustivePenetration || p.instantFuze || p.immuneToBeams || p.useWeaponDamage);
    EXPECT_EQ(p.detonationEffect, "");
    EXPECT_EQ(p.detonationSpawn, "");
    EXPECT_EQ(p.detonationEffectOffset, fpVector2(0, 0));
    EXPECT_EQ(p.timeFuzeChargeMultiplier, 0.0f);
    EXPECT_EQ(p.knockbackAmount, 0.0f);
    EXPECT_EQ(p.knockbackRadius, 0.0f);
    EXPECT_EQ(p.knockbackVelocityFactor, 0.0f);
    EXPECT_EQ(p.knockbackStunTime, 0.0f);
    EXPECT_EQ(p.cameraShake, 0.0f);
    EXPECT_EQ(p.cameraShakeDuration, 0.1f);
    // An empty RadialDamage element leaves the damage defaults.
    const RadialDamageData& r = p.radialDamage;
    EXPECT_EQ(r.damage.tier, 666);
    EXPECT_EQ(r.damage.playerInvulnerabilityCooldown, 2.0f);
    EXPECT_EQ(r.damage.knockbackMultiplier, 1.0f);
    EXPECT_EQ(r.radius, 0.0f);
    EXPECT_EQ(r.falloff, CurveType::One);
    EXPECT_EQ(r.tileDamagePattern, 0);
    EXPECT_FALSE(r.canBeNullified);
}

TEST(ProjectileDefinition, ReadsEveryKeyAndKeepsWhatIsAbsent) {
    const auto registry = projectiles(R"(
        <Projectile><Name>bomb</Name><CollisionBox>-4;-4;8;8</CollisionBox><TimeFuze>2.5</TimeFuze>
          <ContactFuze>1</ContactFuze><ExhaustivePenetration>1</ExhaustivePenetration><InstantFuze>1</InstantFuze>
          <ImmuneToBeams>1</ImmuneToBeams><DetonationEffect>boom</DetonationEffect><DetonationSpawn>egg</DetonationSpawn>
          <DetonationEffectOffset>0;-4</DetonationEffectOffset><UseWeaponDamage>1</UseWeaponDamage>
          <ChargeMultiplierTimeFuze>0.5</ChargeMultiplierTimeFuze><CameraShake Duration="0.4">6</CameraShake>
          <RadialDamage Amount="4" Tier="3" Type="enemy_and_tile" Radius="70" Falloff="InvLinear"
                        TileDamagePattern="2" CanBeNullified="yes"/>
          <Knockback Amount="320" Radius="90" VelocityFactor="0.5" StunTime="0.6"/></Projectile>
        <Projectile><Name>dud</Name><Template>bomb</Template><CameraShake>2</CameraShake>
          <RadialDamage Radius="10"/><Knockback Radius="5"/></Projectile>)");
    const ProjectileDefinition& p = registry->get("bomb");
    EXPECT_EQ(p.collisionBox.w, 8.0f);
    EXPECT_EQ(p.timeFuze, 2.5f);
    EXPECT_TRUE(p.contactFuze && p.exhaustivePenetration && p.instantFuze && p.immuneToBeams && p.useWeaponDamage);
    EXPECT_EQ(p.detonationEffect, "boom");
    EXPECT_EQ(p.detonationSpawn, "egg");
    EXPECT_EQ(p.detonationEffectOffset, fpVector2(0, -4));
    EXPECT_EQ(p.timeFuzeChargeMultiplier, 0.5f);
    EXPECT_EQ(p.cameraShake, 6.0f);
    EXPECT_EQ(p.cameraShakeDuration, 0.4f);
    EXPECT_EQ(p.radialDamage.damage.amount, 4.0f);
    EXPECT_EQ(p.radialDamage.damage.tier, 3);
    EXPECT_EQ(p.radialDamage.damage.type, DamageType::EnemyAndTile);
    EXPECT_EQ(p.radialDamage.radius, 70.0f);
    EXPECT_EQ(p.radialDamage.falloff, CurveType::InvLinear);
    EXPECT_EQ(p.radialDamage.tileDamagePattern, 2);
    EXPECT_TRUE(p.radialDamage.canBeNullified);
    EXPECT_EQ(p.knockbackAmount, 320.0f);
    EXPECT_EQ(p.knockbackRadius, 90.0f);
    EXPECT_EQ(p.knockbackVelocityFactor, 0.5f);
    EXPECT_EQ(p.knockbackStunTime, 0.6f);

    // Partial groups change only what they name.
    const ProjectileDefinition& dud = registry->get("dud");
    EXPECT_EQ(dud.cameraShake, 2.0f);
    EXPECT_EQ(dud.cameraShakeDuration, 0.4f);
    EXPECT_EQ(dud.radialDamage.radius, 10.0f);
    EXPECT_EQ(dud.radialDamage.damage.amount, 4.0f);
    EXPECT_EQ(dud.radialDamage.falloff, CurveType::InvLinear);
    EXPECT_EQ(dud.knockbackRadius, 5.0f);
    EXPECT_EQ(dud.knockbackAmount, 320.0f);
    EXPECT_EQ(dud.knockbackVelocityFactor, 0.5f);
    EXPECT_EQ(dud.knockbackStunTime, 0.6f);
}

TEST(ProjectileDefinition, FalloffNames) {
    const struct {
        const char* attribute;
        CurveType falloff;
    } cases[] = {
        {"", CurveType::One},
        {R"(Falloff="Linear")", CurveType::Linear},
        {R"(Falloff="SmoothStep")", CurveType::SmoothStep},
        {R"(Falloff="linear")", CurveType::Zero},
        {R"(Falloff="")", CurveType::Zero},
    };
    for (const auto& c : cases) {
        const auto registry =
            projectiles(std::string("<Projectile><Name>p</Name><RadialDamage ") + c.attribute + "/></Projectile>");
        EXPECT_EQ(registry->get("p").radialDamage.falloff, c.falloff) << c.attribute;
    }
}

TEST(ProjectileDefinition, MalformedOffsetFailsTheDefinition) {
    EXPECT_EQ(test::loadFailure(projectileRegistry(), kFile,
                                "<Projectile><Name>shot</Name><DetonationEffectOffset>1;2;3</DetonationEffectOffset>"
                                "</Projectile>"),
              test::definitionFailure("ProjectileDefinitions", "Projectile", "shot", kFile,
                                      "bad lexical cast: source type value could not be interpreted as target"));
    try {
        getProjectileDefinitionPtr("no_such_projectile");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not find Projectile definition 'no_such_projectile'");
    }
}

} // namespace
} // namespace zor
