// The boss fight: phases, the hatch, the generators, the vulnerable period and the ending.

#include "tests/game/simulation/behavior/instructions/BossFixture.h"

#include "game/definitions/BeamDefinition.h"
#include "game/world/SharedConstants.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/EffectObject.h"

#include "Framework/core/math/Angle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace zor::test {
namespace {

int visibleCount(const std::vector<ActorObject*>& generators) {
    return int(std::count_if(generators.begin(), generators.end(), [](const ActorObject* g) { return g->visible; }));
}

TEST_F(BossTest, SetupClaimsTheBossIdAndRestartsAPlayingConstantSound) {
    ActorObject& boss = spawn("b_boss", {BossX, BossY});
    boss.constantSound = "boss_hum";
    boss.ownedEntityIds = {99};
    run(boss, "BossSetup");
    EXPECT_EQ(state(boss), "BossSetup") << "the sound stops for a step";
    EXPECT_EQ(boss.constantSound, "");
    tick(boss, Step);
    EXPECT_EQ(state(boss), "done");
    EXPECT_EQ(boss.constantSound, "boss_hum");
    EXPECT_EQ(world().bossId, boss.id());
    EXPECT_TRUE(boss.ownedEntityIds.empty());
    EXPECT_FLOAT_EQ(boss.aimAngle, 2.3561945f);
}

// With no sound to restart, waiting for the restart would never end.
TEST_F(BossTest, SetupOfABossWithoutConstantSoundTakesOneStep) {
    ActorObject& boss = spawn("b_silent", {BossX, BossY});
    run(boss, "BossSetup");
    EXPECT_EQ(state(boss), "done");
    EXPECT_EQ(world().bossId, boss.id());
}

TEST_F(BossTest, StartMakesThePartsAndCountsTheObjectsOfTheWorld) {
    ActorObject& boss = startBoss();
    EXPECT_EQ(partState(boss, "hatch"), "shut");
    EXPECT_EQ(partState(boss, "eye"), "watch");
    EXPECT_NE(boss.animationParts.at("eye").machine, boss.animationParts.at("eyelids").machine);
    EXPECT_EQ(world().bossPhase, 0);
    EXPECT_EQ(world().cameraFocusTargetId, boss.id());
    EXPECT_EQ(fight().baseObjectCount, std::int32_t(world().gameObjects().size()));
    EXPECT_EQ(fight().backdropColour, colorWhite());
}

// Each phase holds 12 hit points; what a blow takes beyond the phase is given back.
TEST_F(BossTest, APhaseIsLostAtEachTwelveHitPointsAndExcessDamageIsNotCarriedOver) {
    const struct {
        std::int32_t phase;
        float hitPoints;
        const char* answer;
        std::int32_t phaseAfter;
        float hitPointsAfter;
    } cases[] = {
        {0, 25.0f, "no", 0, 25.0f},  {0, 24.0f, "yes", 1, 24.0f}, {0, 20.0f, "yes", 1, 24.0f},
        {1, 12.5f, "no", 1, 12.5f},  {1, 12.0f, "yes", 2, 12.0f}, {2, 0.5f, "no", 2, 0.5f},
        {2, 0.0f, "ending", 3, 0.0f}, {2, -4.0f, "ending", 3, 0.0f},
    };
    for (const auto& row : cases) {
        ActorObject& boss = startBoss();
        world().bossPhase = row.phase;
        boss.hitPoints = row.hitPoints;
        boss.invulnerable = false;
        run(boss, "CheckNextPhase");
        EXPECT_EQ(state(boss), row.answer) << row.phase << " " << row.hitPoints;
        EXPECT_EQ(world().bossPhase, row.phaseAfter) << row.phase << " " << row.hitPoints;
        EXPECT_EQ(boss.hitPoints, row.hitPointsAfter) << row.phase << " " << row.hitPoints;
        EXPECT_EQ(boss.invulnerable, row.phaseAfter != row.phase) << row.phase << " " << row.hitPoints;
        world().removeEntity(&boss);
        world().processRemovals();
    }
}

TEST_F(BossTest, EachLostPhaseDarkensTheBackdropAndTurnsTheAimFaster) {
    ActorObject& boss = startBoss();
    harness.recordings().musicAttenuations.clear();
    for (const float hitPoints : {24.0f, 12.0f}) {
        boss.hitPoints = hitPoints;
        run(boss, "CheckNextPhase");
    }
    EXPECT_EQ(fight().backdropColour, PackedColor::fromChannels(255, 45, 45, 255));
    EXPECT_FLOAT_EQ(boss.aimTurnSpeed, 3.0f);
    EXPECT_EQ(harness.recordings().musicAttenuations, (std::vector<float>{1.0f, 1.0f}));
}

TEST_F(BossTest, TheDefeatHidesTheHudLocksThePlayerAndFadesTheMusicOut) {
    ActorObject& boss = startBoss();
    world().bossPhase = 2;
    boss.hitPoints = 0.0f;
    harness.recordings().calls.clear();
    run(boss, "CheckNextPhase");
    EXPECT_EQ(state(boss), "ending");
    EXPECT_EQ(harness.recordings().callsStartingWith("UserInterface.setHudHidden"),
              std::vector<std::string>{"UserInterface.setHudHidden 1"});
    EXPECT_TRUE(harness.userInterface().hudHidden());
    EXPECT_EQ(harness.recordings().callsStartingWith("GameAudio.stopMusic"),
              std::vector<std::string>{"GameAudio.stopMusic 10"});
    EXPECT_NE(player().busyFlags & BusyFlag::Script, 0u);
    EXPECT_EQ(world().cameraFocusTargetId, 0);
    EXPECT_EQ(partState(boss, "eye"), "destroyed");
}

TEST_F(BossTest, TheHatchStaysShutWhileSixReleasedObjectsLive) {
    for (const int extra : {5, 6}) {
        ActorObject& boss = startBoss();
        std::vector<ResourceObject*> released;
        for (int i = 0; i < extra; ++i)
            released.push_back(world().spawnResource("ore", {500.0f + 10.0f * float(i), 300.0f}, -1));
        run(boss, "SpawnEnemy");
        const bool opens = extra < 6;
        EXPECT_EQ(state(boss), opens ? "SpawnEnemy" : "done") << extra;
        EXPECT_EQ(boss.attackPressed, opens) << extra;
        EXPECT_EQ(partState(boss, "hatch"), opens ? "open" : "shut") << extra;
        EXPECT_EQ(std::count(boss.pendingSounds.begin(), boss.pendingSounds.end(), "boss_open_hatch"), opens ? 1 : 0);
        for (ResourceObject* object : released) world().removeEntity(object);
        world().removeEntity(&boss);
        world().processRemovals();
    }
}

TEST_F(BossTest, SpawnEnemyWaitsForTheAttackAndUsesTheWeaponOfThePhase) {
    for (const std::int32_t phase : {0, 1, 2}) {
        ActorObject& boss = startBoss();
        world().bossPhase = phase;
        run(boss, "SpawnEnemy");
        EXPECT_EQ(boss.weaponIndex, phase == 2 ? 2 : 1) << phase;
        EXPECT_EQ(boss.requestedWeapon, boss.weaponIndex) << phase;
        boss.attackPressed = false;  // taken by the attack cycle
        boss.weaponCooldown = 0.5f;
        tick(boss, Step);
        EXPECT_EQ(state(boss), "SpawnEnemy") << "waits for the cooldown";
        boss.weaponCooldown = 0.0f;
        // The last phase may release again; in the others the hatch closes.
        for (int i = 0; i < 20 && state(boss) == "SpawnEnemy"; ++i) {
            boss.attackPressed = false;
            tick(boss, Step);
        }
        EXPECT_EQ(state(boss), "done") << phase;
        EXPECT_EQ(partState(boss, "hatch"), "shut") << phase;
        world().removeEntity(&boss);
        world().processRemovals();
    }
}

TEST_F(BossTest, AttacksAreChosenByPhase) {
    ActorObject& boss = startBoss();
    const struct {
        std::int32_t phase;
        std::vector<std::string> allowed;
    } cases[] = {{0, {"spawnEnemy"}},
                 {1, {"spawnEnemy", "targetLaser"}},
                 {2, {"spawnEnemy", "targetLaser", "spinLaser"}},
                 {3, {"spawnEnemy"}}};
    for (const auto& row : cases) {
        world().bossPhase = row.phase;
        std::vector<std::string> seen;
        for (int i = 0; i < 200; ++i) {
            run(boss, "BossAttack");
            if (std::find(seen.begin(), seen.end(), state(boss)) == seen.end()) seen.push_back(state(boss));
        }
        std::sort(seen.begin(), seen.end());
        std::vector<std::string> allowed = row.allowed;
        std::sort(allowed.begin(), allowed.end());
        EXPECT_EQ(seen, allowed) << row.phase;
    }
}

TEST_F(BossTest, GeneratorsCalledBackDependOnThePhaseAndOnWhetherTheBossWasHit) {
    const struct {
        std::int32_t phase;
        float hitPoints;
        int generators;
        int called;  // -1: waits
    } cases[] = {
        {0, 36.0f, 7, 3}, {0, 30.0f, 7, 1}, {1, 24.0f, 7, 5}, {1, 20.0f, 7, 2},
        {1, 24.0f, 4, -1}, {2, 12.0f, 7, 7}, {2, 5.0f, 3, 2},
    };
    for (const auto& row : cases) {
        ActorObject& boss = startBoss();
        const std::vector<ActorObject*> generators = addGenerators(row.generators);
        world().bossPhase = row.phase;
        boss.hitPoints = row.hitPoints;
        boss.hidden = true;
        run(boss, "RespawnGenerators");
        EXPECT_EQ(state(boss), row.called < 0 ? "RespawnGenerators" : "done") << row.phase << " " << row.hitPoints;
        EXPECT_EQ(visibleCount(generators), std::max(row.called, 0)) << row.phase << " " << row.hitPoints;
        EXPECT_EQ(boss.hidden, row.called < 0) << row.phase;
        for (ActorObject* generator : generators) {
            EXPECT_EQ(pending(*generator, "spawnGenerator"), generator->visible);
            world().removeEntity(generator);
        }
        world().removeEntity(&boss);
        world().processRemovals();
    }
}

TEST_F(BossTest, TheFirstPhaseCallsOnlyGeneratorsOfTheFirstGroupInListOrder) {
    ActorObject& boss = startBoss();
    const std::vector<ActorObject*> others = addGenerators(2, "2");
    const std::vector<ActorObject*> first = addGenerators(4, "1");
    run(boss, "RespawnGenerators");
    EXPECT_EQ(visibleCount(others), 0);
    EXPECT_EQ(std::vector<bool>({first[0]->visible, first[1]->visible, first[2]->visible, first[3]->visible}),
              std::vector<bool>({true, true, true, false}));
    EXPECT_EQ(world().ambientColor, fight().backdropColour);
}

// With fewer live generators than asked for, the draw could never find enough of them.
TEST_F(BossTest, RespawnCallsEveryLiveGeneratorWhenFewerLiveThanAskedFor) {
    ActorObject& boss = startBoss();
    std::vector<ActorObject*> generators = addGenerators(7);
    for (int i = 0; i < 4; ++i) world().removeEntity(generators[i]);
    world().processRemovals();
    generators.erase(generators.begin(), generators.begin() + 4);
    world().bossPhase = 2;
    boss.hitPoints = 12.0f;  // untouched: seven are asked for
    run(boss, "RespawnGenerators");
    EXPECT_EQ(state(boss), "done");
    EXPECT_EQ(visibleCount(generators), 3);
}

TEST_F(BossTest, TheForceFieldFallsOnlyWithEveryGeneratorDown) {
    ActorObject& boss = startBoss();
    const std::vector<ActorObject*> generators = addGenerators(2);
    generators[1]->visible = true;
    run(boss, "CheckGenerators");
    EXPECT_EQ(state(boss), "yes");
    EXPECT_FALSE(boss.beamsEnabled);

    generators[1]->visible = false;
    boss.animationParts.at("hatch").machine->clearInputs();  // the shut hatch ignored "close"
    ActorObject& minion = spawn("b_minion", {500.0f, 320.0f});
    Projectile* shot = world().spawnProjectile("spores", {450.0f, 200.0f}, boss.id());
    ASSERT_NE(shot, nullptr);
    boss.invulnerable = true;
    run(boss, "CheckGenerators");
    EXPECT_EQ(state(boss), "CheckGenerators") << "waits a step before it takes its answer";
    tick(boss, Step);
    EXPECT_EQ(state(boss), "no");
    EXPECT_EQ(minion.hitPoints, 0.0f);
    EXPECT_FALSE(shot->alive());
    EXPECT_TRUE(boss.hidden);
    EXPECT_FALSE(boss.invulnerable);
    EXPECT_EQ(world().ambientColor, PackedColor::fromChannels(40, 40, 40, 255));
    EXPECT_EQ(harness.recordings().musicAttenuations.back(), 0.3f);
    EXPECT_EQ(partState(boss, "hatch"), "open");
    const std::vector<std::string>& sounds = player().pendingSounds;
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "boss_become_vulnerable"), sounds.end());
}

