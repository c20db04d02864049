#include "Framework/core/events/SystemEvents.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zor {
namespace {

using ListMember = EventList<> SystemEvents::*;

const ListMember kLists[] = {
    &SystemEvents::focusLost,        &SystemEvents::focusGained,
    &SystemEvents::shutdown,         &SystemEvents::screenChanged,
    &SystemEvents::gamepadConnected, &SystemEvents::gamepadDisconnected,
    &SystemEvents::fullscreenToggled,
};
constexpr int kListCount = sizeof kLists / sizeof kLists[0];

TEST(SystemEvents, EachListReachesOnlyItsOwnListeners) {
    SystemEvents events;
    ASSERT_EQ(&SystemEvents::instance(), &events);

    std::vector<int> hits(kListCount, 0);
    std::vector<EventConnection> connections;
    for (int i = 0; i < kListCount; ++i)
        connections.push_back((events.*kLists[i]).connect(&hits[i], [](int* n) { ++*n; }));

    for (int fired = 0; fired < kListCount; ++fired) {
        (events.*kLists[fired]).fireNoArgs();
        for (int i = 0; i < kListCount; ++i)
            EXPECT_EQ(hits[i], i <= fired ? 1 : 0) << "after firing list " << fired;
    }
}

TEST(SystemEvents, ListenersMayOutliveTheService) {
    int calls = 0;
    std::vector<EventConnection> connections;
    {
        auto events = std::make_unique<SystemEvents>();
        for (ListMember list : kLists)
            connections.push_back((events.get()->*list).connect(&calls, [](int* n) { ++*n; }));
    }
    EXPECT_FALSE(SystemEvents::exists());
    connections.clear(); // each node is freed here, exactly once
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace zor
