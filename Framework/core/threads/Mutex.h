#pragma once
// The lock of every shared structure. Locks are taken alone and never nested: a thread
// never locks a Mutex it already holds. Debug builds catch a relock and abort with a
// message instead of sleeping forever.

#include <atomic>
#include <mutex>
#include <thread>

namespace zor {

class Mutex {
public:
    Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock();
    void unlock();

    // Unlocks when it leaves scope.
    class ScopedLock {
    public:
        explicit ScopedLock(Mutex& mutex) : m_mutex(mutex) { m_mutex.lock(); }
        ~ScopedLock() { m_mutex.unlock(); }
        ScopedLock(const ScopedLock&) = delete;
        ScopedLock& operator=(const ScopedLock&) = delete;

    private:
        Mutex& m_mutex;
    };

private:
    friend class ConditionVariable;

    // The condition variable releases and retakes the lock around a wait.
    void markReleased();
    void markAcquired();

    std::mutex m_mutex;
    // The holder, kept in every build so the layout does not depend on NDEBUG.
    std::atomic<std::thread::id> m_owner{};
};

} // namespace zor
