#include "Framework/core/threads/WorkQueue.h"

#include <utility>

namespace zor {

void PumpedWorkQueue::post(Job job) {
    Mutex::ScopedLock lock(m_mutex);
    m_pending.push_back(std::move(job));
}

bool PumpedWorkQueue::hasPendingWork() const {
    Mutex::ScopedLock lock(m_mutex);
    return !m_pending.empty();
}

void PumpedWorkQueue::pump() {
    m_running.clear();
    {
        Mutex::ScopedLock lock(m_mutex);
        std::swap(m_pending, m_running);
    }
    for (const Job& job : m_running) {
        job();
    }
    m_running.clear();
}

} // namespace zor
