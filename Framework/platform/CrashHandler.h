#pragma once
// Hardware faults (bad memory accesses, arithmetic faults, illegal instructions) end the
// program with a report instead of a silent death: the report names the fault in the
// exception codes and words the game's crash reports have always used, is written with a
// backtrace to standard error and to "crash.txt" in the user folder, and the process ends
// with exit code -1. Faults are caught by a signal handler (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL) that runs on an alternate stack, so a stack overflow is reported too.

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zor {

// The exit status of a process ended by a crash report (a POSIX parent sees 255).
constexpr int crashExitCode = -1;

// The kind of memory access that faulted, when the processor tells it.
enum class CrashAccess { None, Read, Write, Jump };

struct CrashRecord {
    std::uint32_t code = 0;             // 0xC0000005 access violation, 0xC0000094 division by zero, ...
    std::uintptr_t address = 0;         // the faulting instruction
    CrashAccess access = CrashAccess::None;
    std::uintptr_t accessAddress = 0;   // the address the instruction tried to use
};

// The record of a fault signal, from the arguments of an SA_SIGINFO handler
// (context is its ucontext_t).
CrashRecord crashRecordFromSignal(int signal, const siginfo_t& info, const void* context);

// The report text ("Unhandled exception 0x... at 0x.... " and, for access violations, the
// access sentence) into buffer, zero-terminated and cut to size; returns its length.
// Allocates nothing, so the signal handler can use it.
std::size_t formatCrashText(const CrashRecord& record, char* buffer, std::size_t size);

// The crash translator of the calling thread: the main thread installs it at start-up and
// each work-queue worker when it starts, only when no debugger is attached, so that a
// debugger still stops at the fault itself. Faults on threads without one take their
// default course.
void installCrashTranslator();

// For threads whose faults should only be dumped (the music thread): the dump writer runs,
// then the fault takes its default course.
void installCrashDumper();

// The folder that receives "crash.txt" (the user folder, once it is known); until then
// reports go to standard error only.
void setCrashFileFolder(const std::string& folder);

// Where a crash dump writer plugs in (the store library's minidump, when there is one). It
// runs first, on the faulting thread inside the signal handler, so it must be
// async-signal-safe. None by default.
using CrashDumpWriter = void (*)(const CrashRecord& record, const siginfo_t& info, const void* context);
void setCrashDumpWriter(CrashDumpWriter writer);

} // namespace zor
