// Reads arbitrary text as "Definitions/leaderboards.xml". Loading may fail only with
// CheckReleaseError naming the file; every leaderboard that is registered is found under
// its name, with its sort and display among the known values.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_leaderboards
//   build-fuzz/fuzz/fuzz_leaderboards -max_total_time=60 build-fuzz/fuzz/corpus/leaderboards

#include "Framework/core/Errors.h"
#include "Framework/store/LeaderboardDefinitions.h"
#include "fuzz/support/FuzzFolders.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    zor::fuzz::writeInput(zor::FileLocation::GameData, zor::LeaderboardDefinitions::FileName, data, size);
    zor::LeaderboardDefinitions definitions;
    std::vector<std::string> registered;
    const zor::EventConnection connection = definitions.leaderboardRegistered().connect(
        &registered, [](std::vector<std::string>* names, const zor::LeaderboardDefinition& definition) {
            names->push_back(definition.name);
        });
    try {
        definitions.load();
    } catch (const zor::CheckReleaseError& error) {
        check(std::string(error.what()).find("leaderboards") != std::string::npos);
    }
    for (const std::string& name : registered) {
        const zor::LeaderboardDefinition* found = definitions.find(name);
        check(found != nullptr);
        check(found->sort >= zor::LeaderboardSortNone && found->sort <= zor::LeaderboardSortDescending);
        check(found->display >= zor::LeaderboardDisplayNone && found->display <= zor::LeaderboardDisplayMilliseconds);
    }
    return 0;
}
