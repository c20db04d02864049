#include "Framework/platform/CrashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <setjmp.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

// Why the handler ends the process itself: the fault cannot become an exception that
// reaches main's error box. A C++ exception must not be thrown out of a signal handler
// (the unwinder cannot cross the signal frame reliably, and the interrupted code may hold
// the allocator's or the library's locks half-way through an update), and returning would
// run the faulting instruction again. So the handler writes the report with
// async-signal-safe calls only and ends the process with _exit, which also skips static
// destructors and atexit handlers that would run on corrupt state.

namespace zor {
namespace {

enum ThreadMode : int { NotInstalled = 0, Translate = 1, DumpOnly = 2 };

// What the handler is doing on this thread; a fault inside the handler itself must not
// start a second report.
enum Stage : int { Idle = 0, Reporting = 1, Unwinding = 2 };

// Plain data: thread-local storage without a constructor is safe to use in the handler.
thread_local int t_mode = NotInstalled;
thread_local int t_stage = Idle;
thread_local sigjmp_buf t_unwindEscape;

const int faultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};

std::atomic<CrashDumpWriter> g_dumpWriter{nullptr};
std::atomic<bool> g_reporting{false};

// "<folder>/crash.txt", prepared outside the handler.
char g_crashFilePath[4096];
std::atomic<bool> g_crashFileReady{false};

// An alternate signal stack for one thread, given back when the thread ends.
class AlternateStack {
public:
    AlternateStack() : m_memory(std::max<std::size_t>(SIGSTKSZ, 64 * 1024)) {
        stack_t stack{};
        stack.ss_sp = m_memory.data();
        stack.ss_size = m_memory.size();
        sigaltstack(&stack, nullptr);
    }
    ~AlternateStack() {
        stack_t stack{};
        stack.ss_flags = SS_DISABLE;
        sigaltstack(&stack, nullptr);
    }
    AlternateStack(const AlternateStack&) = delete;
    AlternateStack& operator=(const AlternateStack&) = delete;

private:
    std::vector<char> m_memory;
};

// Appends to a fixed buffer, always leaving room for the terminating zero.
class TextBuffer {
public:
    TextBuffer(char* buffer, std::size_t size) : m_buffer(buffer), m_size(size) {
        if (m_size > 0) m_buffer[0] = '\0';
    }
    void append(const char* text, std::size_t length) {
        for (std::size_t i = 0; i < length && m_length + 1 < m_size; ++i) {
            m_buffer[m_length++] = text[i];
        }
        if (m_size > 0) m_buffer[m_length] = '\0';
    }
    std::size_t length() const { return m_length; }

private:
    char* m_buffer;
    std::size_t m_size;
    std::size_t m_length = 0;
};

// Upper-case hexadecimal, at least minDigits digits, zero-filled on the left.
struct Hex {
    Hex(std::uintmax_t value, int minDigits) {
        char reversed[sizeof(std::uintmax_t) * 2];
        int count = 0;
        do {
            reversed[count++] = "0123456789ABCDEF"[value & 0xF];
            value >>= 4;
        } while (value != 0);
        while (count < minDigits) reversed[count++] = '0';
        for (int i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
        length = static_cast<std::size_t>(count);
    }
    char digits[sizeof(std::uintmax_t) * 2];
    std::size_t length;
};

const int pointerDigits = static_cast<int>(sizeof(void*) * 2);

// Appends text with %1% and %2% replaced by the given arguments.
void appendFormatted(TextBuffer& out, const char* text, const Hex& first, const Hex* second) {
    while (*text) {
        if (text[0] == '%' && (text[1] == '1' || (text[1] == '2' && second)) && text[2] == '%') {
            const Hex& argument = text[1] == '1' ? first : *second;
            out.append(argument.digits, argument.length);
            text += 3;
        } else {
            out.append(text, 1);
            ++text;
        }
    }
}

struct CodeEntry {
    int signalCode;
    std::uint32_t exceptionCode;
};

// The exception code of a signal's si_code; the first entry is the fallback.
std::uint32_t lookUpCode(const CodeEntry* begin, const CodeEntry* end, int signalCode) {
    for (const CodeEntry* entry = begin; entry != end; ++entry) {
        if (entry->signalCode == signalCode) return entry->exceptionCode;
    }
    return begin->exceptionCode;
}

const CodeEntry arithmeticCodes[] = {
    {FPE_FLTINV, 0xC0000090},  // floating-point invalid operation (fallback)
    {FPE_INTDIV, 0xC0000094},  // integer division by zero
    {FPE_INTOVF, 0xC0000095},  // integer overflow
    {FPE_FLTDIV, 0xC000008E},  // floating-point division by zero
    {FPE_FLTOVF, 0xC0000091},  // floating-point overflow
    {FPE_FLTUND, 0xC0000093},  // floating-point underflow
    {FPE_FLTRES, 0xC000008F},  // floating-point inexact result
    {FPE_FLTSUB, 0xC000008C},  // array bounds exceeded
};

const CodeEntry instructionCodes[] = {
    {ILL_ILLOPC, 0xC000001D},  // illegal instruction (fallback)
    {ILL_PRVOPC, 0xC0000096},  // privileged instruction
    {ILL_PRVREG, 0xC0000096},
};

std::uintptr_t instructionAddress(const void* context) {
    if (!context) return 0;
    const auto& machine = static_cast<const ucontext_t*>(context)->uc_mcontext;
#if defined(__x86_64__)
    return static_cast<std::uintptr_t>(machine.gregs[REG_RIP]);
#elif defined(__i386__)
    return static_cast<std::uintptr_t>(machine.gregs[REG_EIP]);
#elif defined(__aarch64__)
    return static_cast<std::uintptr_t>(machine.pc);
#else
    (void)machine;
    return 0;
#endif
}

// The page-fault error code of x86 says whether a fault was a write or an instruction
// fetch; elsewhere the kind stays unknown and the report leaves the access sentence out.
CrashAccess accessKind(const void* context, std::uintptr_t pc, std::uintptr_t accessAddress) {
#if defined(__x86_64__) || defined(__i386__)
    if (!context) return CrashAccess::None;
    const auto errorCode =
        static_cast<std::uintptr_t>(static_cast<const ucontext_t*>(context)->uc_mcontext.gregs[REG_ERR]);
    if ((errorCode & 0x10) != 0 || pc == accessAddress) return CrashAccess::Jump;
    return (errorCode & 0x2) != 0 ? CrashAccess::Write : CrashAccess::Read;
#else
    (void)context;
    return pc == accessAddress && pc != 0 ? CrashAccess::Jump : CrashAccess::None;
#endif
}

void writeAll(int fd, const char* text, std::size_t length) {
    while (length > 0) {
        const ssize_t written = write(fd, text, length);
        if (written <= 0) return;
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

const char backtraceHeading[] = "\nBacktrace:\n";
const char noBacktrace[] = "(unavailable)\n";

void writeReport(int fd, const char* text, std::size_t length, void* const* frames, int frameCount) {
    writeAll(fd, text, length);
    writeAll(fd, backtraceHeading, sizeof(backtraceHeading) - 1);
    if (frameCount > 0) {
        backtrace_symbols_fd(frames, frameCount, fd);
    } else {
        writeAll(fd, noBacktrace, sizeof(noBacktrace) - 1);
    }
}

// The unwinder reads the code at every return address; after a jump to a bad address
// that read faults too. The handler then comes back here (SA_NODEFER) and the report
// goes out without a backtrace.
int collectBacktrace(void** frames, int capacity) {
    if (sigsetjmp(t_unwindEscape, 1) != 0) {
        t_stage = Reporting;
        return 0;
    }
    t_stage = Unwinding;
    const int count = backtrace(frames, capacity);
    t_stage = Reporting;
    return count;
}

// Lets the fault take its default course: with the default action restored, returning
// runs the faulting instruction again; a signal sent by a process is raised again.
void fallThrough(int signal, const siginfo_t* info) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    if (info->si_code <= 0) raise(signal);
}

void onFault(int signal, siginfo_t* info, void* context) {
    if (t_stage == Unwinding) {
        siglongjmp(t_unwindEscape, 1);
    }
    if (t_stage == Reporting) {
        _exit(crashExitCode);  // a fault while reporting: the text is out as far as it got
    }
    const int mode = t_mode;
    if (mode == NotInstalled) {
        fallThrough(signal, info);
        return;
    }
    t_stage = Reporting;
    if (g_reporting.exchange(true)) {
        // Another thread is reporting its fault; it ends the process.
        for (;;) pause();
    }
    const CrashRecord record = crashRecordFromSignal(signal, *info, context);
    if (CrashDumpWriter writer = g_dumpWriter.load()) {
        writer(record, *info, context);
    }
    if (mode == DumpOnly) {
        fallThrough(signal, info);
        return;
    }

    char text[256];
    const std::size_t length = formatCrashText(record, text, sizeof(text));
    // The text first: should anything below fail, it is out.
    writeAll(STDERR_FILENO, text, length);
    void* frames[64];
    const int frameCount = collectBacktrace(frames, 64);
    writeReport(STDERR_FILENO, nullptr, 0, frames, frameCount);
    if (g_crashFileReady.load(std::memory_order_acquire)) {
        const int fd = open(g_crashFilePath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0) {
            writeReport(fd, text, length, frames, frameCount);
            close(fd);
        }
    }
    _exit(crashExitCode);
}

void installProcessHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        // The first backtrace loads the unwinder; do it now, not inside the handler.
        void* frame[1];
        backtrace(frame, 1);
        struct sigaction action {};
        action.sa_sigaction = onFault;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        for (int signal : faultSignals) {
            sigaction(signal, &action, nullptr);
        }
    });
}

