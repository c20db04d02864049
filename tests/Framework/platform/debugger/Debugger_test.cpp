#include "Framework/platform/Debugger.h"

#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace zor {
namespace {

TEST(Debugger, TracerPidIsReadFromTheStatusText) {
    struct Case {
        const char* text;
        int pid;
    };
    const Case cases[] = {
        {"Name:\tmorrowdeep\nState:\tR (running)\nTracerPid:\t0\nUid:\t1000\n", 0},
        {"Name:\tmorrowdeep\nTracerPid:\t4242\nUid:\t1000\n", 4242},
        {"TracerPid: 17", 17},
        {"Name:\tmorrowdeep\nUid:\t1000\n", 0},
        {"TracerPid:\t\n", 0},
        {"TracerPid:\tgdb\n", 0},
        {"TracerPid:\t-5\n", 0},
        {"TracerPid:\t99999999999999999999\n", 0},
        {"NotTracerPid:\t12\n", 0},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tracerPidFromStatus(c.text), c.pid) << c.text;
}

TEST(Debugger, OutputIsDroppedWithoutADebugger) {
    ASSERT_FALSE(isDebuggerAttached());
    testing::internal::CaptureStderr();
    debuggerOutput("nobody listens\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// The child asks to be traced by this process, so it runs with a tracer.
TEST(Debugger, ATracedProcessSeesItsDebuggerAndWritesToStandardError) {
    test::TempFolder folder;
    const std::string errors = (folder / "stderr.txt").string();

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(3);
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || dup2(fd, STDERR_FILENO) < 0)
            _exit(4);
        debuggerOutput("seen by the tracer\n");
        _exit(isDebuggerAttached() ? 0 : 1);
    }

    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "tracing is not permitted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(folder.read("stderr.txt"), "seen by the tracer\n");
}

} // namespace
} // namespace zor
