// The attack cycle as step sequences: the charge light, the animation inputs of a switch and
// of a release, repeated strikes, upgrade-locked weapons, and where an aimed shot points.

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"
#include "tests/support/game/ListeningMachine.h"

#include "game/definitions/ActorDefinition.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/Projectile.h"

#include "Framework/core/math/Angle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace zor::test {
namespace {

void loadCycleDefinitions() {
    static const bool loaded = [] {
        loadFixtureDefinitions();
        addDefinitions(actorRegistry(), "cycle actors", R"(
          <Actor><Name>cycler</Name><Template>crawler</Template><HitPoints>10</HitPoints><Water>100</Water>
            <Weapons>
              <Weapon><Name>glow_charger</Name><AttackType>contact</AttackType><AttackDamage Amount="1"/>
                <AnimationInput>swing</AnimationInput>
                <AttackChargeTime>0.5</AttackChargeTime><WaterDrain>3</WaterDrain>
                <ChargeLight Sprite="Sprites/lights;soft_round" Scale="1" Offset="6;-4"/></Weapon>
              <Weapon><Name>poke</Name><AttackType>contact</AttackType><AttackDamage Amount="1"/></Weapon>
              <Weapon><Name>keyed_poke</Name><AttackType>contact</AttackType><AttackDamage Amount="1"/>
                <RequireUpgrade>brass_key</RequireUpgrade></Weapon>
              <Weapon><Name>hammer_loop</Name><AttackType>contact</AttackType><AttackDamage Amount="1"/>
                <AttackTime>0.1</AttackTime><AttackRepeatTime>0.2</AttackRepeatTime></Weapon>
              <Weapon><Name>lobber</Name><AttackType>projectile</AttackType><ProjectileName>spores</ProjectileName>
                <Trajectory AimAtTarget="true" Angle="10" Force="100"/></Weapon>
              <Weapon><Name>charged_lobber</Name><AttackType>projectile</AttackType><ProjectileName>cy_pellet</ProjectileName>
                <AttackChargeTime>1</AttackChargeTime><Trajectory Force="100"/>
                <ChargeDamage Amount="5" Tier="3" TileReduction="3" EnemyAmount="4" KnockbackMultiplier="2"/>
                <AttackSoundHit>plink</AttackSoundHit><AttackSoundCharged>whump</AttackSoundCharged></Weapon>
            </Weapons></Actor>)");
        addDefinitions(projectileRegistry(), "cycle projectiles", R"(
          <Projectile><Name>cy_pellet</Name><CollisionBox>-2;-2;4;4</CollisionBox><CollisionGroup>projectiles</CollisionGroup>
            <TimeFuze>1</TimeFuze><ChargeMultiplierTimeFuze>2</ChargeMultiplierTimeFuze>
            <RadialDamage Amount="1" Tier="1" Radius="30"/></Projectile>)");
        return true;
    }();
    (void)loaded;
}

enum Weapon : std::int32_t { GlowCharger = 0, Poke = 1, KeyedPoke = 2, HammerLoop = 3, Lobber = 4, ChargedLobber = 5 };

constexpr float Step = GameHarness::StepLength;

class AttackCycle : public ::testing::Test {
protected:
    void SetUp() override {
        loadCycleDefinitions();
        harness = std::make_unique<GameHarness>(HarnessOptions(1, "fixture_deep"));
    }

    World& world() { return harness->world(); }
    GameObjectSimulator& objects() { return harness->objects(); }

    ActorObject& spawnCycler(std::int32_t weapon, const fpVector2& at = {400.0f, 200.0f}, float facing = 1.0f) {
        ActorObject& actor = *world().spawnActor("cycler", at, {facing, 0.0f});
        actor.weaponIndex = actor.requestedWeapon = weapon;
        actor.groundState = 1;
        actor.water = 100.0f;
        return actor;
    }
    // The actor's main animation machine becomes one that remembers the cycle's inputs.
    void listen(ActorObject& actor) {
        actor.animationParts[actor.definition().animationState].machine =
            listeningMachine({"swing", "attack", "abort", "not_attack", "jump_fall"});
    }
    static bool sent(ActorObject& actor, const std::string& input) {
        const auto& machine = actor.animationParts[actor.definition().animationState].machine;
        return machine && machine->takeInput(input, false);
    }
    // The actor update's part of the cycle: the attack step and the cooldown's count-down.
    void attackSteps(ActorObject& actor, int steps, bool pressed) {
        for (int i = 0; i < steps; ++i) {
            actor.attackPressed = pressed;
            objects().updateAttack(actor, Step);
            if (actor.weaponCooldown > 0.0f) actor.weaponCooldown -= Step;
        }
    }

