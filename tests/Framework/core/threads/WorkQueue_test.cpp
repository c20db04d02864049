#include "Framework/core/Errors.h"
#include "Framework/core/threads/WorkQueue.h"
#include "Framework/platform/CrashHandler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

using namespace std::chrono_literals;

// Polls until done() holds; false after a generous limit (sanitizer builds are slow).
bool eventually(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// A job that blocks its worker until the test opens it.
class Gate {
public:
    IWorkQueue::Job job() {
        return [this] {
            m_entered.set_value();
            m_open.get_future().wait();
        };
    }
    void waitUntilEntered() { m_entered.get_future().wait(); }
    void open() { m_open.set_value(); }

private:
    std::promise<void> m_entered;
    std::promise<void> m_open;
};

// Failures are process-wide; each test leaves none behind.
class WorkQueueTest : public ::testing::Test {
protected:
    void TearDown() override {
        reportWorkerFailure([](const std::string&) {});
    }
};

TEST_F(WorkQueueTest, ThreadedJobsRunInPostingOrderOnTheWorkerAndStayPendingUntilTheLastFinished) {
    ThreadedWorkQueue queue;
    Gate gate;
    std::vector<int> order;  // written by the worker only, read after it went idle
    std::vector<std::thread::id> threads;
    queue.post(gate.job());
    gate.waitUntilEntered();
    for (int i = 1; i <= 3; ++i) {
        queue.post([&, i] {
            order.push_back(i);
            threads.push_back(std::this_thread::get_id());
        });
    }
    EXPECT_TRUE(queue.hasPendingWork());
    gate.open();
    ASSERT_TRUE(eventually([&] { return !queue.hasPendingWork(); }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    for (const std::thread::id& id : threads) EXPECT_NE(id, std::this_thread::get_id());
}

TEST_F(WorkQueueTest, AJobPostedByARunningJobRunsAfterTheJobsAlreadyWaiting) {
    ThreadedWorkQueue queue;
    Gate gate;
    std::vector<std::string> order;
    queue.post(gate.job());
    gate.waitUntilEntered();
    queue.post([&] {
        order.push_back("first");
        queue.post([&] { order.push_back("posted by first"); });
    });
    queue.post([&] { order.push_back("second"); });
    gate.open();
    ASSERT_TRUE(eventually([&] { return !queue.hasPendingWork(); }));
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second", "posted by first"}));
}

TEST_F(WorkQueueTest, ConcurrentPostersKeepTheirOwnOrderAndEveryJobRunsOnce) {
    constexpr int posters = 4;
    constexpr int jobsEach = 500;
    ThreadedWorkQueue queue;
    std::vector<std::vector<int>> seen(posters);  // the worker's alone while jobs run
    std::vector<std::thread> threads;
    for (int p = 0; p < posters; ++p) {
        threads.emplace_back([&, p] {
            for (int i = 0; i < jobsEach; ++i) queue.post([&, p, i] { seen[p].push_back(i); });
        });
    }
    for (std::thread& thread : threads) thread.join();
    ASSERT_TRUE(eventually([&] { return !queue.hasPendingWork(); }));
    for (int p = 0; p < posters; ++p) {
        ASSERT_EQ(seen[p].size(), std::size_t(jobsEach));
        for (int i = 0; i < jobsEach; ++i) ASSERT_EQ(seen[p][i], i) << "poster " << p;
    }
}

TEST_F(WorkQueueTest, DeletingAQueueFinishesTheRunningJobDropsTheRestAndJoinsTheWorker) {
    auto queue = std::make_unique<ThreadedWorkQueue>();
    Gate gate;
    std::atomic<bool> firstFinished{false};
    std::atomic<int> laterRuns{0};
    auto token = std::make_shared<int>(0);  // held by the dropped jobs
    queue->post([&] {
        gate.job()();
        firstFinished = true;
    });
    gate.waitUntilEntered();
    queue->post([&, token] { ++laterRuns; });
    queue->post([&, token] { ++laterRuns; });

    std::atomic<bool> deleted{false};
    std::thread deleter([&] {
        queue.reset();
        deleted = true;
    });
    std::this_thread::sleep_for(200ms);  // time for the deleter to request the stop
    EXPECT_FALSE(deleted) << "the destructor must wait for the running job";
    gate.open();
    deleter.join();
    EXPECT_TRUE(firstFinished);
    EXPECT_EQ(laterRuns, 0);
    EXPECT_EQ(token.use_count(), 1) << "dropped jobs must be destroyed";
}

TEST_F(WorkQueueTest, AStopRequestReachesAWorkerThatIsJustAboutToWait) {
    // A lost wake-up would hang one of these destructors for good.
    for (int i = 0; i < 300; ++i) {
        ThreadedWorkQueue queue;
        if (i % 2 == 0) queue.post([] {});
    }
}

TEST_F(WorkQueueTest, AFailingJobStopsTheWorkerAndReachesTheHandlerWithItsText) {
    struct Case {
        const char* name;
        IWorkQueue::Job job;
        std::string expected;
    };
    const Case cases[] = {
        {"runtime error", [] { throw std::runtime_error("Tunnel map missing"); }, "Worker thread: Tunnel map missing"},
        {"load error",
         [] { throw CheckReleaseError("Could not read ore definition 'slate'"); },
         "Worker thread: Could not read ore definition 'slate'"},
        {"fatal error", [] { throw MainError("Unhandled exception 0xC0000005"); },
         "Worker thread: Unhandled exception 0xC0000005"},
        {"empty job", IWorkQueue::Job(), "Worker thread: bad_function_call"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ThreadedWorkQueue queue;
        std::atomic<bool> laterRan{false};
        queue.post(c.job);
        queue.post([&] { laterRan = true; });
        std::vector<std::string> reports;
        const auto report = [&](const std::string& text) { reports.push_back(text); };
        ASSERT_TRUE(eventually([&] { return reportWorkerFailure(report); }));
        EXPECT_EQ(reports, std::vector<std::string>{c.expected});
        EXPECT_FALSE(reportWorkerFailure(report)) << "a failure is reported once";

        queue.post([&] { laterRan = true; });
        std::this_thread::sleep_for(20ms);
        EXPECT_FALSE(laterRan) << "no job runs after a failure";
        EXPECT_TRUE(queue.hasPendingWork());
    }
}

TEST_F(WorkQueueTest, TheFirstOfTwoFailuresIsTheOneReported) {
    recordWorkerFailure("first");
    recordWorkerFailure("second");
    std::vector<std::string> reports;
    while (reportWorkerFailure([&](const std::string& text) { reports.push_back(text); })) {
    }
    EXPECT_EQ(reports, std::vector<std::string>{"Worker thread: first"});
}

TEST(WorkQueueDeathTest, AFaultInAJobIsReportedByTheWorkersCrashTranslator) {
    static volatile std::uintptr_t badAddress = 0x10;
    EXPECT_EXIT(
        {
            ThreadedWorkQueue queue;
            queue.post([] { *reinterpret_cast<volatile int*>(badAddress) = 1; });
            std::this_thread::sleep_for(10s);
        },
        ::testing::ExitedWithCode(static_cast<unsigned char>(crashExitCode)),
        "Access violation trying to write to 0x0+10\\.");
}

TEST_F(WorkQueueTest, PumpedJobsRunOnlyWhenPumpedOnThePumpingThreadInPostingOrder) {
    PumpedWorkQueue pumped;
    ThreadedWorkQueue worker;
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    for (int i = 1; i <= 3; ++i) {
        worker.post([&, i] {
            pumped.post([&, i] {
                order.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
        });
    }
    ASSERT_TRUE(eventually([&] { return !worker.hasPendingWork(); }));
    EXPECT_TRUE(pumped.hasPendingWork());
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(order.empty()) << "nothing runs before the pump";

    pumped.pump();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    for (const std::thread::id& id : threads) EXPECT_EQ(id, std::this_thread::get_id());
    EXPECT_FALSE(pumped.hasPendingWork());
}

TEST_F(WorkQueueTest, APumpedJobPostedDuringThePumpWaitsForTheNextPump) {
    PumpedWorkQueue pumped;
    int runs = 0;
    pumped.post([&] {
        ++runs;
        pumped.post([&] { ++runs; });
    });
    pumped.pump();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(pumped.hasPendingWork());
    pumped.pump();
    EXPECT_EQ(runs, 2);
}

TEST_F(WorkQueueTest, AnExceptionLeavesThePumpAndDeletingThePumpedQueueDropsWhatWaits) {
    auto token = std::make_shared<int>(0);
    {
        PumpedWorkQueue pumped;
        int runs = 0;
        pumped.post([] { throw std::runtime_error("bad texture"); });
        pumped.post([&] { ++runs; });
        EXPECT_THROW(pumped.pump(), std::runtime_error);
        pumped.pump();
        EXPECT_EQ(runs, 0) << "the jobs after the failing one are dropped";
        pumped.post([token] {});
    }
    EXPECT_EQ(token.use_count(), 1);
}

} // namespace
} // namespace zor
