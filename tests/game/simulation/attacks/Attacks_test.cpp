// Weapons firing and blasts: the attack cycle's timing, swing reach and charge, wall attacks,
// the fan, area damage by falloff and by the diamond pattern, knockback, and detonations.

#include "tests/game/simulation/digging/DiggingFixture.h"

#include "game/definitions/ActorDefinition.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Projectile.h"

#include "Framework/core/math/Curve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <vector>

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
            </Weapons></Actor>
          <Actor><Name>brawler</Name><Template>crawler</Template><CollisionBox>-20;-20;40;40</CollisionBox>
            <HitPoints>10</HitPoints>
            <Weapons>
              <Weapon><Name>pick</Name><AttackDamage Amount="1" Tier="5"/></Weapon>
              <Weapon><Name>charged_pick</Name><AttackDamage Amount="1" Tier="5"/><AttackChargeTime>1</AttackChargeTime>
                <AttackSoundHit>thud</AttackSoundHit><AttackSoundCharged>crack</AttackSoundCharged></Weapon>
              <Weapon><Name>wall_pick</Name><AttackType>wall</AttackType><AttackDamage Amount="1" Tier="5" TotalHits="1"/></Weapon>
              <Weapon><Name>fan</Name><AttackType>turtle_projectile</AttackType><ProjectileName>spores</ProjectileName>
                <Trajectory Force="100"/></Weapon>
              <Weapon><Name>slow_wall_pick</Name><AttackType>wall</AttackType>
                <AttackDamage Amount="1" Tier="5" TotalHits="3"/></Weapon>
            </Weapons></Actor>)");
        addDefinitions(projectileRegistry(), "attack projectiles", R"(
          <Projectile><Name>blast</Name><CollisionBox>-2;-2;4;4</CollisionBox>
            <CollisionGroup>projectiles</CollisionGroup><TimeFuze>1</TimeFuze>
            <RadialDamage Amount="1" Tier="5" Radius="60" Falloff="One"/>
            <Knockback Amount="200" Radius="80" StunTime="0.5"/></Projectile>
          <Projectile><Name>piercer</Name><CollisionBox>-2;-2;4;4</CollisionBox>
            <CollisionGroup>projectiles</CollisionGroup><TimeFuze>2</TimeFuze><ContactFuze>true</ContactFuze>
            <ExhaustivePenetration>true</ExhaustivePenetration>
            <RadialDamage Amount="1" Tier="5" Radius="10" Filter="contact"/></Projectile>
          <Projectile><Name>blunt_piercer</Name><Template>piercer</Template>
            <ExhaustivePenetration>false</ExhaustivePenetration></Projectile>
          <Projectile><Name>instant_piercer</Name><Template>piercer</Template><InstantFuze>true</InstantFuze></Projectile>)");
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
    // A 40 x 40 swinger centred on `centre`, aiming right.
    ActorObject& spawnBrawler(std::int32_t weapon, const fpVector2& centre) {
        ActorObject& actor = *world().spawnActorFacingRight("brawler", centre);
        actor.weaponIndex = actor.requestedWeapon = weapon;
        actor.water = 100.0f;
        actor.aimDirection = iVector2(1, 0);
        return actor;
    }
    bool touched(const iVector2& cell) { return progress(cell) > 0.0f || !solid(cell); }
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

TEST_F(AttacksTest, AHorizontalSwingOfAFortyPixelBodyReachesFiftyThreePointSixPixels) {
    // The probe column is the centre plus 0.67 x (40 + 40): the wall cell from x = 440 is hit
    // only when the centre is at least 386.4 px across.
    const iVector2 wall(11, 4);
    for (const float centreX : {386.5f, 386.3f}) {
        SCOPED_TRACE(centreX);
        place(wall, Dirt);
        ActorObject& swinger = spawnBrawler(0, {centreX, 180.0f});
        objects().performAttack(swinger);
        EXPECT_EQ(touched(wall), centreX > 386.4f);
        SetUp();
    }
}

TEST_F(AttacksTest, AChargedSwingAddsByItsFractionAndReachesTheExtraCellsOfAFullCharge) {
    // Swinging right from (386.5, 180): probe cell (11, 4); ahead +x, sides +-y.
    const iVector2 probe(11, 4);
    const iVector2 extras[] = {{12, 4}, {11, 5}, {11, 3}, {13, 4}, {12, 5}, {12, 3}};
    const iVector2 beyond(14, 4);
    struct Case {
        float chargeTime;
        float amount;  // what the swing's damage comes to
        std::size_t extraCells;
        const char* sound;
    };
    const Case cases[] = {{0.2f, 3.0f, 0, "thud"}, {0.5f, 6.0f, 3, "crack"}, {1.0f, 11.0f, 6, "crack"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chargeTime);
        place(probe, Dirt);
        for (const iVector2& cell : extras) place(cell, Dirt);
        place(beyond, Dirt);
        // The same hit by hand on a spare cell is what the swing's damage must match.
        const iVector2 spare(3, 2);
        place(spare, Dirt);
        objects().digCell(spare, {1.0f, 0.0f}, hit(c.amount, 5));
        const float expected = progress(spare);

        ActorObject& swinger = spawnBrawler(1, {386.5f, 180.0f});
        swinger.chargeTime = c.chargeTime;
        objects().performAttack(swinger);
        EXPECT_EQ(progress(probe), expected);
        for (std::size_t i = 0; i < std::size(extras); ++i)
            EXPECT_EQ(touched(extras[i]), i < c.extraCells) << extras[i].x << "," << extras[i].y;
        EXPECT_FALSE(touched(beyond));
        ASSERT_EQ(swinger.pendingSounds.size(), 1u);
        EXPECT_EQ(swinger.pendingSounds.front(), c.sound);
        EXPECT_EQ(swinger.chargeTime, 0.0f);
        SetUp();
    }
}

