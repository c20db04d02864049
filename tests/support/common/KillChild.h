#pragma once
// The crash tests' kill: after the delay the child gets SIGKILL and is reaped.

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zor::test {

// The child's wait status; WIFSIGNALED holds unless it had stopped by itself.
inline int killAfter(pid_t child, std::chrono::microseconds delay) {
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// A child process that calls `write(n)` for n = first, first + 1, ... until it is killed,
// telling the parent on a pipe each time a call has returned. A kill counted from those
// reports lands inside a later call however slowly a busy machine runs the child.
class ReportingWriter {
public:
    ReportingWriter(std::int32_t first, const std::function<void(std::int32_t)>& write) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            try {
                for (std::int32_t n = first;; ++n) {
                    write(n);
                    if (::write(fds[1], &n, sizeof n) != sizeof n) break;
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        ::close(fds[1]);
        m_reports = fds[0];
    }
    ~ReportingWriter() {
        if (m_reports >= 0) ::close(m_reports);
    }
    ReportingWriter(const ReportingWriter&) = delete;
    ReportingWriter& operator=(const ReportingWriter&) = delete;

    // Below 0 when the child could not be made.
    pid_t pid() const { return m_pid; }

    // Waits until `calls` more calls have returned (fewer when the child ends first), then
    // kills the child after `delay` and reaps it; the wait status.
    int killAfterCalls(int calls, std::chrono::microseconds delay) {
        std::int32_t n = 0;
        for (int i = 0; i < calls; ++i)
            if (::read(m_reports, &n, sizeof n) != sizeof n) break;
        return killAfter(m_pid, delay);
    }

private:
    pid_t m_pid = -1;
    int m_reports = -1;
};

} // namespace zor::test
