#pragma once
// A work queue whose jobs run on the test's own thread when it is drained, or, for a
// worker as quick as can be, as they are posted: the harness's stand-in for both the
// worker and the pumped queue.

#include "Framework/core/threads/WorkQueue.h"

#include <deque>

namespace zor::test {

class InlineWorkQueue final : public IWorkQueue {
public:
    explicit InlineWorkQueue(bool runAtPost = false) : m_runAtPost(runAtPost) {}

    void post(Job job) override;
    bool hasPendingWork() const override { return !m_pending.empty(); }
    // Runs the jobs posted so far, in posting order; jobs they post wait for the next drain.
    // An exception leaves the drain, and the jobs after the failed one stay queued.
    void drain();

    void setRunAtPost(bool runAtPost) { m_runAtPost = runAtPost; }

private:
    bool m_runAtPost;
    std::deque<Job> m_pending;
};

} // namespace zor::test
