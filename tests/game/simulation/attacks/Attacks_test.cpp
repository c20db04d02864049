// Weapons firing and blasts: the attack cycle's timing, area damage by falloff and by the
// diamond pattern, knockback, and contact detonations.

#include "tests/game/simulation/digging/DiggingFixture.h"

#include "game/definitions/ActorDefinition.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Projectile.h"

#include "Framework/core/math/Curve.h"

#include <cstdlib>

namespace zor::test {
namespace {

void loadAttackDefinitions() {
    static const bool loaded = [] {
        loadDiggingDefinitions();
        addDefinitions(actorRegistry(), "attack actors", R"(
          <Actor><Name>gunner</Name><Template>crawler</Template><HitPoints>10</HitPoints>
            <Weapons>
              <Weapon><Name>charger</Name><AttackType>contact</AttackType><AttackDamage Amount="1"/>
                <AttackChargeTime>0.5</AttackChargeTime><WaterDrain>3</WaterDrain></Weapon>
              <Weapon><Name>jab</Name><AttackType>contact</AttackType><AttackDamage Amount="1"/>
                <AttackCooldown>0.2</AttackCooldown></Weapon>
              <Weapon><Name>heavy</Name><AttackType>contact</AttackType><AttackDamage Amount="1"/>
                <AttackTime>0.1</AttackTime><WaterDrain>1</WaterDrain><MinWater>5</MinWater></Weapon>
              <Weapon><Name>pick</Name><AttackDamage Amount="1" Tier="5"/></Weapon>
            </Weapons></Actor>)");
        return true;
    }();
    (void)loaded;
}

constexpr float Step = 1.0f / 60.0f;

class AttacksTest : public DiggingTest {
protected:
    void SetUp() override {
        loadAttackDefinitions();
        DiggingTest::SetUp();
    }

