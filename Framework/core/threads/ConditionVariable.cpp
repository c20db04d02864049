#include "Framework/core/threads/ConditionVariable.h"

#include <chrono>

namespace zor {

void ConditionVariable::wait(Mutex& mutex, double timeoutSeconds) {
    std::unique_lock<std::mutex> lock(mutex.m_mutex, std::adopt_lock);
    mutex.markReleased();
    if (timeoutSeconds <= 0.0) {
        m_condition.wait(lock);
    } else {
        const auto milliseconds = static_cast<long long>(timeoutSeconds * 1000.0);
        m_condition.wait_for(lock, std::chrono::milliseconds(milliseconds));
    }
    mutex.markAcquired();
    lock.release();
}

void ConditionVariable::notifyOne() { m_condition.notify_one(); }

} // namespace zor