TEST_F(BossTest, TheVulnerablePeriodEndsAfterThirtySeconds) {
    ActorObject& boss = startBoss();
    boss.invulnerable = false;
    run(boss, "Vulnerable", 0.5f);
    EXPECT_EQ(boss.constantSound, "boss_vulnerable");
    for (int i = 1; i < 59; ++i) tick(boss, 0.5f);
    EXPECT_EQ(state(boss), "Vulnerable") << "29.5 s";
    EXPECT_FALSE(boss.invulnerable);
    tick(boss, 0.5f);
    tick(boss, 0.5f);
    EXPECT_EQ(state(boss), "tooLong");
    EXPECT_TRUE(boss.invulnerable);
    EXPECT_EQ(boss.constantSound, "");
    EXPECT_EQ(fight().phaseTimer, 0.0f);
}

// Past its two seconds the fade holds the backdrop rather than wrapping the channels round.
TEST_F(BossTest, TheBackdropFadesBackFromDarkGreyAndStays) {
    ActorObject& boss = startBoss();
    fight().backdropColour = PackedColor::fromChannels(255, 150, 150, 255);
    const struct {
        float seconds;
        PackedColor ambient;
    } cases[] = {{0.0f, PackedColor::fromChannels(40, 40, 40, 255)},
                 {1.0f, lerpColor(PackedColor::fromChannels(40, 40, 40, 255), fight().backdropColour, 0.5f)},
                 {2.0f, fight().backdropColour},
                 {5.0f, fight().backdropColour}};
    for (const auto& row : cases) {
        fight().phaseTimer = row.seconds;
        run(boss, "RestoreBackdrop");
        EXPECT_EQ(world().ambientColor, row.ambient) << row.seconds;
    }
}

