// The falling block, the digging and the hiding creatures.

#include "tests/game/simulation/behavior/instructions/EnemyInstructionFixture.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

constexpr float Step = 0.1f;

TEST_F(EnemyInstructionTest, AFallingBlockDropsOnlyWhenWokenStillAndUnsupported) {
    // The fixture room's floor top is at y = 320; a block at 200 hangs in the air.
    const struct {
        float y;
        bool woken;
        float speed;
        bool drops;
    } cases[] = {{200.0f, true, 0.0f, true},
                 {200.0f, false, 0.0f, false},  // never woken: never tests its support
                 {200.0f, true, 5.0f, false},   // still moving
                 {320.0f, true, 0.0f, false}};  // resting on the floor
    for (const auto& row : cases) {
        ActorObject& block = spawn("e_block", {600.0f, row.y});
        block.physicalObject.woken = row.woken;
        block.physicalObject.velocity = {0.0f, row.speed};
        tick(block, Step);
        EXPECT_EQ(block.gravityHold, row.drops) << row.y << " " << row.woken << " " << row.speed;
        EXPECT_EQ(block.namedTimers["wake"] > 0.0f, row.drops) << row.y << " " << row.woken << " " << row.speed;
        EXPECT_EQ(block.pendingSounds.size(), row.drops ? 1u : 0u);
        world().removeEntity(&block);
        world().processRemovals();
    }
}

TEST_F(EnemyInstructionTest, AFallingBlockRumblesForItsWakeTimeThenLetsGravityPull) {
    // Steps of 1/8 s share no rounding with the wake time of 0.5 s.
    const float stepLength = 0.125f;
    ActorObject& block = spawn("e_block", {600.0f, 200.0f});
    block.physicalObject.woken = true;
    tick(block, stepLength);
    EXPECT_NEAR(block.rumbleStrength, 1.3f + 0.0625f, 1e-5f);
    EXPECT_EQ(block.pendingSounds, std::vector<std::string>{"grind"});
    for (int step = 1; step < 3; ++step) {
        block.physicalObject.sleepTimer = 1.0f;
        tick(block, stepLength);
        EXPECT_TRUE(block.gravityHold) << step;
        EXPECT_EQ(block.physicalObject.sleepTimer, 0.0f) << step;
    }
    tick(block, stepLength);
    EXPECT_FALSE(block.gravityHold);
    EXPECT_EQ(block.rumbleStrength, 0.0f);
    EXPECT_EQ(block.namedTimers["wake"], 0.0f);
}

TEST_F(EnemyInstructionTest, CreaturesDigWhenCooledAndHideInTheirShells) {
    ActorObject& actor = spawn("e_moves", {600.0f, 320.0f});
    actor.weaponCooldown = 0.2f;
    run(actor, "TrilobiteDig");
    EXPECT_FALSE(actor.attackPressed);
    EXPECT_EQ(state(actor), "TrilobiteDig");
    actor.weaponCooldown = 0.0f;
    tick(actor, Step);
    EXPECT_TRUE(actor.attackPressed);
    EXPECT_TRUE(pending(actor, "digDone"));

    run(actor, "TurtleHide");
    EXPECT_TRUE(actor.hidden);
    EXPECT_EQ(actor.pendingSounds, std::vector<std::string>{"clack"});
    run(actor, "TurtleUnhide");
    EXPECT_FALSE(actor.hidden);
    EXPECT_EQ(actor.pendingSounds.size(), 1u);  // no Sound given
    EXPECT_EQ(state(actor), "rest");
}

} // namespace
} // namespace zor::test
