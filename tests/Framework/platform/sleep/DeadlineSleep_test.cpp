#include "Framework/platform/DeadlineSleep.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

// Never wakes before the point asked for; a point already past returns at once.
TEST(DeadlineSleep, WakesNoEarlierThanTheDeadline) {
    for (const double wait : {0.0005, 0.003, 0.012}) {
        const double deadline = monotonicSeconds() + wait;
        sleepUntil(deadline);
        EXPECT_GE(monotonicSeconds(), deadline) << wait;
    }
    const double before = monotonicSeconds();
    sleepUntil(before - 1.0);
    sleepUntil(0.0);
    EXPECT_LT(monotonicSeconds() - before, 1.0) << "a past deadline does not wait";
}

} // namespace
} // namespace zor