TEST_F(BossTest, AGeneratorReportsHitsUntilItIsDownToOneHitPoint) {
    ActorObject& boss = startBoss();
    ActorObject& generator = *addGenerators(1).front();
    const struct {
        float hitPoints;
        bool destroyed;
    } cases[] = {{12.0f, false}, {1.5f, false}, {1.0f, true}, {0.5f, true}};
    for (const auto& row : cases) {
        boss.behaviorMachine->changeState("rest");
        generator.behaviorMachine->changeState("active");
        generator.visible = true;
        generator.physicalObject.collidable = true;
        generator.hitPoints = row.hitPoints;
        const std::size_t resources = world().gameObjects().size();
        generator.behaviorMachine->postEvent("attacked");
        tick(generator, Step);
        tick(boss, Step);
        EXPECT_EQ(state(boss), row.destroyed ? "destroyed" : "attacked") << row.hitPoints;
        EXPECT_EQ(state(generator), row.destroyed ? "inactive" : "active") << row.hitPoints;
        EXPECT_EQ(generator.visible, !row.destroyed) << row.hitPoints;
        EXPECT_EQ(generator.physicalObject.collidable, !row.destroyed) << row.hitPoints;
        EXPECT_EQ(world().gameObjects().size(), resources + (row.destroyed ? 1 : 0)) << "the refill";
    }
}

