// The general instructions run through the game's own step loop: chance, delays and their
// shared timers, the heartbeat reset, clearing inputs, composite states, the ground probes
// and suicide near and far from the player.

#include "tests/game/simulation/behavior/instructions/InstructionFixture.h"

#include "tests/support/common/LogCapture.h"

#include "Framework/store/AchievementStore.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

TEST_F(InstructionTest, RandomWithoutChanceNeverPassesAndWithChanceOneAlways) {
    const struct {
        const char* actor;
        const char* landsIn;
    } cases[] = {{"i_never", "no"}, {"i_always", "yes"}};
    for (const auto& row : cases) {
        for (int draw = 0; draw < 25; ++draw) {
            ActorObject& actor = spawn(row.actor, {300.0f, 200.0f});
            tick(actor, 0.1f);
            EXPECT_EQ(state(actor), row.landsIn) << row.actor << " draw " << draw;
        }
    }
}

TEST_F(InstructionTest, ADelayOfOneSecondAtQuarterSecondStepsEndsOnTheFifthStep) {
    ActorObject& actor = spawn("i_delay", {300.0f, 200.0f});
    for (int step = 1; step <= 4; ++step) {
        tick(actor, 0.25f);
        // After the fourth the timer is exactly 0, which does not count.
        EXPECT_FALSE(pending(actor, "delayDone")) << "step " << step;
    }
    tick(actor, 0.25f);
    EXPECT_TRUE(pending(actor, "delayDone"));
    EXPECT_EQ(state(actor), "wait");  // taken at the next game step
    tick(actor, 0.25f);
    EXPECT_EQ(state(actor), "over");
}

TEST_F(InstructionTest, AStateSharingARunningCustomTimerDoesNotRestartIt) {
    ActorObject& actor = spawn("i_shared_delay", {300.0f, 200.0f});
    tick(actor, 0.25f);
    tick(actor, 0.25f);
    EXPECT_FLOAT_EQ(actor.namedTimers.at("patrol"), 0.5f);
    actor.behaviorMachine->postEvent("go");
    tick(actor, 0.25f);
    ASSERT_EQ(state(actor), "second");
    // Restarted, it would read 5 - 0.25.
    EXPECT_FLOAT_EQ(actor.namedTimers.at("patrol"), 0.25f);
    tick(actor, 0.25f);
    tick(actor, 0.25f);
    EXPECT_TRUE(pending(actor, "delayDone"));

    // A timer that has run out starts again with the state's own delay.
    actor.behaviorMachine->postEvent("go");
    tick(actor, 0.25f);
    ASSERT_EQ(state(actor), "first");
    EXPECT_FLOAT_EQ(actor.namedTimers.at("patrol"), 0.75f);
}

TEST_F(InstructionTest, ResetHeartBeatReplacesTheCountdownByTheBeat) {
    for (const float before : {0.7f, 2.5f, 40.0f}) {
        ActorObject& actor = spawn("i_reset", {300.0f, 200.0f});
        actor.heartbeatCountdown = before;
        tick(actor, 0.1f);
        EXPECT_EQ(actor.heartbeatCountdown, 3.0f) << "from " << before;
        EXPECT_EQ(state(actor), "rest");
    }
}

TEST_F(InstructionTest, ClearInputsLeavesOnlyItsOwnInputPending) {
    ActorObject& actor = spawn("i_clear", {300.0f, 200.0f});
    actor.behaviorMachine->postEvent("first");
    actor.behaviorMachine->postEvent("second");
    tick(actor, 0.1f);
    EXPECT_EQ(state(actor), "after");
    EXPECT_FALSE(pending(actor, "first"));
    EXPECT_FALSE(pending(actor, "second"));
    EXPECT_TRUE(pending(actor, "clearDone"));
}

// A chain of states, each moved on by the input its instruction posts: the instructions
// that finish run in one game step, each waiting one moves on at the next.
TEST_F(InstructionTest, FlagInstructionsSetWhatOtherRulesReadAndPostTheirInputs) {
    ActorObject& actor = spawn("i_flags", {300.0f, 200.0f});
    const char* const waits[] = {"barrels", "sound", "look", "show", "vanish"};
    for (const char* expected : waits) {
        tick(actor, 0.1f);
        EXPECT_EQ(state(actor), expected);
    }
    EXPECT_EQ(actor.pendingSpawn, "crawler");
    EXPECT_TRUE(actor.goodLoot);
    EXPECT_FLOAT_EQ(actor.edgeTimer, 0.4f);
    EXPECT_TRUE(actor.activatesBarrels);
    EXPECT_EQ(actor.pendingSounds, std::vector<std::string>{"creak"});
    EXPECT_EQ(actor.simpleAnimation, "wobble");
    EXPECT_TRUE(actor.simpleAnimationOnce);
    EXPECT_TRUE(actor.dying);
}