void installForThread(ThreadMode mode) {
    installProcessHandler();
    thread_local AlternateStack stack;
    t_mode = mode;
}

} // namespace

CrashRecord crashRecordFromSignal(int signal, const siginfo_t& info, const void* context) {
    CrashRecord record;
    bool accessFault = false;
    switch (signal) {
    case SIGSEGV:
        record.code = 0xC0000005;  // access violation
        accessFault = info.si_code == SEGV_MAPERR || info.si_code == SEGV_ACCERR;
        break;
    case SIGBUS:
        if (info.si_code == BUS_ADRALN) {
            record.code = 0x80000002;  // misaligned data
        } else {
            record.code = 0xC0000006;  // in-page error: the memory behind a mapping is gone
            accessFault = info.si_code == BUS_ADRERR || info.si_code == BUS_OBJERR;
        }
        break;
    case SIGFPE:
        record.code = lookUpCode(std::begin(arithmeticCodes), std::end(arithmeticCodes), info.si_code);
        break;
    case SIGILL:
        record.code = lookUpCode(std::begin(instructionCodes), std::end(instructionCodes), info.si_code);
        break;
    default:
        break;
    }
    record.address = instructionAddress(context);
    if (record.address == 0 && (signal == SIGFPE || signal == SIGILL)) {
        record.address = reinterpret_cast<std::uintptr_t>(info.si_addr);
    }
    if (accessFault) {
        record.accessAddress = reinterpret_cast<std::uintptr_t>(info.si_addr);
        record.access = accessKind(context, record.address, record.accessAddress);
    }
    return record;
}

