#pragma once
// A thread that runs one callable. The owner makes the function return and joins the
// thread before destroying it; destroying a Thread whose function still runs ends the
// program (std::terminate), as does an exception that escapes the function.

#include <atomic>
#include <functional>
#include <thread>

namespace zor {

class Thread {
public:
    using Function = std::function<void()>;

    // Starts at once. Throws std::system_error when the system cannot start a thread.
    explicit Thread(Function function);
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // False once the function has returned.
    bool isRunning() const;
    // Waits until the function has returned. Not from the thread itself.
    void join();

private:
    Function m_function;
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

} // namespace zor