TEST_F(BossTest, GeneratorsWaitForABossAndReportToNoneWhenItIsGone) {
    ActorObject& generator = spawn("b_generator", {200.0f, 320.0f});
    tick(generator, Step);
    EXPECT_EQ(state(generator), "setup");
    EXPECT_FALSE(generator.visible);
    EXPECT_TRUE(generator.updateOnce);

    ActorObject& boss = startBoss();
    tick(generator, Step);
    EXPECT_EQ(state(generator), "inactive");
    EXPECT_EQ(boss.ownedEntityIds, std::vector<std::int32_t>{generator.id()});

    world().removeEntity(&boss);
    world().processRemovals();
    for (const float hitPoints : {10.0f, 0.5f}) {
        generator.behaviorMachine->changeState("active");
        generator.hitPoints = hitPoints;
        generator.behaviorMachine->postEvent("attacked");
        tick(generator, Step);
        EXPECT_EQ(state(generator), hitPoints > 1.0f ? "active" : "inactive") << hitPoints;
    }
}

TEST_F(BossTest, AGeneratorAppearsOnlyOnceItsPlaceIsFree) {
    startBoss();
    ActorObject& generator = *addGenerators(1).front();
    ActorObject& minion = spawn("b_minion", generator.getPosition());
    generator.hitPoints = 3.0f;
    generator.behaviorMachine->postEvent("spawnGenerator");
    tick(generator, Step);
    EXPECT_EQ(state(generator), "activate");
    EXPECT_FALSE(generator.visible);
    minion.setPosition({700.0f, 320.0f});
    tick(generator, Step);
    EXPECT_EQ(state(generator), "active");
    EXPECT_TRUE(generator.visible);
    EXPECT_TRUE(generator.physicalObject.collidable);
    EXPECT_EQ(generator.hitPoints, 12.0f);
}

