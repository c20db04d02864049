// The basic moves set intents and facing only; the direction reports compare centres and
// pick the facing's main axis.

#include "tests/game/simulation/behavior/instructions/EnemyInstructionFixture.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

TEST_F(EnemyInstructionTest, MovesSetTheIntentAndWakeTheActor) {
    const struct {
        const char* instruction;
        fpVector2 moveVector;
        bool runHeld;
    } cases[] = {{"MoveLeft", {-1.0f, 0.0f}, false},
                 {"MoveRight", {1.0f, 0.0f}, false},
                 {"ChargeLeft", {-1.0f, 0.0f}, true},
                 {"ChargeRight", {1.0f, 0.0f}, true}};
    for (const auto& row : cases) {
        ActorObject& actor = spawn("e_moves", {600.0f, 320.0f});
        actor.hasIdleSound = true;
        actor.physicalObject.awake = false;
        actor.physicalObject.sleepTimer = 3.0f;
        run(actor, row.instruction);
        EXPECT_EQ(actor.moveVector, row.moveVector) << row.instruction;
        EXPECT_EQ(actor.runHeld, row.runHeld) << row.instruction;
        EXPECT_FALSE(actor.hasIdleSound) << row.instruction;
        EXPECT_TRUE(actor.physicalObject.awake && actor.physicalObject.woken) << row.instruction;
        EXPECT_EQ(actor.physicalObject.sleepTimer, 0.0f) << row.instruction;
        // They keep walking: the state stays.
        EXPECT_EQ(state(actor), row.instruction);
    }
}

TEST_F(EnemyInstructionTest, OneShotMovesRaiseTheirFlagAndFinish) {
    ActorObject& actor = spawn("e_moves", {600.0f, 320.0f});
    run(actor, "Jump");
    EXPECT_TRUE(actor.jumpPressed);
    EXPECT_EQ(state(actor), "rest");
    run(actor, "RunStart");
    EXPECT_TRUE(actor.runHeld);
    run(actor, "RunStop");
    EXPECT_FALSE(actor.runHeld);
    EXPECT_EQ(state(actor), "rest");

    run(actor, "FaceLeft");
    EXPECT_EQ(actor.facing, fpVector2(-1.0f, 0.0f));
    run(actor, "FacingRight");
    EXPECT_EQ(state(actor), "no");
    run(actor, "FaceRight");
    EXPECT_EQ(actor.facing, fpVector2(1.0f, 0.0f));
    run(actor, "FacingRight");
    EXPECT_EQ(state(actor), "yes");
}

TEST_F(EnemyInstructionTest, PlayerDirectionCountsEqualCentresAsRight) {
    const float playerX = player().getPosition().x;
    const struct {
        float offset;
        const char* side;
    } cases[] = {{0.0f, "right"}, {0.5f, "left"}, {-0.5f, "right"}, {200.0f, "left"}};
    for (const auto& row : cases) {
        ActorObject& actor = spawn("e_side", {playerX + row.offset, 320.0f});
        tick(actor, 0.1f);
        EXPECT_EQ(state(actor), row.side) << row.offset;
    }
}

TEST_F(EnemyInstructionTest, PlayerDirectionWaitsWithoutAPlayer) {
    world().removeEntity(&player());
    world().processRemovals();
    ASSERT_EQ(world().player(), nullptr);
    ActorObject& actor = spawn("e_side", {300.0f, 320.0f});
    tick(actor, 0.1f);
    EXPECT_EQ(state(actor), "ask");
}

TEST_F(EnemyInstructionTest, FindAnimationDirectionSendsTheFacingsMainAxisWithYWinningATie) {
    const struct {
        fpVector2 facing;
        const char* direction;
    } cases[] = {{{1.0f, 1.0f}, "down"},   {{-1.0f, -1.0f}, "up"},   {{1.0f, 0.0f}, "right"},
                 {{-1.0f, 0.5f}, "left"},  {{0.2f, -0.9f}, "up"},    {{0.0f, 0.0f}, "down"}};
    const auto& looks = behaviorMachineTable().at("e_looks");
    for (const auto& row : cases) {
        ActorObject& actor = spawn("e_look", {600.0f, 320.0f});
        actor.facing = row.facing;
        AnimationPart& part = actor.animationParts["body"];
        part.machine = makeBehaviorMachine(looks);
        tick(actor, 0.1f);
        EXPECT_EQ(state(actor), "rest");
        for (const char* direction : {"left", "right", "up", "down"})
            EXPECT_EQ(part.machine->takeInput(direction, false), std::string(direction) == row.direction)
                << row.facing.x << "," << row.facing.y << " " << direction;
    }
}

} // namespace
} // namespace zor::test
