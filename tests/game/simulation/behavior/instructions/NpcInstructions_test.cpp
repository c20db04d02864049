// Townsfolk: noticing the player, patrolling a home area, and walking where the scripts
// send them. Nothing moves them here but the test, which stands in for the movement.

#include "tests/game/simulation/behavior/instructions/InstructionFixture.h"

#include "Framework/store/AchievementStore.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor::test {
namespace {

constexpr float Step = 0.1f;

TEST_F(InstructionTest, ATownspersonNoticesThePlayerWithinItsNoticeDistanceOnly) {
    const fpVector2 at = player().getPosition();
    const struct {
        float noticeDistance;
        float offset;
        const char* stateAfter;
    } cases[] = {{80.0f, 30.0f, "greet"}, {80.0f, 80.0f, "stroll"}, {0.0f, 0.0f, "stroll"}, {0.0f, 30.0f, "stroll"}};
    for (const auto& row : cases) {
        ActorObject& folk = spawn("i_patrol", {at.x + row.offset, at.y});
        folk.npcBehaviorData().noticeDistance = row.noticeDistance;
        for (int step = 0; step < 20; ++step) tick(folk, Step);
        EXPECT_EQ(state(folk), row.stateAfter) << row.noticeDistance << " at " << row.offset;
    }
}

TEST_F(InstructionTest, AGreetingTownspersonFacesThePlayerAndPausesWhenItLeaves) {
    const fpVector2 at = player().getPosition();
    ActorObject& folk = spawn("i_patrol", {at.x + 30.0f, at.y});
    tick(folk, Step);
    tick(folk, Step);
    ASSERT_EQ(state(folk), "greet");
    EXPECT_EQ(folk.facing.x, -1.0f);
    EXPECT_EQ(folk.moveVector, fpVector2());

    folk.setPosition({at.x + 300.0f, at.y});
    tick(folk, Step);
    tick(folk, Step);
    EXPECT_EQ(state(folk), "stroll");
    // The pause WaitOnCogsby set up, less the step that Patrol counted since.
    const float pause = -folk.npcBehaviorData().patrolTimer;
    EXPECT_GE(pause, 1.7f - Step);
    EXPECT_LE(pause, 3.0f);
}

TEST_F(InstructionTest, WithTurnChanceOneATownspersonOnlyTurnsAndPausesAfterItsFirstWalk) {
    ActorObject& folk = spawn("i_patrol", {600.0f, 320.0f});
    folk.npcBehaviorData().turnChance = 1.0f;
    int turns = 0;
    float facing = folk.facing.x;
    for (int step = 0; step < 300; ++step) {
        tick(folk, Step);
        EXPECT_EQ(folk.moveVector, fpVector2()) << "step " << step;
        turns += folk.facing.x != facing ? 1 : 0;
        facing = folk.facing.x;
    }
    // Pauses of 1.7 to 3 s over 30 s.
    EXPECT_GE(turns, 9);
    EXPECT_LE(turns, 18);
}

TEST_F(InstructionTest, ATownspersonWalkingAwayFromItsHomePausesAndThenWalksBack) {
    ActorObject& folk = spawn("i_patrol", {700.0f, 320.0f});
    NPCBehaviorData& npc = folk.npcBehaviorData();
    npc.homeArea = {340.0f, -1000.0f, 120.0f, 2000.0f};  // centre x 400
    npc.turnChance = 0.0f;
    npc.patrolTimer = 2.0f;
    folk.facing = {1.0f, 0.0f};
    tick(folk, Step);
    EXPECT_LT(npc.patrolTimer, 0.0f);  // paused at once
    EXPECT_EQ(folk.moveVector, fpVector2());

    while (npc.patrolTimer < 0.0f) tick(folk, Step);
    EXPECT_EQ(folk.facing.x, -1.0f);
    EXPECT_GE(npc.patrolTimer, 1.0f);
    tick(folk, Step);
    EXPECT_EQ(folk.moveVector, fpVector2(-1.0f, 0.0f));
}

TEST_F(InstructionTest, WalkToAnXWalksUntilItReachesOrPassesItThenReportsOnce) {
    ActorObject& folk = spawn("i_walk", {40.0f, 200.0f});
    NPCBehaviorData& npc = folk.npcBehaviorData();
    npc.targetX = 100.0f;
    npc.walkDirection = 0.0f;
    int walkingSteps = 0;
    for (int step = 0; step < 30 && state(folk) == "walk"; ++step) {
        const bool keep = enemies().tickActor(folk, [] {
            UpdateRecord record;
            record.stepLength = Step;
            return record;
        }());
        if (folk.moveVector.x != 0.0f) {
            EXPECT_EQ(folk.moveVector, fpVector2(1.0f, 0.0f));
            EXPECT_TRUE(keep);
            ++walkingSteps;
            folk.setPosition(folk.getPosition() + fpVector2(7.0f, 0.0f));
        }
    }
    EXPECT_EQ(walkingSteps, 9);  // 40 + 9 x 7 = 103
    tick(folk, Step);
    EXPECT_EQ(state(folk), "stand");
    EXPECT_EQ(npc.walkDirection, 0.0f);
    EXPECT_EQ(folk.moveVector, fpVector2());
}

TEST_F(InstructionTest, WalkToAnEntityStaysByItUntilItDies) {
    ActorObject& target = spawn("i_never", {300.0f, 200.0f});
    ActorObject& folk = spawn("i_walk", {200.0f, 200.0f});
    NPCBehaviorData& npc = folk.npcBehaviorData();
    npc.targetId = std::uint32_t(target.id());
    npc.arrivalDistance = 20.0f;
    npc.releaseOnArrival = false;
    for (int step = 0; step < 60; ++step) {
        tick(folk, Step);
        folk.setPosition(folk.getPosition() + fpVector2(5.0f * folk.moveVector.x, 0.0f));
    }
    EXPECT_EQ(state(folk), "walk");
    EXPECT_GT(folk.getPosition().x, 280.0f);
    EXPECT_EQ(folk.moveVector, fpVector2());
    EXPECT_EQ(folk.facing.x, 1.0f);

    // Now on its other side: it turns to face it.
    folk.setPosition({310.0f, 200.0f});
    tick(folk, Step);
    EXPECT_EQ(folk.facing.x, -1.0f);
    EXPECT_EQ(state(folk), "walk");

    target.hitPoints = 0.0f;
    tick(folk, Step);
    tick(folk, Step);
    EXPECT_EQ(state(folk), "stand");
    EXPECT_EQ(npc.targetId, 0u);
}

TEST_F(InstructionTest, InstructionsThatReadThePlayerDoNothingWithoutOne) {
    world().removeEntity(&player());
    world().processRemovals();
    ASSERT_EQ(world().player(), nullptr);

    ActorObject& folk = spawn("i_patrol", {300.0f, 320.0f});
    ActorObject& greeter = spawn("i_patrol", {350.0f, 320.0f});
    greeter.behaviorMachine->changeState("greet");
    ActorObject& podium = spawn("i_podium", {400.0f, 320.0f});
    podium.name = "i_lens";
    ActorObject& pad = spawn("i_pad", {500.0f, 320.0f});
    ActorObject& suicide = spawn("i_suicide", {550.0f, 320.0f});
    const std::string counter = "cntr_suicide_i_suicide";
    localAchievements().updateCounter(0, true, counter);
    for (int step = 0; step < 50; ++step)
        for (ActorObject* actor : {&folk, &greeter, &podium, &pad, &suicide}) tick(*actor, Step);
    EXPECT_EQ(folk.moveVector, fpVector2());
    EXPECT_EQ(state(greeter), "greet");
    EXPECT_EQ(podium.namedValues.count("State"), 0u);
    EXPECT_EQ(pad.npcBehaviorData().teleportTimer, 0.0f);
    EXPECT_EQ(world().progress.items.counts.count("i_lens"), 0u);
    // Suicide still kills: only its count, which needs a witness, is skipped.
    EXPECT_EQ(suicide.hitPoints, 0.0f);
    EXPECT_EQ(localAchievements().findCounter(counter)->value, 0);
}

} // namespace
} // namespace zor::test