// A beam that has gone keeps the aim where it last pointed.
TEST_F(BossTest, TheSpinningLaserFollowsItsBeamAndKeepsItsAimWithoutOne) {
    static const BeamDefinition laser;
    ActorObject& boss = startBoss();
    auto* beam = new Beam(laser);
    beam->direction = {0.0f, -1.0f};
    world().registerEntity(beam);
    boss.beamIds = {beam->id()};
    run(boss, "SpinLaser");
    EXPECT_TRUE(boss.beamsEnabled);
    EXPECT_TRUE(boss.weaponIndex == 6 || boss.weaponIndex == 7);
    EXPECT_FLOAT_EQ(boss.aimAngle, 1.5f * kPi);

    world().removeEntity(beam);
    world().processRemovals();
    tick(boss, Step);
    EXPECT_FLOAT_EQ(boss.aimAngle, 1.5f * kPi);
    boss.beamIds.clear();
    tick(boss, Step);
    EXPECT_FLOAT_EQ(boss.aimAngle, 1.5f * kPi);
    EXPECT_EQ(state(boss), "SpinLaser") << "the request is still pending";

    boss.attackPressed = false;
    tick(boss, Step);
    EXPECT_EQ(state(boss), "done");
    EXPECT_FALSE(boss.beamsEnabled);
    EXPECT_EQ(world().shake.duration, 0.0f) << "the shake stops";
}

// The spin turns toward the player the shorter way round.
TEST_F(BossTest, TheSpinDirectionTurnsTowardThePlayer) {
    ActorObject& boss = startBoss();
    const fpVector2 muzzle = boss.getPosition() + boss.projectileSpawnOffset();
    const fpVector2 target = player().center() - muzzle;
    const float towardPlayer = wrapAngle(std::atan2(target.y, target.x));
    for (const float offset : {-0.5f, 0.5f}) {
        boss.aimAngle = wrapAngle(towardPlayer + offset);
        run(boss, "SpinLaser");
        EXPECT_EQ(boss.weaponIndex, offset < 0.0f ? 6 : 7) << offset;
        boss.behaviorMachine->changeState("rest");
    }
}

TEST_F(BossTest, TheLaserBoxWakesWithItsWeaponAndTurnsItsBeamsOffWhenDone) {
    ActorObject& boss = startBoss();
    boss.beamsEnabled = false;
    run(boss, "StartSpinLaser");
    EXPECT_EQ(boss.weaponIndex, 5);
    EXPECT_TRUE(boss.beamsEnabled);
    EXPECT_TRUE(boss.attackPressed);
    EXPECT_EQ(partState(boss, "eye"), "shoot");
    const std::vector<std::string>& sounds = player().pendingSounds;
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "laserbox_wake"), sounds.end());
    boss.attackPressed = false;
    tick(boss, Step);
    EXPECT_FALSE(boss.beamsEnabled);
    tick(boss, Step);
    EXPECT_EQ(state(boss), "done");
}

// Later phases shorten the wait for the next heartbeat by the phase number, once per
// entry and only while the wait is still nearly whole.
TEST_F(BossTest, TheHeartbeatQuickensInLaterPhases) {
    ActorObject& boss = startBoss();
    const struct {
        std::int32_t phase;
        float countdown;
        float after;
    } cases[] = {{0, 2.9f, 2.9f}, {1, 2.9f, 1.9f}, {2, 2.9f, 0.9f}, {2, 2.4f, 2.4f}};
    for (const auto& row : cases) {
        world().bossPhase = row.phase;
        boss.heartbeatCountdown = row.countdown;
        // Each step's heartbeat takes its millisecond off too.
        run(boss, "BossIdle", 0.001f);
        tick(boss, 0.001f);
        EXPECT_NEAR(boss.heartbeatCountdown, row.after - 0.002f, 1e-5f) << row.phase << " " << row.countdown;
    }
}

