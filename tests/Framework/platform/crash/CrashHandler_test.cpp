#include "Framework/platform/CrashHandler.h"

#include "tests/support/common/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

namespace zor {
namespace {

// What a POSIX parent sees of exit code -1.
const int reportedExitCode = static_cast<unsigned char>(crashExitCode);

// An address no program maps; volatile so the compiler cannot see the fault coming.
volatile std::uintptr_t badAddress = 0x10;

void readBadAddress() {
    const int value = *reinterpret_cast<volatile int*>(badAddress);
    std::printf("%d\n", value);
}

void writeBadAddress() { *reinterpret_cast<volatile int*>(badAddress) = 1; }

void jumpToBadAddress() { reinterpret_cast<void (*)()>(badAddress)(); }

void divideByZero() {
#if defined(__x86_64__) || defined(__i386__)
    // The division instruction itself, out of reach of the undefined-behaviour sanitizer.
    unsigned quotient = 1;
    unsigned remainder = 0;
    const unsigned divisor = 0;
    asm volatile("divl %2" : "+a"(quotient), "+d"(remainder) : "r"(divisor));
    std::printf("%u\n", quotient);
#else
    std::raise(SIGFPE);
#endif
}

void illegalInstruction() { __builtin_trap(); }

// Reading a mapped page whose file has no bytes behind it.
void readPastTheEndOfAMappedFile() {
    char name[] = "/tmp/zor-crash-XXXXXX";
    const int fd = mkstemp(name);
    unlink(name);
    void* page = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
    badAddress = reinterpret_cast<std::uintptr_t>(page);
    readBadAddress();
}

volatile bool keepGoing = true;

int overflowTheStack(int depth) {
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    return keepGoing ? overflowTheStack(depth + 1) + frame[0] : 0;
}

const std::string anyPointer = "0x[0-9A-F]{" + std::to_string(sizeof(void*) * 2) + "}";
const std::string badPointer = "0x" + std::string(sizeof(void*) * 2 - 2, '0') + "10";

// The children are forked (gtest's default style), so they see the parent's folder.
class CrashHandlerDeathTest : public ::testing::Test {
protected:
    test::TempFolder folder;
};

TEST_F(CrashHandlerDeathTest, AFaultEndsTheProcessWithTheReportOnStandardErrorAndInTheCrashFile) {
    struct Case {
        const char* name;
        void (*fault)();
        std::string report;  // a regular expression
    };
    const Case cases[] = {
        {"read", readBadAddress,
         "Unhandled exception 0xC0000005 at " + anyPointer + "\\. Access violation trying to read from " +
             badPointer + "\\.\n"},
        {"write", writeBadAddress,
         "Unhandled exception 0xC0000005 at " + anyPointer + "\\. Access violation trying to write to " +
             badPointer + "\\.\n"},
        {"jump", jumpToBadAddress,
         "Unhandled exception 0xC0000005 at " + badPointer + "\\. Access violation trying to jump to " +
             badPointer + "\\.\n"},
        {"division by zero", divideByZero, "Unhandled exception 0xC0000094 at " + anyPointer + "\\. \n"},
        {"illegal instruction", illegalInstruction, "Unhandled exception 0xC000001D at " + anyPointer + "\\. \n"},
        {"mapped file without data", readPastTheEndOfAMappedFile,
         "Unhandled exception 0xC0000006 at " + anyPointer + "\\. Access violation trying to read from " +
             anyPointer + "\\.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
#ifdef __SANITIZE_THREAD__
        // ThreadSanitizer's signal interception itself dies on a jump to an unmapped
        // address, before any handler of ours runs.
        if (c.fault == jumpToBadAddress) continue;
#endif
        EXPECT_EXIT(
            {
                installCrashTranslator();
                setCrashFileFolder(folder.path().string());
                c.fault();
            },
            ::testing::ExitedWithCode(reportedExitCode), c.report + "Backtrace:\n");
        const std::string file = folder.read("crash.txt");
        EXPECT_THAT(file, ::testing::ContainsRegex(c.report + "Backtrace:\n"));
    }
}

TEST_F(CrashHandlerDeathTest, AStackOverflowIsReportedFromTheAlternateStack) {
    EXPECT_EXIT(
        {
            installCrashTranslator();
            overflowTheStack(0);
        },
        ::testing::ExitedWithCode(reportedExitCode), "Unhandled exception 0xC0000005 at .*Backtrace:\n");
}

TEST_F(CrashHandlerDeathTest, AThreadWithoutTheTranslatorTakesTheDefaultCourse) {
    EXPECT_EXIT(
        {
            installCrashTranslator();  // for the main thread only
            std::thread(writeBadAddress).join();
        },
        ::testing::KilledBySignal(SIGSEGV), "");
}

void announceDump(const CrashRecord& record, const siginfo_t&, const void*) {
    char text[128];
    const std::size_t length = formatCrashText(record, text, sizeof(text));
    static const char heading[] = "dump for: ";
    write(STDERR_FILENO, heading, sizeof(heading) - 1);
    write(STDERR_FILENO, text, length);
}

TEST_F(CrashHandlerDeathTest, TheDumperOnlyWritesTheDumpAndLetsTheFaultGoOn) {
    EXPECT_EXIT(
        {
            setCrashDumpWriter(announceDump);
            installCrashDumper();
            writeBadAddress();
        },
        ::testing::KilledBySignal(SIGSEGV), "^dump for: Unhandled exception 0xC0000005 at .* write to " + badPointer);
}

TEST(CrashHandler, TheReportTextNamesCodeAddressAndAccess) {
    const std::string pad(sizeof(void*) * 2 - 8, '0');
    struct Case {
        CrashRecord record;
        std::string text;
    };
    const Case cases[] = {
        {{0xC0000005, 0x401A2C, CrashAccess::Write, 0},
         "Unhandled exception 0xC0000005 at 0x" + pad + "00401A2C. Access violation trying to write to 0x" + pad +
             "00000000."},
        {{0xC0000006, 0x10, CrashAccess::Jump, 0xBEEF0},
         "Unhandled exception 0xC0000006 at 0x" + pad + "00000010. Access violation trying to jump to 0x" + pad +
             "000BEEF0."},
        {{0xC0000094, 0xFFFF, CrashAccess::None, 0}, "Unhandled exception 0xC0000094 at 0x" + pad + "0000FFFF. "},
        {{0x1D, 0, CrashAccess::None, 0}, "Unhandled exception 0x0000001D at 0x" + pad + "00000000. "},
    };
    for (const Case& c : cases) {
        char buffer[256];
        EXPECT_EQ(formatCrashText(c.record, buffer, sizeof(buffer)), c.text.size());
        EXPECT_EQ(std::string(buffer), c.text);
    }
}

TEST(CrashHandler, TheReportTextIsCutToTheBufferAndStaysTerminated) {
    char buffer[21];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    const CrashRecord record{0xC0000005, 0x401A2C, CrashAccess::Read, 0x10};
    EXPECT_EQ(formatCrashText(record, buffer, 20), 19u);
    EXPECT_EQ(std::string(buffer), "Unhandled exception");
    EXPECT_EQ(buffer[20], 'x');
}

} // namespace
} // namespace zor