    std::unique_ptr<GameHarness> harness;
};

TEST_F(AttackCycle, AFullChargeHeldTwiceItsTimeShowsALightOfStrengthTwoThatGoesWithTheRelease) {
    ActorObject& actor = spawnCycler(GlowCharger);
    listen(actor);
    attackSteps(actor, 1, true);
    EXPECT_TRUE(sent(actor, "swing")) << "the weapon's own input when the attack begins";
    EXPECT_TRUE(sent(actor, "attack"));
    attackSteps(actor, 59, true);
    ASSERT_NE(actor.chargeLightId, 0);
    const LightObject* light = world().findLight(actor.chargeLightId);
    ASSERT_NE(light, nullptr);
    EXPECT_NEAR(light->strength, 2.0f, 1e-4f) << "not clamped at a full charge";
    EXPECT_EQ(light->getPosition(), actor.getPosition() + fpVector2(6.0f, -4.0f));
    EXPECT_NE(std::find(world().shownLights.begin(), world().shownLights.end(), light->id()), world().shownLights.end());
    EXPECT_NEAR(actor.water, 97.0f, 1e-4f);

    const std::int32_t lightId = actor.chargeLightId;
    attackSteps(actor, 1, false);
    EXPECT_EQ(actor.hitCount, 1);
    EXPECT_EQ(actor.chargeLightId, 0);
    world().processRemovals();
    EXPECT_EQ(world().findLight(lightId), nullptr);
}

TEST_F(AttackCycle, ASwitchDropsTheChargeWithAbortAndNoEndInputWhileAReleaseEndsByTheGround) {
    struct Case {
        const char* what;
        std::int32_t groundState;
        bool switches;
        bool abort;
        const char* endInput;  // null: neither end input is sent
        std::int32_t hits;
    };
    const Case cases[] = {
        {"a switch while charging", 1, true, true, nullptr, 0},
        {"a release on the ground", 1, false, false, "not_attack", 1},
        {"a release in the air", 0, false, false, "jump_fall", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ActorObject& actor = spawnCycler(GlowCharger);
        actor.groundState = c.groundState;
        attackSteps(actor, 10, true);
        listen(actor);
        if (c.switches) actor.requestedWeapon = Poke;
        attackSteps(actor, 1, false);
        EXPECT_EQ(sent(actor, "abort"), c.abort);
        EXPECT_EQ(sent(actor, "not_attack"), c.endInput && std::string(c.endInput) == "not_attack");
        EXPECT_EQ(sent(actor, "jump_fall"), c.endInput && std::string(c.endInput) == "jump_fall");
        EXPECT_EQ(actor.hitCount, c.hits);
        EXPECT_EQ(actor.chargeTime, 0.0f);
        EXPECT_EQ(actor.weaponIndex, c.switches ? Poke : GlowCharger);
    }
}

TEST_F(AttackCycle, AWoundUpWeaponRepeatsWhileHeldAndStopsWhenReleased) {
    ActorObject& actor = spawnCycler(HammerLoop);
    attackSteps(actor, 60, true);  // strikes at 0.1, 0.3, 0.5, 0.7 and 0.9 s
    EXPECT_EQ(actor.hitCount, 5);
    attackSteps(actor, 60, false);
    EXPECT_EQ(actor.hitCount, 6) << "the repeat already wound up still strikes, then none";
}

TEST_F(AttackCycle, ALockedWeaponIsTakenByThePlayerOnlyOnceTheUpgradeIsOwned) {
    ActorObject& player = *world().player();
    ActorDefinition armed = player.definition();
    armed.weapons = findActorDefinition("cycler").weapons;
    player.installDefinition(std::make_shared<ActorDefinition>(armed));
    player.weaponIndex = player.requestedWeapon = Poke;
    player.water = 5.0f;
    player.requestedWeapon = KeyedPoke;
    attackSteps(player, 5, true);
    EXPECT_EQ(player.weaponIndex, Poke) << "refused, pressed or not";
    EXPECT_EQ(player.requestedWeapon, KeyedPoke) << "the request stays pending";

    world().progress.items.counts["brass_key"] = 1;
    const std::int32_t hits = player.hitCount;
    attackSteps(player, 1, true);
    EXPECT_EQ(player.weaponIndex, KeyedPoke);
    EXPECT_EQ(player.hitCount, hits) << "no attack starts in the step of a switch";
    EXPECT_GE(player.weaponCooldown + Step, 0.01f - 1e-6f);

    ActorObject& cycler = spawnCycler(Poke);
    world().progress.items.counts.erase("brass_key");
    cycler.requestedWeapon = KeyedPoke;
    attackSteps(cycler, 1, false);
    EXPECT_EQ(cycler.weaponIndex, KeyedPoke) << "only the player needs the upgrade";
}

TEST_F(AttackCycle, AnAimedShotPointsAtTheFeetFromAboveAndAtTheCentreFromBelow) {
    // The cycler's box is 24 x 16 above its position: its centre is 8 px above it. The
    // attacker stands at (400, 200), centre (400, 192).
    const float turn = 2.0f * 10.0f * kPi / 180.0f;  // twice the trajectory's Angle, facing right
    struct Case {
        const char* what;
        fpVector2 target;
        float facing;
        float expected;
    };
    const Case cases[] = {
        {"target below: its feet", {500.0f, 300.0f}, 1.0f, std::atan2(108.0f, 100.0f) - turn},
        {"target above: its centre", {500.0f, 100.0f}, 1.0f, std::atan2(-100.0f, 100.0f) - turn},
        {"centres level: its feet", {500.0f, 200.0f}, 1.0f, std::atan2(8.0f, 100.0f) - turn},
        {"facing left: no turn", {300.0f, 300.0f}, -1.0f, std::atan2(108.0f, -100.0f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        ActorObject& attacker = spawnCycler(Lobber, {400.0f, 200.0f}, c.facing);
        ActorObject& target = *world().spawnActor("crawler", c.target, {1.0f, 0.0f});
        attacker.targetId = target.id();
        objects().performAttack(attacker);
        // Angles are compared round the circle: fpVector2::angle counts from 0 to 2 pi.
        EXPECT_NEAR(std::remainder(attacker.aimAngle - c.expected, 2.0f * kPi), 0.0f, 1e-5f) << attacker.aimAngle;
        EXPECT_EQ(world().projectiles().size(), 1u);
    }
    SetUp();
    ActorObject& attacker = spawnCycler(Lobber);
    attacker.aimAngle = 0.5f;
    objects().performAttack(attacker);
    EXPECT_EQ(attacker.aimAngle, 0.5f) << "without a target nothing is aimed";
    EXPECT_EQ(world().projectiles().size(), 0u) << "and nothing thrown";
}

TEST_F(AttackCycle, AChargedShotGainsItsChargeShareWithAmountTierAndTileReductionTruncated) {
    // The pellet's own damage: Amount 1, Tier 1, KnockbackMultiplier 1; fuze 1 s.
    struct Case {
        float chargeTime;
        float amount;
        std::int32_t tier;
        std::int32_t tileReduction;
        float enemyAmount;
        float knockbackMultiplier;
        float fuze;
    };
    const Case cases[] = {
        {0.1f, 1.0f, 1, 0, 0.4f, 1.2f, 1.2f},  // 0.5 and 0.3 truncate to nothing
        {0.5f, 3.0f, 2, 1, 2.0f, 2.0f, 2.0f},
        {2.0f, 6.0f, 4, 3, 4.0f, 3.0f, 3.0f},  // held past the full charge: f is 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chargeTime);
        SetUp();
        ActorObject& thrower = spawnCycler(ChargedLobber);
        thrower.chargeTime = c.chargeTime;
        objects().performAttack(thrower);
        ASSERT_EQ(world().projectiles().size(), 1u);
        const Projectile& pellet = *world().projectiles().begin()->second;
        const DamageData& damage = pellet.damage.damage;
        EXPECT_FLOAT_EQ(damage.amount, c.amount);
        EXPECT_EQ(damage.tier, c.tier);
        EXPECT_EQ(damage.tileReduction, c.tileReduction);
        EXPECT_FLOAT_EQ(damage.enemyAmount, c.enemyAmount);
        EXPECT_FLOAT_EQ(damage.knockbackMultiplier, c.knockbackMultiplier);
        EXPECT_FLOAT_EQ(pellet.fuzeTime, c.fuze);
        EXPECT_EQ(damage.sourceObjectId, thrower.id());
        ASSERT_EQ(thrower.pendingSounds.size(), 1u);
        EXPECT_EQ(thrower.pendingSounds.front(), "whump") << "a charge time over a quarter second";
        EXPECT_EQ(thrower.chargeTime, 0.0f);
    }
}

} // namespace
} // namespace zor::test
