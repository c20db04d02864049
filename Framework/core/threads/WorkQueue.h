#pragma once
// Job queues. A job is a callable taking and returning nothing. The ThreadedWorkQueue
// runs its jobs in posting order on a worker thread of its own; the PumpedWorkQueue runs
// them on the thread that pumps it (the main thread, once per update step). Work that
// must touch OpenGL or the game is posted from a worker to the pumped queue.

#include "Framework/core/threads/ConditionVariable.h"
#include "Framework/core/threads/Mutex.h"
#include "Framework/core/threads/Thread.h"
#include "Framework/core/threads/WorkerFailure.h"

#include <atomic>
#include <deque>
#include <functional>
#include <memory>

namespace zor {

class IWorkQueue {
public:
    using Job = std::function<void()>;

    virtual ~IWorkQueue() = default;
    // Any thread.
    virtual void post(Job job) = 0;
    // Any thread.
    virtual bool hasPendingWork() const = 0;
};

class ThreadedWorkQueue : public IWorkQueue {
public:
    // The worker starts at once.
    ThreadedWorkQueue();
    // Stops the worker before its next job, joins it and drops the jobs not yet run.
    ~ThreadedWorkQueue() override;

    void post(Job job) override;
    // True from a post until the last job of its batch has finished (and for good once
    // a job has failed: the worker is gone).
    bool hasPendingWork() const override;

private:
    void run();

    std::deque<Job> m_pending;
    std::deque<Job> m_running;  // the worker's alone
    int m_pendingCount = 0;
    std::atomic<bool> m_stopRequested{false};
    mutable Mutex m_mutex;  // guards m_pending, m_pendingCount and the swap
    ConditionVariable m_wake;
    std::unique_ptr<Thread> m_worker;
};

class PumpedWorkQueue : public IWorkQueue {
public:
    PumpedWorkQueue() = default;
    // Drops the jobs not yet run.
    ~PumpedWorkQueue() override = default;

    void post(Job job) override;
    bool hasPendingWork() const override;
    // Runs the jobs posted so far, in posting order, on the calling thread; jobs posted
    // meanwhile wait for the next pump. Exceptions of a job leave the pump, and the jobs
    // after it are dropped.
    void pump();

private:
    mutable Mutex m_mutex;  // guards m_pending
    std::deque<Job> m_pending;
    std::deque<Job> m_running;
};

} // namespace zor
