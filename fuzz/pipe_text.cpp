// Runs the input as level-editor text with three commands registered, and checks that
// every run got its exact number of arguments, each a trimmed, non-empty word without a
// double quote.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_pipe_text
//   build-fuzz/fuzz/fuzz_pipe_text -max_total_time=30

#include "Framework/core/commands/Commands.h"

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

std::size_t g_wordsTaken = 0;

void registerChecked(const std::string& name, std::size_t count) {
    zor::registerCommand(name, count, [count](const std::vector<std::string>& arguments) {
        check(arguments.size() == count);
        for (const std::string& word : arguments) {
            check(!word.empty() && word.find('"') == std::string::npos);
            check(!std::isspace(static_cast<unsigned char>(word.front())));
            check(!std::isspace(static_cast<unsigned char>(word.back())));
        }
        g_wordsTaken += count + 1;
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = [] {
        registerChecked("set", 2);
        registerChecked("go", 0);
        registerChecked("x", 1);
        return true;
    }();
    (void)registered;
    g_wordsTaken = 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    zor::runPipeText(text);
    // Every word taken is at least one byte of the text plus a separating quote.
    check(g_wordsTaken <= size);
    return 0;
}
