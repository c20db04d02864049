#include "Framework/core/threads/Mutex.h"

#include <cstdio>
#include <cstdlib>

namespace zor {

void Mutex::lock() {
#ifndef NDEBUG
    // Only the holder can see its own id here, so this read needs no ordering.
    if (m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id()) {
        std::fputs("Mutex locked again by the thread that holds it; that thread would wait "
                   "forever.\n",
                   stderr);
        std::abort();
    }
#endif
    m_mutex.lock();
    markAcquired();
}

void Mutex::unlock() {
    markReleased();
    m_mutex.unlock();
}

void Mutex::markReleased() { m_owner.store(std::thread::id(), std::memory_order_relaxed); }

void Mutex::markAcquired() { m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed); }

} // namespace zor
