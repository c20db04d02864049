// Applies arbitrary text as "progress.xml" to a store of achievements that the input
// defines as well: a 4-byte little-endian length, that many bytes of the achievements
// file, then the progress file. A damaged progress file stops quietly; the store stays
// whole and takes every counter and unlock afterwards.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_progress_file
//   build-fuzz/fuzz/fuzz_progress_file -max_total_time=60 build-fuzz/fuzz/corpus/progress_file
// With ZOR_FUZZ_SEED_FROM=<achievements file> and ZOR_FUZZ_SEED_TO=<seed file> it writes a
// seed instead: the store defined by that file, every counter counted up and the first
// achievement unlocked, saved by the store itself.

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/store/AchievementFile.h"
#include "Framework/store/AchievementStore.h"
#include "fuzz/support/FuzzFolders.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string lengthPrefix(std::size_t length) {
    std::string prefix(4, '\0');
    for (int i = 0; i < 4; ++i) prefix[std::size_t(i)] = char(length >> (8 * i));
    return prefix;
}

void writeSeed(const char* from, const char* to) {
    std::ifstream in(from, std::ios::binary);
    const std::string definitions((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    zor::fuzz::writeInput(zor::FileLocation::GameData, zor::AchievementFileName, definitions);
    zor::SettingsHandler settings;
    settings.declare(zor::AchievementStore::EnabledSetting, "", std::int32_t(1), zor::SettingPermanent,
                     zor::SettingInternal);
    zor::AchievementStore store;
    store.init();
    std::int32_t value = 1;
    for (const zor::AchievementCounter* counter : store.counters()) store.updateCounter(value++, false, counter->name);
    if (!store.achievements().empty()) store.unlock(store.achievements().front()->name);
    store.saveProgress();
    zor::ByteArray progress;
    const std::size_t size = zor::readFile(progress, zor::AchievementStore::ProgressFileName, zor::FileLocation::User, true);
    std::ofstream out(to, std::ios::binary);
    out << lengthPrefix(definitions.size()) << definitions
        << std::string(reinterpret_cast<const char*>(progress.get()), size);
    std::exit(out ? 0 : 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* from = std::getenv("ZOR_FUZZ_SEED_FROM");
    const char* to = std::getenv("ZOR_FUZZ_SEED_TO");
    if (from && to) writeSeed(from, to);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    if (size < 4) return 0;
    const std::size_t length = std::size_t(data[0]) | std::size_t(data[1]) << 8 | std::size_t(data[2]) << 16 |
                               std::size_t(data[3]) << 24;
    const std::size_t definitionsSize = std::min(length, size - 4);
    zor::AchievementStore store;
    try {
        store.define(zor::decodeAchievementFile(data + 4, definitionsSize));
    } catch (const zor::CheckReleaseError&) {
    }
    zor::fuzz::writeInput(zor::FileLocation::User, zor::AchievementStore::ProgressFileName, data + 4 + definitionsSize,
                          size - 4 - definitionsSize);
    store.loadProgress();

    for (const zor::Achievement* achievement : store.achievements())
        check(achievement->counter && store.findCounter(achievement->counter->name) == achievement->counter);
    for (const zor::AchievementCounter* counter : store.counters()) store.updateCounter(1, false, counter->name);
    for (const zor::Achievement* achievement : store.achievements()) {
        store.unlock(achievement->name);
        check(achievement->unlocked);
    }
    return 0;
}
