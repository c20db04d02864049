// The boss under the game's own actor step: its attack cycle carries out the releases the
// instructions ask for, and its last phase may end at 0 hit points.

#include "tests/game/simulation/behavior/instructions/BossFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace zor::test {
namespace {

constexpr float Step = GameHarness::StepLength;

class BossInGameTest : public ::testing::Test {
protected:
    BossInGameTest() {
        loadBossFixture();
        HarnessOptions options(11, "fixture_deep");
        options.gameMovement = true;
        harness = std::make_unique<GameHarness>(options);
    }

    World& world() { return harness->world(); }

    ActorObject& startBoss(const char* name) {
        ActorObject& boss = *world().spawnActorFacingRight(name, {400.0f, 200.0f});
        for (const char* state : {"BossSetup", "BossStart"}) enter(boss, state);
        return boss;
    }

    void enter(ActorObject& boss, const char* state) {
        boss.behaviorMachine->changeState(state);
        boss.behaviorRestart = true;
        UpdateRecord record;
        record.stepLength = Step;
        harness->objects().enemySimulator().tickActor(boss, record);
    }

    std::unique_ptr<GameHarness> harness;
};

// A weapon index past the boss's weapons is never used: nothing is released, and the
// release is over once the request has been dropped.
TEST_F(BossInGameTest, TheReleaseFiresOnlyAWeaponTheBossHas) {
    for (const auto* name : {"b_boss", "b_one_gun"}) {
        ActorObject& boss = startBoss(name);
        const std::size_t projectilesBefore = world().projectiles().size();
        enter(boss, "SpawnEnemy");
        harness->runSteps(10);
        const bool armed = boss.definition().weapons.size() > 1;
        EXPECT_EQ(world().projectiles().size(), projectilesBefore + (armed ? 1 : 0)) << name;
        EXPECT_EQ(boss.behaviorMachine->name(), "done") << name;
        world().removeEntity(&boss);
        harness->runSteps(1);
    }
}

TEST_F(BossInGameTest, TheDefeatedBossLivesOnThroughItsEnding) {
    ActorObject& boss = startBoss("b_boss");
    world().bossPhase = 2;
    boss.hitPoints = -2.0f;  // the blow that ends the last phase
    boss.behaviorMachine->changeState("CheckNextPhase");
    harness->runSteps(120);
    ASSERT_TRUE(boss.alive());
    EXPECT_EQ(boss.behaviorMachine->name(), "ending");
    EXPECT_EQ(world().bossPhase, 3);
    EXPECT_EQ(boss.hitPoints, 0.0f);
}

} // namespace
} // namespace zor::test
