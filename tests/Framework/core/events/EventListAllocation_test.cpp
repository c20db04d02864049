// A firing walks the listener nodes in place: this test program counts every operator new
// while lists with several listeners fire, including a nested firing and a listener that
// disconnects itself.

#include "Framework/core/events/EventList.h"

#include "tests/support/allocations/CountingAllocator.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor::test {
namespace {

class Counter {
public:
    void onValue(int value) { sum += value; }
    void onPair(int a, int b) { sum += a * b; }
    void onSender(Counter* sender) { sum += sender == this ? 1 : 0; }

    long sum = 0;
};

TEST(EventListAllocationTest, FiringToSeveralListenersAllocatesNothing) {
    EventList<int> values;
    EventList<int, int> pairs;
    EventList<Counter*> senders;
    std::vector<Counter> counters(5);
    std::vector<EventConnection> connections;
    connections.reserve(3 * counters.size() + 2);
    for (Counter& counter : counters) {
        connections.push_back(values.connect(&counter, &Counter::onValue));
        connections.push_back(pairs.connect(&counter, &Counter::onPair));
        connections.push_back(senders.connect(&counter, &Counter::onSender));
    }
    // A listener that fires the pair list from inside the value list's firing.
    Counter nested;
    connections.push_back(values.connect(&nested, [&pairs](Counter*, int value) { pairs.fire(value, 2); }));
    // A listener that disconnects itself on its first call.
    Counter once;
    connections.push_back(values.connect(&once, [&connections](Counter* self, int value) {
        self->sum += value;
        connections.back().release();
    }));

    countingAllocations = true;
    for (int round = 1; round <= 3; ++round) {
        values.fire(round);
        pairs.fire(round, 3);
        senders.fire(&counters[0]);
    }
    countingAllocations = false;

    EXPECT_EQ(countedAllocations.load(), 0);
    // Each counter: values 1+2+3, pairs (1+2+3)*3 direct and (1+2+3)*2 nested; the first
    // also answers its own sender three times.
    EXPECT_EQ(counters[0].sum, 6 + 18 + 12 + 3);
    EXPECT_EQ(counters[1].sum, 6 + 18 + 12);
    EXPECT_EQ(once.sum, 1) << "called in the first round only";
}

} // namespace
} // namespace zor::test