// Each composite moves on to "after" in the same game step only when all of its parts
// finished; a part that waits, or a name without handler, keeps it where it is.
TEST_F(InstructionTest, ACompositeRunsItsPartsInOrderAndAnswersTheSmallestResult) {
    const struct {
        const char* actor;
        bool goodLoot;
        bool activatesBarrels;
        const char* stateAfter;
        bool donePending;
    } cases[] = {
        {"i_both", true, false, "run", true},         // SetGoodLoot, StopUpdate
        {"i_headless", false, false, "run", false},   // no State0: runs nothing
        {"i_gap", true, true, "run", false},          // a name without handler in the middle
        {"i_nested", true, false, "run", false},      // a composite inside counts as not found
        {"i_finishing", true, false, "after", false}, // SetGoodLoot, FlipCoin: both finish
    };
    LogCapture log;
    for (const auto& row : cases) {
        ActorObject& actor = spawn(row.actor, {300.0f, 200.0f});
        tick(actor, 0.1f);
        EXPECT_EQ(actor.goodLoot, row.goodLoot) << row.actor;
        EXPECT_EQ(actor.activatesBarrels, row.activatesBarrels) << row.actor;
        EXPECT_EQ(state(actor), row.stateAfter) << row.actor;
        EXPECT_EQ(pending(actor, "done"), row.donePending) << row.actor;
    }
    // The nested composite is reported once, however often it runs.
    ActorObject& again = spawn("i_nested", {300.0f, 200.0f});
    tick(again, 0.1f);
    std::size_t nested = 0;
    for (const std::string& warning : log.warnings)
        nested += warning.find("CompositeState inside CompositeState") != std::string::npos ? 1 : 0;
    EXPECT_EQ(nested, 1u);
}

// The floor's top is at y = 320; the prober's body is 20 px high and the probe reaches 6 px
// further down.
TEST_F(InstructionTest, HasGroundProbesAlongTheAttachedDirection) {
    const struct {
        float gap;
        const char* landsIn;
    } cases[] = {{4.0f, "yes"}, {5.5f, "yes"}, {7.0f, "no"}, {30.0f, "no"}};
    for (const auto& row : cases) {
        ActorObject& actor = spawn("i_prober", {500.0f, 320.0f - row.gap});
        tick(actor, 0.1f);
        EXPECT_EQ(state(actor), row.landsIn) << "gap " << row.gap;
    }
}

TEST_F(InstructionTest, CheckGroundProbesOnlyForAWhileAfterBeingWoken) {
    ActorObject& actor = spawn("i_check", {500.0f, 200.0f});  // in the air
    actor.physicalObject.woken = false;
    tick(actor, 0.1f);
    EXPECT_FALSE(pending(actor, "lostWall"));  // undisturbed: nothing probed

    actor.physicalObject.woken = true;
    tick(actor, 0.1f);
    EXPECT_TRUE(pending(actor, "lostWall"));

    // On the ground (sunk 4 px into it) the wake time runs down, and probing stops with it.
    ActorObject& standing = spawn("i_check", {540.0f, 324.0f});
    standing.physicalObject.woken = true;
    tick(standing, 0.1f);
    standing.physicalObject.woken = false;
    EXPECT_FLOAT_EQ(standing.namedTimers.at("wake"), 0.4f);
    for (int step = 0; step < 6; ++step) tick(standing, 0.1f);
    EXPECT_LE(standing.namedTimers.at("wake"), 0.0f);
    standing.setPosition({540.0f, 200.0f});
    tick(standing, 0.1f);
    EXPECT_FALSE(pending(standing, "lostWall"));
}

TEST_F(InstructionTest, SuicideCountsOnlyWithinTwoHundredPixelsOfThePlayer) {
    const std::string counter = "cntr_suicide_i_suicide";
    localAchievements().updateCounter(0, true, counter);
    const fpVector2 at = player().getPosition();
    const struct {
        float distance;
        int added;
    } cases[] = {{150.0f, 1}, {200.0f, 1}, {201.0f, 0}, {500.0f, 0}};
    for (const auto& row : cases) {
        const int before = localAchievements().findCounter(counter)->value;
        ActorObject& actor = spawn("i_suicide", {at.x + row.distance, at.y});
        tick(actor, 0.1f);
        EXPECT_EQ(actor.hitPoints, 0.0f);
        EXPECT_EQ(localAchievements().findCounter(counter)->value - before, row.added) << row.distance;
    }
}

} // namespace
} // namespace zor::test
