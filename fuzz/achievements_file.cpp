// Reads arbitrary bytes as the scrambled achievements file. Only CheckReleaseError may
// refuse them; what is accepted must encode and decode back to the same definitions, and
// the store must take it and survive every counter and unlock on it.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_achievements_file
//   build-fuzz/fuzz/fuzz_achievements_file -max_total_time=30

#include "Framework/core/Errors.h"
#include "Framework/store/AchievementFile.h"
#include "Framework/store/AchievementStore.h"

#include <cstdint>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zor::AchievementFile file;
    try {
        file = zor::decodeAchievementFile(data, size);
    } catch (const zor::CheckReleaseError&) {
        return 0;
    }
    const std::vector<std::uint8_t> bytes = zor::encodeAchievementFile(file);
    check(zor::decodeAchievementFile(bytes.data(), bytes.size()) == file);

    zor::AchievementStore store;
    store.define(file);
    for (const zor::AchievementFile::Counter& counter : file.counters) {
        check(store.hasCounter(counter.name));
        store.updateCounter(1, false, counter.name);
    }
    for (zor::Achievement* achievement : store.achievements()) {
        check(achievement->counter != nullptr);
        store.unlock(achievement->name);
        check(achievement->unlocked);
    }
    store.reset();
    return 0;
}