    ActorObject& spawnGunner(std::int32_t weapon) {
        ActorObject& actor = *world().spawnActorFacingRight("gunner", {400, 200});
        actor.weaponIndex = actor.requestedWeapon = weapon;
        actor.water = 100.0f;
        return actor;
    }
    void attackSteps(ActorObject& actor, int steps, bool pressed) {
        for (int i = 0; i < steps; ++i) {
            actor.attackPressed = pressed;
            objects().updateAttack(actor, Step);
            if (actor.weaponCooldown > 0.0f) actor.weaponCooldown -= Step;
        }
    }
};

TEST_F(AttacksTest, AChargeHeldTwiceItsTimeDrainsExactlyTheDrainAndFiresOnceOnRelease) {
    ActorObject& actor = spawnGunner(0);
    attackSteps(actor, 60, true);
    EXPECT_NEAR(actor.water, 97.0f, 1e-4f);
    EXPECT_NEAR(actor.chargeTime, 1.0f, 1e-4f);
    EXPECT_EQ(actor.hitCount, 0);
    attackSteps(actor, 3, false);
    EXPECT_EQ(actor.hitCount, 1);
    EXPECT_EQ(actor.chargeTime, 0.0f);
}

TEST_F(AttacksTest, ASwitchWhileChargingDropsTheChargeWithoutAStrike) {
    ActorObject& actor = spawnGunner(0);
    attackSteps(actor, 10, true);
    actor.requestedWeapon = 1;
    attackSteps(actor, 1, false);
    EXPECT_EQ(actor.weaponIndex, 1);
    EXPECT_EQ(actor.hitCount, 0);
    EXPECT_EQ(actor.chargeTime, 0.0f);
}

TEST_F(AttacksTest, RequestsOutsideTheWeaponListAreNeverTakenAndABadIndexNeverFires) {
    for (const std::int32_t request : {4, 7, -1}) {
        SCOPED_TRACE(request);
        ActorObject& actor = spawnGunner(1);
        actor.requestedWeapon = request;
        attackSteps(actor, 1, true);
        EXPECT_EQ(actor.weaponIndex, 1);
        EXPECT_EQ(actor.hitCount, 1);
    }
    // An instruction may leave any index behind: the actor then never attacks.
    ActorObject& actor = spawnGunner(1);
    actor.weaponIndex = actor.requestedWeapon = 9;
    attackSteps(actor, 5, true);
    objects().performAttack(actor);
    EXPECT_EQ(actor.hitCount, 0);
}

TEST_F(AttacksTest, AnInstantWeaponStrikesOncePerCooldownAndAWindUpIsCancelledWhenUnusable) {
    ActorObject& jabber = spawnGunner(1);
    attackSteps(jabber, 12, true);  // 0.2 s: the cooldown lets only one strike through
    EXPECT_EQ(jabber.hitCount, 1);

    ActorObject& heavy = spawnGunner(2);
    attackSteps(heavy, 1, true);
    EXPECT_GT(heavy.attackTimer, 0.0f);
    heavy.water = 5.0f;  // at MinWater the weapon cannot be used
    attackSteps(heavy, 10, false);
    EXPECT_EQ(heavy.hitCount, 0);
    EXPECT_EQ(heavy.attackTimer, 0.0f);
}

TEST_F(AttacksTest, ASwingHurtsAnAcceptingVictimInsteadOfDiggingAndDigsPastARefusingOne) {
    const iVector2 wall(11, 4);  // the probe cell 42.9 px right of the swinger's centre
    for (const bool refuses : {false, true}) {
        SCOPED_TRACE(refuses);
        place(wall, Dirt);
        ActorObject& swinger = spawnGunner(3);
        swinger.aimDirection = iVector2(1, 0);
        ActorObject& victim = *world().spawnActorFacingRight("crawler", {425, 200});
        victim.invulnerable = refuses;
        const float full = victim.hitPoints;
        objects().performAttack(swinger);
        EXPECT_EQ(victim.hitPoints < full, !refuses);
        EXPECT_EQ(progress(wall) > 0.0f || !solid(wall), refuses);
        SetUp();  // removal waits for the frame: start the next case in a fresh game
    }
}

TEST_F(AttacksTest, AreaDamageFollowsTheFalloffCurveAndNothingPastTheLastCurve) {
    struct Case {
        std::int32_t falloff;
        float t;
        float expected;
    };
    const Case cases[] = {{std::int32_t(CurveType::Linear), 0.25f, 2.5f},
                          {std::int32_t(CurveType::One), 0.9f, 10.0f},
                          {12, 0.5f, 0.0f},
                          {-1, 0.5f, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.falloff);
        RadialDamageData radial;
        radial.damage.amount = 10.0f;
        radial.damage.enemyAmount = 10.0f;
        radial.falloff = CurveType(c.falloff);
        const DamageData damage = objects().radialDamageAt(radial, c.t);
        EXPECT_FLOAT_EQ(damage.amount, c.expected);
        EXPECT_FLOAT_EQ(damage.enemyAmount, c.expected);
    }
}

TEST_F(AttacksTest, ADiamondOfTwoBreaksTheInnerFiveAndHalfBreaksTheRingOfEight) {
    const iVector2 centre(10, 4);
    for (std::int32_t y = 2; y <= 6; ++y)
        for (std::int32_t x = 8; x <= 12; ++x) place({x, y}, Dirt);
    RadialDamageData radial;
    radial.radius = 40.0f;
    radial.falloff = CurveType::Zero;
    radial.tileDamagePattern = 2;
    objects().radialDamage(radial, {centre.x * TileSize + 20.0f, centre.y * TileSize + 20.0f});
    for (std::int32_t y = 2; y <= 6; ++y)
        for (std::int32_t x = 8; x <= 12; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const std::int32_t m = std::abs(x - centre.x) + std::abs(y - centre.y);
            EXPECT_EQ(solid({x, y}), m > 1);
            if (m == 2) {
                EXPECT_GT(progress({x, y}), 0.0f);
            } else if (m > 2) {
                EXPECT_EQ(progress({x, y}), -1.0f);
            }
        }
}

TEST_F(AttacksTest, KnockbackPushesAwayByDistanceStraightUpAtTheCentreAndNeverOnALadder) {
    ActorObject& actor = spawnGunner(1);
    const fpVector2 centre = actor.center();
    actor.physicalObject.velocity = {};
    objects().radialKnockback(centre, 100.0f, 50.0f, 0.5f);
    EXPECT_EQ(actor.physicalObject.velocity.x, 0.0f);
    EXPECT_LT(actor.physicalObject.velocity.y, 0.0f);
    EXPECT_FLOAT_EQ(actor.knockbackTime, 0.5f);

    actor.physicalObject.velocity = {};
    objects().radialKnockback(centre - fpVector2(50.0f, 0.0f), 100.0f, 50.0f, 0.5f);
    EXPECT_GT(actor.physicalObject.velocity.x, 0.0f);

    actor.physicalObject.velocity = {};
    actor.climbing = 1;
    objects().radialKnockback(centre, 100.0f, 50.0f, 0.5f);
    EXPECT_TRUE(actor.physicalObject.velocity.isZero());
}

TEST_F(AttacksTest, AContactDetonationHurtsOnlyAnActorTarget) {
    ActorObject& victim = spawnGunner(1);
    const float full = victim.hitPoints;
    // A projectile aimed at a non-actor: nothing is hurt and the shot is spent.
    Projectile* stray = world().spawnProjectile("spores", {300, 200}, 0);
    ASSERT_NE(stray, nullptr);
    stray->damage.damage.contactOnly = true;
    stray->targetId = stray->id();
    const std::int32_t strayId = stray->id();
    objects().explodeProjectile(*stray);
    EXPECT_EQ(victim.hitPoints, full);
    EXPECT_EQ(world().findGameObject(strayId), nullptr);

    Projectile* shot = world().spawnProjectile("spores", {300, 200}, 0);
    shot->damage.damage.contactOnly = true;
    shot->damage.damage.tier = 5;
    shot->targetId = victim.id();
    shot->contactNormal = {-1.0f, 0.0f};
    objects().explodeProjectile(*shot);
    EXPECT_LT(victim.hitPoints, full);
}

} // namespace
} // namespace zor::test
