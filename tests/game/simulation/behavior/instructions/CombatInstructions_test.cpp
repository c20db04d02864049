// Finding an enemy, aiming and sweeping a cannon, attacking and the weapon flags.

#include "tests/game/simulation/behavior/instructions/EnemyInstructionFixture.h"

#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/math/Angle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zor::test {
namespace {

constexpr float Step = 0.1f;
// Hunters stand here; bodies are 20 x 20 above the position.
const fpVector2 Home{600.0f, 320.0f};

TEST_F(EnemyInstructionTest, FindEnemySearchesTheSquareAroundTheBodyCentre) {
    // Prey body centres relative to the hunter's; the prey's body reaches 10 px each way.
    const struct {
        fpVector2 offset;
        bool found;
    } cases[] = {{{109.0f, 0.0f}, true},   {{111.0f, 0.0f}, false}, {{0.0f, -109.0f}, true},
                 {{0.0f, 111.0f}, false},  {{105.0f, 105.0f}, true}, {{-105.0f, -105.0f}, true}};
    for (const auto& row : cases) {
        ActorObject& hunter = spawn("e_find", Home);
        ActorObject& prey = spawn("e_prey", Home + row.offset);
        tick(hunter, Step);
        EXPECT_EQ(state(hunter), row.found ? "found" : "lost") << row.offset.x << "," << row.offset.y;
        EXPECT_EQ(hunter.targetId, row.found ? prey.id() : 0);
        world().removeEntity(&hunter);
        world().removeEntity(&prey);
        world().processRemovals();
    }
}

TEST_F(EnemyInstructionTest, FindEnemyTakesTheNearestAndTheFirstCollectedOnATie) {
    ActorObject& hunter = spawn("e_find", Home);
    ActorObject& far = spawn("e_prey", Home + fpVector2(50.0f, 0.0f));
    ActorObject& near = spawn("e_prey", Home + fpVector2(-30.0f, 0.0f));
    tick(hunter, Step);
    EXPECT_EQ(hunter.targetId, near.id());

    near.setPosition(Home + fpVector2(-50.0f, 0.0f));
    std::vector<PhysicalObject*> order;
    physics().queryBodies({Home.x - 100.0f, Home.y - 110.0f, 200.0f, 200.0f}, CollisionGroup::Actors, order);
    const ActorObject* first = nullptr;
    for (const PhysicalObject* body : order)
        if (body->ownerEntity == &far || body->ownerEntity == &near) {
            first = static_cast<const ActorObject*>(body->ownerEntity);
            break;
        }
    ASSERT_NE(first, nullptr);
    hunter.behaviorMachine->changeState("look");
    tick(hunter, Step);
    EXPECT_EQ(hunter.targetId, first->id());
}

TEST_F(EnemyInstructionTest, FindEnemySkipsAlliesBusyActorsAndTheUnseenWhenTheHunterChecks) {
    const struct {
        const char* hunter;
        bool preyIsAlly;
        std::uint32_t busy;
        bool hunterSeen;
        bool preySeen;
        bool found;
    } cases[] = {
        {"e_find", true, 0, false, false, true},  {"e_find", false, 0, false, false, false},
        {"e_find", true, 1, false, false, false}, {"e_wary", true, 0, false, false, false},
        {"e_wary", true, 0, true, false, true},   {"e_wary", true, 0, false, true, true},
    };
    for (const auto& row : cases) {
        ActorObject& hunter = spawn(row.hunter, Home);
        ActorObject& prey = spawn(row.preyIsAlly ? "e_prey" : "e_stranger", Home + fpVector2(40.0f, 0.0f));
        prey.busyFlags = row.busy;
        hunter.hasBeenSeen = row.hunterSeen;
        prey.hasBeenSeen = row.preySeen;
        tick(hunter, Step);
        EXPECT_EQ(state(hunter), row.found ? "found" : "lost")
            << row.hunter << " ally " << row.preyIsAlly << " busy " << row.busy << " seen " << row.hunterSeen
            << row.preySeen;
        world().removeEntity(&hunter);
        world().removeEntity(&prey);
        world().processRemovals();
    }
}

TEST_F(EnemyInstructionTest, FindEnemyAheadLooksTheWayTheActorFaces) {
    const struct {
        float facing;
        float preyOffset;
        bool found;
    } cases[] = {{1.0f, 40.0f, true}, {1.0f, -40.0f, false}, {-1.0f, -40.0f, true}, {-1.0f, 40.0f, false},
                 // Only OffsetX ahead does the search begin.
                 {1.0f, -5.0f, false}, {1.0f, 85.0f, false}};
    for (const auto& row : cases) {
        ActorObject& hunter = spawn("e_ahead", Home);
        hunter.facing = {row.facing, 0.0f};
        ActorObject& prey = spawn("e_prey", Home + fpVector2(row.preyOffset, 0.0f));
        tick(hunter, Step);
        EXPECT_EQ(state(hunter), row.found ? "found" : "lost") << row.facing << " " << row.preyOffset;
        world().removeEntity(&hunter);
        world().removeEntity(&prey);
        world().processRemovals();
    }
}

TEST_F(EnemyInstructionTest, ACannonTargetsOnlyWithinItsArc) {
    // MaxAngle 45 degrees around facing right; the muzzle is the position.
    const struct {
        fpVector2 preyPosition;
        bool found;
    } cases[] = {{{0.0f, -100.0f}, false}, {{100.0f, 0.0f}, true}, {{-100.0f, 0.0f}, false}, {{100.0f, 80.0f}, true}};
    for (const auto& row : cases) {
        ActorObject& gun = spawn("e_gun", Home);
        ActorObject& prey = spawn("e_prey", Home + row.preyPosition);
        tick(gun, Step);
        EXPECT_EQ(state(gun), row.found ? "found" : "lost") << row.preyPosition.x << "," << row.preyPosition.y;
        world().removeEntity(&gun);
        world().removeEntity(&prey);
        world().processRemovals();
    }
}

TEST_F(EnemyInstructionTest, TheMuzzleAddsTheWeaponsOffsetAndTurnsWithTheFacing) {
    const struct {
        const char* actor;
        fpVector2 facing;
        std::int32_t weapon;
        fpVector2 offset;
    } cases[] = {{"e_muzzle", {1.0f, 0.0f}, 0, {14.0f, -6.0f}},
                 {"e_muzzle", {-1.0f, 0.0f}, 0, {-14.0f, -6.0f}},
                 {"e_muzzle", {1.0f, 0.0f}, 3, {4.0f, -6.0f}},  // no such weapon
                 {"e_turning_muzzle", {0.0f, 1.0f}, 0, {6.0f, 14.0f}},
                 {"e_turning_muzzle", {-1.0f, 0.0f}, 0, {-14.0f, 6.0f}}};
    for (const auto& row : cases) {
        ActorObject& actor = spawn(row.actor, Home);
        actor.facing = row.facing;
        actor.weaponIndex = row.weapon;
        const fpVector2 offset = actor.projectileSpawnOffset();
        EXPECT_NEAR(offset.x, row.offset.x, 1e-4f) << row.actor << " " << row.facing.x << "," << row.facing.y;
        EXPECT_NEAR(offset.y, row.offset.y, 1e-4f) << row.actor << " " << row.facing.x << "," << row.facing.y;
    }
}

TEST_F(EnemyInstructionTest, AimForEnemyTurnsLocksAndLosesAtTheArcsEnd) {
    // Aim turn speed 1 rad/s, steps of 0.1 s; the prey's centre lies at the given angle from
    // the muzzle, 100 px away.
    const struct {
        float aim;
        float targetAngle;
        const char* stateAfter;
        float aimAfter;
    } cases[] = {
        {0.3f, 0.3f, "locked", 0.3f},   // straight ahead: locked on the first step
        {0.0f, 0.3f, "aim", 0.1f},      // turning inside the arc
        {0.7f, kPi / 2.0f, "lost", kPi / 4.0f},  // below, beyond the arc
    };
    for (const auto& row : cases) {
        ActorObject& gun = spawn("e_aim", Home);
        const fpVector2 centre = Home + fpVector2(100.0f * std::cos(row.targetAngle), 100.0f * std::sin(row.targetAngle));
        ActorObject& prey = spawn("e_prey", centre + fpVector2(0.0f, 10.0f));
        gun.targetId = prey.id();
        gun.aimAngle = row.aim;
        tick(gun, Step);
        EXPECT_EQ(state(gun), row.stateAfter) << row.aim << " to " << row.targetAngle;
        EXPECT_NEAR(gun.aimAngle, row.aimAfter, 1e-5f) << row.aim << " to " << row.targetAngle;
        world().removeEntity(&gun);
        world().removeEntity(&prey);
        world().processRemovals();
    }
}

TEST_F(EnemyInstructionTest, AimForEnemyLosesABusyDeadOrMissingTarget) {
    ActorObject& prey = spawn("e_prey", Home + fpVector2(100.0f, 10.0f));
    const auto aimAt = [&](std::int32_t id) {
        ActorObject& gun = spawn("e_aim", Home);
        gun.targetId = id;
        tick(gun, Step);
        return state(gun);
    };
    prey.busyFlags = 1;
    EXPECT_EQ(aimAt(prey.id()), "lost");
    prey.busyFlags = 0;
    prey.hitPoints = 0.0f;
    EXPECT_EQ(aimAt(prey.id()), "lost");
    EXPECT_EQ(aimAt(0), "lost");
}

TEST_F(EnemyInstructionTest, CannonScanReflectsAtTheArcsEndsAndTurns) {
    // MaxAngle 0.5 around facing right, speed 1, steps of 0.1 s.
    const struct {
        float aim;
        float direction;
        float aimAfter;
        float directionAfter;
    } cases[] = {{0.45f, 1.0f, 0.45f, 0.0f}, {0.0f, 1.0f, 0.1f, 1.0f}, {0.0f, 0.0f, -0.1f, 0.0f},
                 {-0.45f, 0.0f, -0.45f, 1.0f}};
    for (const auto& row : cases) {
        ActorObject& gun = spawn("e_scan", Home);
        gun.aimAngle = row.aim;
        gun.namedValues["ScanDirection"] = row.direction;
        tick(gun, Step);
        EXPECT_NEAR(angleDifference(row.aimAfter, gun.aimAngle), 0.0f, 1e-5f) << row.aim << " " << row.direction;
        EXPECT_EQ(gun.namedValues["ScanDirection"], row.directionAfter) << row.aim << " " << row.direction;
    }
}

TEST_F(EnemyInstructionTest, AttackIsDoneOnlyAfterTheRequestIsTakenAndTheTimersRunOut) {
    ActorObject& actor = spawn("e_attack", Home);
    tick(actor, Step);
    EXPECT_TRUE(actor.attackPressed);
    EXPECT_EQ(state(actor), "strike");

    // The attack cycle takes the request and starts its timers.
    actor.attackPressed = false;
    actor.attackTimer = 0.2f;
    actor.weaponCooldown = 0.5f;
    tick(actor, Step);
    EXPECT_FALSE(actor.attackPressed);  // no new request after the first step
    EXPECT_EQ(state(actor), "strike");
    actor.attackTimer = 0.0f;
    tick(actor, Step);
    EXPECT_EQ(state(actor), "strike");
    actor.weaponCooldown = 0.0f;
    tick(actor, Step);
    EXPECT_EQ(state(actor), "rest");
    EXPECT_FALSE(actor.attackPressed);
}

TEST_F(EnemyInstructionTest, AnUntakenAttackRequestKeepsTheAttackRunning) {
    ActorObject& actor = spawn("e_attack", Home);
    for (int step = 0; step < 5; ++step) tick(actor, Step);
    EXPECT_EQ(state(actor), "strike");
}

TEST_F(EnemyInstructionTest, WeaponAndBeamInstructionsSetTheirFlags) {
    ActorObject& actor = spawn("e_moves", Home);
    run(actor, "SetWeapon");
    EXPECT_EQ(actor.weaponIndex, 2);
    EXPECT_EQ(actor.requestedWeapon, 2);
    run(actor, "CanAttack");
    EXPECT_EQ(state(actor), "no");  // no third weapon
    actor.weaponIndex = 0;
    run(actor, "CanAttack");
    EXPECT_EQ(state(actor), "yes");
    run(actor, "DisableBeams");
    EXPECT_FALSE(actor.beamsEnabled);
    run(actor, "EnableBeams");
    EXPECT_TRUE(actor.beamsEnabled);
    EXPECT_EQ(state(actor), "rest");
}

} // namespace
} // namespace zor::test
