#pragma once
// The crash tests' kill: after the delay the child gets SIGKILL and is reaped.

#include <chrono>
#include <thread>

#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>

namespace zor::test {

// The child's wait status; WIFSIGNALED holds unless it had stopped by itself.
inline int killAfter(pid_t child, std::chrono::microseconds delay) {
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

} // namespace zor::test