std::size_t formatCrashText(const CrashRecord& record, char* buffer, std::size_t size) {
    TextBuffer out(buffer, size);
    const Hex address(record.address, pointerDigits);
    const Hex code(record.code, 8);
    appendFormatted(out, "Unhandled exception 0x%2% at 0x%1%. ", address, &code);
    const Hex accessAddress(record.accessAddress, pointerDigits);
    switch (record.access) {
    case CrashAccess::Read:
        appendFormatted(out, "Access violation trying to read from 0x%1%.", accessAddress, nullptr);
        break;
    case CrashAccess::Write:
        appendFormatted(out, "Access violation trying to write to 0x%1%.", accessAddress, nullptr);
        break;
    case CrashAccess::Jump:
        appendFormatted(out, "Access violation trying to jump to 0x%1%.", accessAddress, nullptr);
        break;
    case CrashAccess::None:
        break;
    }
    return out.length();
}

void installCrashTranslator() { installForThread(Translate); }

void installCrashDumper() { installForThread(DumpOnly); }

void setCrashFileFolder(const std::string& folder) {
    g_crashFileReady.store(false, std::memory_order_release);
    if (folder.empty()) return;
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += "crash.txt";
    if (path.size() >= sizeof(g_crashFilePath)) return;
    std::memcpy(g_crashFilePath, path.c_str(), path.size() + 1);
    g_crashFileReady.store(true, std::memory_order_release);
}

void setCrashDumpWriter(CrashDumpWriter writer) { g_dumpWriter.store(writer); }

} // namespace zor
