// Giving actors their machines and stepping them: the heartbeat, the nine-step bound, the
// first step in a state, and states whose instruction or machine does not exist.

#include "tests/game/simulation/behavior/BehaviorFixture.h"

#include "tests/support/common/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace zor::test {
namespace {

using Steps = std::vector<std::pair<std::string, bool>>;

TEST_F(BehaviorTest, EveryActorGetsAMachineOfItsOwnOnceAndOnlyWithABehaviour) {
    ActorObject& first = spawn("t_steps");
    ASSERT_NE(first.behaviorMachine, nullptr);
    EXPECT_EQ(first.behaviorMachine->name(), "a");
    const auto machine = first.behaviorMachine;
    first.behaviorMachine->postEvent("go");
    first.behaviorMachine->update();
    enemies.giveMachine(first);
    EXPECT_EQ(first.behaviorMachine, machine);  // kept, in the state it reached
    EXPECT_EQ(first.behaviorMachine->name(), "b");

    ActorObject& second = spawn("t_steps");
    EXPECT_NE(second.behaviorMachine, first.behaviorMachine);
    EXPECT_EQ(second.behaviorMachine->name(), "a");
    EXPECT_EQ(spawn("t_base").behaviorMachine, nullptr);
}

TEST_F(BehaviorTest, ABehaviourThatNamesNoMachineLeavesItsActorsWithoutOneAndIsReportedOnce) {
    LogCapture log;
    ActorObject& lost = spawn("t_lost");
    ActorObject& alsoLost = spawn("t_lost_too");
    enemies.giveMachine(lost);
    EXPECT_EQ(lost.behaviorMachine, nullptr);
    EXPECT_EQ(alsoLost.behaviorMachine, nullptr);
    EXPECT_FALSE(enemies.tickActor(lost, stepOf(0.5f)));
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings[0].find("'t_lost'"), std::string::npos) << log.warnings[0];
    EXPECT_NE(log.warnings[0].find("'t_no_such_machine'"), std::string::npos) << log.warnings[0];
}

TEST_F(BehaviorTest, AnInstructionThatAlwaysFinishesRunsNineTimesAGameStep) {
    ActorObject& actor = spawn("t_tireless");
    enemies.tickActor(actor, stepOf(0.5f));
    EXPECT_EQ(instructionLog.calls, 9);
    enemies.tickActor(actor, stepOf(0.5f));
    EXPECT_EQ(instructionLog.calls, 18);
}

TEST_F(BehaviorTest, AnActorThatLeavesTheWorldIsSteppedNoFurther) {
    ActorObject& actor = spawn("t_vanisher");
    enemies.tickActor(actor, stepOf(0.5f));
    EXPECT_EQ(instructionLog.calls, 1);
    EXPECT_FALSE(actor.alive());
}

TEST_F(BehaviorTest, TheHeartBeatsEveryFourthHalfSecondStepOfATwoSecondBeat) {
    ActorObject& actor = spawn("t_heart");
    actor.heartbeatCountdown = 0.3f;
    const Randomizer before = world.random();
    std::vector<int> beats;
    for (int step = 1; step <= 13; ++step) {
        enemies.tickActor(actor, stepOf(0.5f));
        if (actor.behaviorMachine->takeInput("heartbeat", true)) beats.push_back(step);
        // The 0.2 below 0 carries over.
        if (step == 1) {
            EXPECT_FLOAT_EQ(actor.heartbeatCountdown, 1.8f);
        }
    }
    EXPECT_EQ(beats, (std::vector<int>{1, 5, 9, 13}));
    // Each beat draws its spread from the game's generator, even a spread of 0.
    Randomizer expected = before;
    for (int i = 0; i < 4; ++i) expected.nextFloat();
    EXPECT_EQ(world.random().w(), expected.w());
    EXPECT_EQ(world.random().z(), expected.z());
}

