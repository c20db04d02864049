#include "Framework/core/threads/WorkQueue.h"

#include "Framework/core/threads/WorkerFailure.h"
#include "Framework/platform/CrashHandler.h"
#include "Framework/platform/Debugger.h"

#include <exception>
#include <thread>
#include <utility>

namespace zor {

ThreadedWorkQueue::ThreadedWorkQueue() : m_worker(std::make_unique<Thread>([this] { run(); })) {}

ThreadedWorkQueue::~ThreadedWorkQueue() {
    {
        // Set under the lock so that a worker about to wait sees it in its predicate.
        Mutex::ScopedLock lock(m_mutex);
        m_stopRequested = true;
    }
    m_wake.notifyOne();
    m_worker->join();
}

void ThreadedWorkQueue::post(Job job) {
    {
        Mutex::ScopedLock lock(m_mutex);
        m_pending.push_back(std::move(job));
        ++m_pendingCount;
    }
    m_wake.notifyOne();
}

bool ThreadedWorkQueue::hasPendingWork() const {
    Mutex::ScopedLock lock(m_mutex);
    return m_pendingCount > 0;
}

void ThreadedWorkQueue::run() {
    // An attached debugger should stop at a fault itself, not see a report.
    if (!isDebuggerAttached()) {
        installCrashTranslator();
    }
    const bool singleProcessor = std::thread::hardware_concurrency() < 2;
    for (;;) {
        {
            Mutex::ScopedLock lock(m_mutex);
            m_wake.wait(m_mutex, [this] { return m_stopRequested || !m_pending.empty(); });
            if (m_stopRequested) {
                return;
            }
            std::swap(m_pending, m_running);
        }
        for (std::size_t i = 0; i < m_running.size(); ++i) {
            if (m_stopRequested) {
                return;
            }
            if (i > 0 && singleProcessor) {
                // Leaves the only processor to the main thread's frame now and then.
                std::this_thread::yield();
            }
            try {
                m_running[i]();
            } catch (const std::exception& e) {
                // The worker ends here; later jobs never run and hasPendingWork stays true.
                recordWorkerFailure(e.what());
                return;
            }
        }
        {
            Mutex::ScopedLock lock(m_mutex);
            m_pendingCount -= static_cast<int>(m_running.size());
        }
        m_running.clear();
    }
}

} // namespace zor
