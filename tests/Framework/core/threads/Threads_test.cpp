#include "Framework/core/threads/Clock.h"
#include "Framework/core/threads/ConditionVariable.h"
#include "Framework/core/threads/Mutex.h"
#include "Framework/core/threads/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace zor {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(Mutex, KeepsOtherThreadsOutWhileHeld) {
    Mutex mutex;
    long counter = 0;  // unguarded increments would lose updates (and upset ThreadSanitizer)
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                Mutex::ScopedLock lock(mutex);
                ++counter;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(counter, 80000);
}

TEST(MutexDeathTest, LockingAMutexTheThreadAlreadyHoldsAbortsWithAMessage) {
#ifdef NDEBUG
    GTEST_SKIP() << "the relock check is part of debug builds";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Mutex mutex;
    EXPECT_DEATH(
        {
            Mutex::ScopedLock outer(mutex);
            Mutex::ScopedLock inner(mutex);
        },
        "Mutex locked again by the thread that holds it");
#endif
}

TEST(Mutex, CanBeTakenAgainAfterAConditionWaitReleasedAndRetookIt) {
    // The holder record must follow the lock through a wait, or the relock check would
    // fire on the next lock after the wait (or miss a real relock).
    Mutex mutex;
    ConditionVariable condition;
    {
        Mutex::ScopedLock lock(mutex);
        condition.wait(mutex, 0.001);
    }
    std::thread other([&] { Mutex::ScopedLock lock(mutex); });
    other.join();
    Mutex::ScopedLock again(mutex);
}

TEST(ConditionVariable, TimedWaitsTruncateToWholeMilliseconds) {
    struct Case {
        double timeout;
        std::chrono::milliseconds atLeast;
        std::chrono::milliseconds below;
    };
    const Case cases[] = {
        {0.0005, 0ms, 200ms},   // truncated to 0 ms: returns at once
        {0.05, 50ms, 2000ms},   // no notification: the full time passes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timeout);
        Mutex mutex;
        ConditionVariable condition;
        Mutex::ScopedLock lock(mutex);
        const auto start = Clock::now();
        condition.wait(mutex, c.timeout);
        const auto waited = Clock::now() - start;
        EXPECT_GE(waited, c.atLeast);
        EXPECT_LT(waited, c.below);
    }
}

TEST(ConditionVariable, AWaitWithoutLimitEndsWithTheNotification) {
    Mutex mutex;
    ConditionVariable condition;
    bool ready = false;
    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        Mutex::ScopedLock lock(mutex);
        while (!ready) condition.wait(mutex, 0.0);
        woke = true;
    });
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(woke);
    {
        Mutex::ScopedLock lock(mutex);
        ready = true;
    }
    condition.notifyOne();
    waiter.join();
    EXPECT_TRUE(woke);
}

TEST(ConditionVariable, APredicateWaitDoesNotMissANotificationSentBeforeItBegan) {
    Mutex mutex;
    ConditionVariable condition;
    bool ready = false;
    {
        Mutex::ScopedLock lock(mutex);
        ready = true;
    }
    condition.notifyOne();  // nobody waits yet
    std::thread waiter([&] {
        Mutex::ScopedLock lock(mutex);
        condition.wait(mutex, [&] { return ready; });
    });
    waiter.join();  // would hang if the wait ignored the state
}

TEST(Thread, RunsItsFunctionAndReportsWhenItHasReturned) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> ran{false};
    Thread thread([&] {
        released.wait();
        ran = true;
    });
    EXPECT_TRUE(thread.isRunning());
    release.set_value();
    thread.join();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(thread.isRunning());
}

TEST(Clock, CountsSecondsOnAMonotonicClock) {
    const double before = secondsSinceStart();
    std::this_thread::sleep_for(30ms);
    const double after = secondsSinceStart();
    EXPECT_GE(before, 0.0);
    EXPECT_GE(after - before, 0.029);
    EXPECT_LT(after - before, 5.0);
}

} // namespace
} // namespace zor
