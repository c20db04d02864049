#pragma once
// Work of the level flow that belongs to the main thread: calls into the interface, file
// writes and setting changes. While a build holds the game on the worker, the Game has the
// work collected; at the hand-back, on the main thread, it runs the collected jobs in the
// order they came, before the World's levelReady list. Otherwise a job runs at once.

#include <functional>
#include <vector>

namespace zor {

class MainThreadWork {
public:
    using Job = std::function<void()>;

    // At once, or collected while collecting.
    void run(Job job);
    // A build begins on the worker.
    void beginCollecting() { m_collecting = true; }
    // Main thread, at the hand-back: the collected jobs in order (an exception leaves with
    // the rest dropped); afterwards jobs run at once again.
    void runCollected();
    bool collecting() const { return m_collecting; }

private:
    bool m_collecting = false;
    std::vector<Job> m_jobs;
};

} // namespace zor
