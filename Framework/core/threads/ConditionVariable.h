#pragma once
// Waiting for another thread's signal under a Mutex.

#include "Framework/core/threads/Mutex.h"

#include <condition_variable>

namespace zor {

class ConditionVariable {
public:
    ConditionVariable() = default;
    ConditionVariable(const ConditionVariable&) = delete;
    ConditionVariable& operator=(const ConditionVariable&) = delete;

    // The caller holds mutex; it is released during the wait and held again on return.
    // The timeout is in seconds, truncated to whole milliseconds; a timeout <= 0 waits
    // without limit. May return early (spurious wake-up): callers that wait for a
    // condition use the predicate form.
    void wait(Mutex& mutex, double timeoutSeconds);

    // Waits until ready() holds; ready is tested under the lock, so a notification
    // sent before the wait began is never lost.
    template <class Predicate>
    void wait(Mutex& mutex, Predicate ready) {
        std::unique_lock<std::mutex> lock(mutex.m_mutex, std::adopt_lock);
        mutex.markReleased();
        m_condition.wait(lock, ready);
        mutex.markAcquired();
        lock.release();
    }

    void notifyOne();

private:
    std::condition_variable m_condition;
};

} // namespace zor