TEST_F(AttacksTest, AWallAttackThatBreaksItsCellBreaksBothNeighboursInOneHitEach) {
    const iVector2 cell(10, 4);
    const iVector2 left(9, 4), right(11, 4), further(12, 4);
    struct Case {
        std::int32_t weapon;
        bool breaks;
    };
    for (const Case c : {Case{2, true}, Case{4, false}}) {  // TotalHits 1 and 3
        SCOPED_TRACE(c.weapon);
        for (const iVector2& at : {cell, left, right, further}) place(at, Dirt);
        ActorObject& clinger = spawnBrawler(c.weapon, {410.0f, 180.0f});
        objects().performAttack(clinger);
        EXPECT_NE(solid(cell), c.breaks);
        EXPECT_NE(solid(left), c.breaks);
        EXPECT_NE(solid(right), c.breaks);
        EXPECT_TRUE(solid(further));
        EXPECT_EQ(progress(further), -1.0f);
        if (!c.breaks) {
            EXPECT_EQ(progress(left), -1.0f);
        }
        SetUp();
    }
}

TEST_F(AttacksTest, TheFanThrowsFourShotsAtItsFixedAnglesAndForces) {
    ActorObject& thrower = spawnBrawler(3, {400.0f, 180.0f});
    objects().performAttack(thrower);
    std::vector<const Projectile*> shots;
    for (const auto& entry : world().gameObjects())
        if (entry.second->kind() == GameObjectKind::Projectile)
            shots.push_back(static_cast<const Projectile*>(entry.second));
    std::sort(shots.begin(), shots.end(), [](const Projectile* a, const Projectile* b) { return a->id() < b->id(); });
    struct Shot {
        float angle;
        float speed;
    };
    const Shot expected[] = {{-2.5632741f, 80.0f}, {-1.8849556f, 100.0f}, {-1.2566371f, 100.0f}, {-0.5783185f, 80.0f}};
    ASSERT_EQ(shots.size(), std::size(expected));
    for (std::size_t i = 0; i < shots.size(); ++i) {
        SCOPED_TRACE(i);
        const fpVector2 velocity = shots[i]->physicalObject.velocity;
        EXPECT_NEAR(std::atan2(velocity.y, velocity.x), expected[i].angle, 1e-5f);
        EXPECT_NEAR(velocity.length(), expected[i].speed, 1e-3f);
        EXPECT_EQ(shots[i]->ownerId, thrower.id());
        EXPECT_EQ(shots[i]->damage.damage.sourceObjectId, thrower.id());
    }
}

TEST_F(AttacksTest, AnAreaDetonationHurtsPushesAndDigsWithinItsRadiusAndIsRemoved) {
    const fpVector2 centre(400.0f, 180.0f);
    ActorObject& near = *world().spawnActorFacingRight("gunner", {430.0f, 196.0f});
    ActorObject& far = *world().spawnActorFacingRight("gunner", {560.0f, 196.0f});
    const float full = near.hitPoints;
    const iVector2 inside(9, 4), outside(14, 4);
    place(inside, Dirt);
    place(outside, Dirt);
    Projectile* blast = world().spawnProjectile("blast", centre, 0);
    ASSERT_NE(blast, nullptr);
    const std::int32_t blastId = blast->id();
    objects().explodeProjectile(*blast);

    EXPECT_LT(near.hitPoints, full);
    EXPECT_GT(near.physicalObject.velocity.x, 0.0f);
    EXPECT_GT(near.knockbackTime, 0.0f);
    EXPECT_EQ(far.hitPoints, full);
    EXPECT_TRUE(far.physicalObject.velocity.isZero());
    EXPECT_TRUE(touched(inside));
    EXPECT_EQ(progress(outside), -1.0f);
    EXPECT_TRUE(solid(outside));
    EXPECT_EQ(world().findGameObject(blastId), nullptr);
}

TEST_F(AttacksTest, APiercingShotFliesOnWithWhatItsVictimDidNotAbsorbWhileItsFuzeLasts) {
    // The gunner has 10 hit points: a hit of 14 leaves 4 over, one of 6 nothing.
    struct Case {
        const char* what;
        const char* projectile;
        float amount;
        float fuze;
        bool stays;
    };
    const Case cases[] = {
        {"damage left over", "piercer", 14.0f, 1.0f, true},
        {"all absorbed", "piercer", 6.0f, 1.0f, false},
        {"fuze run out", "piercer", 14.0f, -0.1f, false},
        {"no penetration", "blunt_piercer", 14.0f, 1.0f, false},
        {"an instant fuze", "instant_piercer", 14.0f, 1.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        ActorObject& victim = spawnGunner(1);
        Projectile& shot = *world().spawnProjectile(c.projectile, {380.0f, 190.0f}, 0);
        ASSERT_TRUE(shot.damage.damage.contactOnly);
        const std::int32_t shotId = shot.id();
        shot.damage.damage.amount = c.amount;
        shot.fuzeTime = c.fuze;
        shot.targetId = victim.id();
        shot.contactGroups = CollisionGroup::Enemies;
        shot.contactNormal = {-1.0f, 0.0f};
        objects().explodeProjectile(shot);
        EXPECT_LT(victim.hitPoints, 10.0f);
        const GameObject* after = world().findGameObject(shotId);
        EXPECT_EQ(after != nullptr && after->alive(), c.stays);
        if (c.stays) {
            EXPECT_FLOAT_EQ(shot.damage.damage.amount, 4.0f);
            EXPECT_EQ(shot.targetId, 0) << "ready for its next victim";
            EXPECT_EQ(shot.contactGroups, 0u);
        }
    }
}

} // namespace
} // namespace zor::test
