// Posting inputs, updating machines and stepping actors allocate nothing once warm: this
// test program counts every operator new while actors with nested machines, heartbeats,
// long input names and a missing instruction run.

#include "tests/game/simulation/behavior/BehaviorFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
// GCC takes the free below for a mismatch with operator new; here they are one pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

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
    counting = true;
    for (int frame = 0; frame < 400; ++frame) play(frame);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    // The run did work: the tireless counter and the reader ran, the busy actor went both ways.
    EXPECT_GT(instructionLog.calls - callsBefore, 400 * 9);
    EXPECT_GT(idleSteps, 0);
    EXPECT_LT(idleSteps, 400);
}

} // namespace
} // namespace zor::test