TEST_F(BehaviorTest, AStepThatIsNotAboveZeroLeavesTheActorAlone) {
    for (const float length : {0.0f, -0.5f, std::numeric_limits<float>::quiet_NaN()}) {
        ActorObject& actor = spawn("t_heart");
        actor.heartbeatCountdown = 0.1f;
        EXPECT_FALSE(enemies.tickActor(actor, stepOf(length)));
        EXPECT_EQ(actor.heartbeatCountdown, 0.1f) << length;
        EXPECT_TRUE(actor.behaviorRestart) << length;
        EXPECT_FALSE(actor.behaviorMachine->hasPendingInput()) << length;
        EXPECT_TRUE(instructionLog.steps.empty()) << length;
    }
}

TEST_F(BehaviorTest, TheFirstStepInAStateIsTheActorsFirstOrTheOneAfterATransition) {
    ActorObject& actor = spawn("t_steps");
    enemies.tickActor(actor, stepOf(0.5f));
    enemies.tickActor(actor, stepOf(0.5f));
    actor.behaviorMachine->postEvent("go");
    enemies.tickActor(actor, stepOf(0.5f));
    enemies.tickActor(actor, stepOf(0.5f));
    EXPECT_EQ(instructionLog.steps, (Steps{{"a", true}, {"a", false}, {"b", true}, {"b", false}}));

    // An input a finishing instruction posts is taken in the same game step.
    instructionLog.steps.clear();
    enemies.tickActor(spawn("t_relay"), stepOf(0.5f));
    EXPECT_EQ(instructionLog.steps, (Steps{{"send", true}, {"land", true}}));
}

TEST_F(BehaviorTest, ALeafWithoutDefinitionRunsTheInstructionOfItsNameWithDefaults) {
    enemies.tickActor(spawn("t_bare"), stepOf(0.5f));
    EXPECT_FALSE(instructionLog.bareHadParameters);
    EXPECT_EQ(instructionLog.bareDelay, 7.0f);
}

TEST_F(BehaviorTest, AnInstructionThatAsksToBeKeptActiveIsReportedToTheCaller) {
    EXPECT_TRUE(enemies.tickActor(spawn("t_keeper"), stepOf(0.5f)));
    EXPECT_FALSE(enemies.tickActor(spawn("t_steps"), stepOf(0.5f)));
}

TEST_F(BehaviorTest, AStateWithoutInstructionWaitsAndIsReportedOncePerName) {
    LogCapture log;
    ActorObject& first = spawn("t_ghost");
    ActorObject& second = spawn("t_ghost");
    // "spin" is never stolen: each machine update goes round the three states 64 times and
    // ends one state on. Had the missing instruction finished, nine updates would have run
    // 576 turns and ended where they began.
    first.behaviorMachine->postEvent("spin");
    enemies.tickActor(first, stepOf(0.5f));
    EXPECT_EQ(first.behaviorMachine->name(), "g2");
    enemies.tickActor(first, stepOf(0.5f));
    enemies.tickActor(second, stepOf(0.5f));
    ASSERT_EQ(log.warnings.size(), 1u);
    for (const char* part : {"'t_ghost'", "'g2'", "'Ghost'"})
        EXPECT_NE(log.warnings[0].find(part), std::string::npos) << part << " in " << log.warnings[0];
}

TEST_F(BehaviorTest, EachInstructionNameIsRegisteredOnceWithAHandler) {
    EXPECT_EQ(enemies.findInstruction("Count"), &countInstruction);
    EXPECT_EQ(enemies.findInstruction("count"), nullptr);
    EXPECT_EQ(enemies.findInstruction("Ghost"), nullptr);
    EXPECT_THROW(enemies.registerInstruction("Count", noteInstruction), std::logic_error);
    EXPECT_THROW(enemies.registerInstruction("Nothing", nullptr), std::logic_error);
    EXPECT_EQ(enemies.findInstruction("Count"), &countInstruction);
    EXPECT_EQ(enemies.findInstruction("Nothing"), nullptr);
}

} // namespace
} // namespace zor::test
