#include "Framework/core/threads/Thread.h"

#include <exception>

namespace zor {

Thread::Thread(Function function)
    : m_function(std::move(function)),
      m_thread([this] {
          // An exception escaping the function ends the program (std::thread's rule).
          m_function();
          m_finished.store(true, std::memory_order_release);
      }) {}

Thread::~Thread() {
    if (isRunning()) {
        std::terminate();
    }
    join();
}

bool Thread::isRunning() const { return !m_finished.load(std::memory_order_acquire); }

void Thread::join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

} // namespace zor