TEST_F(BossTest, TheTargetedLaserChoosesItsWeaponsAndWaitsForTheAttack) {
    ActorObject& boss = startBoss();
    boss.weaponCooldown = 2.0f;
    boss.attackTimer = 1.0f;
    run(boss, "StartTargetLaser");
    EXPECT_EQ(state(boss), "done");
    EXPECT_EQ(boss.weaponIndex, 3);
    EXPECT_EQ(boss.weaponCooldown, 0.0f);

    run(boss, "LockOnLaser");
    EXPECT_TRUE(boss.attackPressed);
    boss.attackPressed = false;
    tick(boss, Step);
    EXPECT_EQ(state(boss), "done");
    EXPECT_TRUE(boss.beamsEnabled) << "the targeted laser follows";

    run(boss, "TargetLaser");
    EXPECT_EQ(boss.weaponIndex, 4);
    EXPECT_EQ(world().shake.amplitude, 4.0f);
    boss.attackPressed = false;
    tick(boss, Step);
    EXPECT_EQ(state(boss), "done");
    EXPECT_FALSE(boss.beamsEnabled);
}

// From the defeat: 4 s of explosions, 6 s fading to white, 3 s white, 2 s to black and
// 2.5 s of black, then the ending level.
TEST_F(BossTest, TheEndingRequestsTheEndingLevelSeventeenAndAHalfSecondsAfterTheDefeat) {
    ActorObject& boss = startBoss();
    ActorObject& barrier = spawn("b_barrier", {700.0f, 320.0f});
    world().bossPhase = 2;
    boss.hitPoints = 0.0f;
    run(boss, "CheckNextPhase");
    ASSERT_EQ(state(boss), "ending");
    EXPECT_FALSE(barrier.alive());

    int steps = 1;
    bool sawWhite = false;
    while (!harness.simulator().levelChangePending() && steps < 2000) {
        tick(boss, Step);
        ++steps;
        sawWhite = sawWhite || world().tintColor == colorWhite();
    }
    EXPECT_NEAR(float(steps) * Step, 17.5f, 5.0f * Step);
    EXPECT_EQ(harness.simulator().requestedLevel(), "shalebury_end");
    EXPECT_EQ(harness.simulator().requestedEntry(), "[start]");
    EXPECT_EQ(harness.seams().count("QuestTracking.finishQuests"), 1u);
    tick(boss, Step);
    EXPECT_EQ(state(boss), "done");
    EXPECT_EQ(world().bossPhase, 8);
    EXPECT_TRUE(sawWhite);
    // The last step of the fade overshoots; the screen stays black rather than wrapping
    // back to white.
    EXPECT_EQ(world().tintColor, colorBlack());
    EXPECT_EQ(world().overlayStrength, 0.0f);
    EXPECT_EQ(world().ambientColor, colorWhite());
    EXPECT_EQ(harness.recordings().musicAttenuations.back(), 1.0f);
}

TEST_F(BossTest, ExplosionsSpreadWiderOnceTheScreenTurnsWhiteAndStopAfterwards) {
    ActorObject& boss = startBoss();
    const struct {
        std::int32_t phase;
        float reach;  // -1: none
    } cases[] = {{0, 50.0f}, {3, 50.0f}, {4, 150.0f}, {5, -1.0f}};
    for (const auto& row : cases) {
        world().bossPhase = row.phase;
        float farthest = 0.0f;
        std::size_t spawned = 0;
        for (int i = 0; i < 60; ++i) {
            const std::size_t before = world().effects().size();
            run(boss, "Explosion");
            tick(boss, Step);  // takes its "done"
            for (const auto& [id, effect] : world().effects()) {
                const fpVector2 offset = effect->getPosition() - boss.center();
                farthest = std::max({farthest, std::fabs(offset.x), std::fabs(offset.y)});
            }
            spawned += world().effects().size() - before;
            for (const auto& [id, effect] : world().effects()) world().removeEntity(effect);
            world().processRemovals();
        }
        if (row.reach < 0.0f) {
            EXPECT_EQ(spawned, 0u) << row.phase;
            continue;
        }
        EXPECT_EQ(spawned, 60u) << row.phase;
        EXPECT_LE(farthest, row.reach) << row.phase;
        EXPECT_GT(farthest, row.reach * 0.7f) << row.phase;
    }
}

} // namespace
} // namespace zor::test
