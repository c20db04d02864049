// Posting inputs, updating machines and stepping actors allocate nothing once warm: this
// test program counts every operator new while actors with nested machines, heartbeats,
// long input names and a missing instruction run.

#include "tests/game/simulation/behavior/BehaviorFixture.h"

#include "tests/support/allocations/CountingAllocator.h"

#include <gtest/gtest.h>


namespace zor::test {
namespace {

TEST_F(BehaviorTest, PostingUpdatingAndSteppingAllocateNothing) {
    ActorObject* actors[] = {&spawn("t_busy"), &spawn("t_ghost"), &spawn("t_steps"), &spawn("t_tireless"),
                             &spawn("t_relay")};
    BehaviorMachine& busy = *actors[0]->behaviorMachine;
    BehaviorMachine& steps = *actors[2]->behaviorMachine;
    const UpdateRecord record = stepOf(1.0f / 60.0f);
    instructionLog.steps.reserve(64);
    int idleSteps = 0;
    const auto play = [&](int frame) {
        instructionLog.steps.clear();
        // Both names are longer than a string keeps in place.
        busy.postEvent(frame % 40 < 20 ? "playerDestroyedWall" : "lostWall");
        actors[1]->behaviorMachine->postEvent("spin");
        steps.postEvent("go");
        steps.update();
        for (ActorObject* actor : actors) enemies.tickActor(*actor, record);
        idleSteps += busy.name() == "idle" ? 1 : 0;
    };
    for (int frame = 0; frame < 40; ++frame) play(frame);  // warm: reports made, scratch grown

    const int callsBefore = instructionLog.calls;
    idleSteps = 0;
    countingAllocations = true;
    for (int frame = 0; frame < 400; ++frame) play(frame);
    countingAllocations = false;
    EXPECT_EQ(countedAllocations.load(), 0);
    // The run did work: the tireless counter and the reader ran, the busy actor went both ways.
    EXPECT_GT(instructionLog.calls - callsBefore, 400 * 9);
    EXPECT_GT(idleSteps, 0);
    EXPECT_LT(idleSteps, 400);
}

} // namespace
} // namespace zor::test
