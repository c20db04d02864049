// Ten thousand steps of scripted play on the sample data (walking, jumping, digging, tools,
// level changes by the exits, deaths with the continue, saves to real files) end in one
// golden state, in this process and in two fresh ones, whatever the process-wide
// generators hold: every simulation draw comes from the Game's own generator.
//
// The golden value changes when the sample data or the simulation's behaviour changes.
// After checking that the change is intended, run
//     build/tests/game/simulation/determinism/test_game_simulation_determinism
//         --gtest_filter='PlayDeterminism.TenThousandStepsEndInTheGoldenState'
// from the build folder: the failure names the new hash; put it into GoldenHash.

#include "tests/support/common/TempFolder.h"
#include "tests/support/game/GameHarness.h"
#include "tests/support/game/ScriptedPlay.h"

#include "Framework/core/math/Randomizer.h"
#include "Framework/system/ApplicationState.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zor {
namespace {

constexpr std::uint32_t Seed = 33;
constexpr std::int32_t Steps = 10000;
constexpr std::uint64_t GoldenHash = 0x18f90e1614edecff;

// A child run writes its hash here instead of only checking it.
constexpr const char* HashFileVariable = "ZOR_PLAY_HASH_FILE";
// The seed of the process-wide generators in a child run (else the clock's).
constexpr const char* GlobalSeedVariable = "ZOR_PLAY_GLOBAL_SEED";

std::string hex(std::uint64_t value) {
    std::ostringstream text;
    text << "0x" << std::hex << std::setw(16) << std::setfill('0') << value;
    return text.str();
}

struct PlayResult {
    std::uint64_t hash = 0;
    test::PlayTally tally;
};

PlayResult playScript() {
    test::TempFolder user;
    test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    test::GameHarness harness(test::scriptedPlayOptions(Seed));
    test::ScriptedPlay play(harness);
    play.run(Steps);
    return {harness.stateHash(), play.tally()};
}

// The process-wide generators, seeded by the caller and left as they were found: the
// engine's global Randomizer and the C library's.
class GlobalGenerators {
public:
    explicit GlobalGenerators(std::uint32_t seed) : m_seed(seed), m_generator(Randomizer::fromSeed(seed)) {
        m_previous = appState().randomizer;
        appState().randomizer = &m_generator;
        std::srand(seed);
    }
    ~GlobalGenerators() { appState().randomizer = m_previous; }

    // True when nothing has drawn from either since the seeding.
    bool untouched() const {
        const Randomizer fresh = Randomizer::fromSeed(m_seed);
        const int next = std::rand();
        std::srand(m_seed);
        return m_generator.w() == fresh.w() && m_generator.z() == fresh.z() && next == std::rand();
    }

private:
    std::uint32_t m_seed;
    Randomizer m_generator;
    Randomizer* m_previous = nullptr;
};

std::uint32_t globalSeed() {
    const char* given = std::getenv(GlobalSeedVariable);
    return given ? std::uint32_t(std::strtoul(given, nullptr, 10)) : clockSeed();
}

TEST(PlayDeterminism, TenThousandStepsEndInTheGoldenState) {
    GlobalGenerators generators(globalSeed());
    const PlayResult result = playScript();
    EXPECT_TRUE(generators.untouched()) << "a simulation draw reached a process-wide generator";
    if (const char* file = std::getenv(HashFileVariable)) std::ofstream(file) << result.hash << '\n';

    // The script did what it says, so the hash covers it.
    const test::PlayTally& tally = result.tally;
    std::ostringstream summary;
    summary << tally.rounds << " rounds, " << tally.levelChanges << " level changes (" << tally.exitChanges
            << " by exits), " << tally.deaths << " deaths, " << tally.saves << " saves";
    RecordProperty("play", summary.str());
    EXPECT_GE(tally.rounds, 10) << summary.str();
    EXPECT_GE(tally.levelChanges, 2 * tally.rounds) << summary.str();
    EXPECT_GE(tally.exitChanges, tally.rounds + tally.rounds / 2) << summary.str();
    EXPECT_GE(tally.deaths, tally.rounds / 2) << summary.str();
    EXPECT_GE(tally.saves, tally.rounds) << summary.str();
    RecordProperty("stateHash", hex(result.hash));
    EXPECT_EQ(hex(result.hash), hex(GoldenHash)) << "see the top of this file for when and how to update it";
}

// Runs this program's golden test in a child process and gives back the hash it wrote.
std::uint64_t hashOfChild(const std::string& folder, std::uint32_t globalSeed) {
    const std::string file = folder + "/hash_" + std::to_string(globalSeed);
    const std::string filter = "--gtest_filter=PlayDeterminism.TenThousandStepsEndInTheGoldenState";
    test::ScopedEnv hashFile(HashFileVariable, file);
    test::ScopedEnv seed(GlobalSeedVariable, std::to_string(globalSeed));
    std::string program = "/proc/self/exe";
    char* arguments[] = {program.data(), const_cast<char*>(filter.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ) != 0) {
        ADD_FAILURE() << "could not start the child";
        return 0;
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child run failed";
    std::uint64_t hash = 0;
    std::ifstream(file) >> hash;
    return hash;
}

TEST(PlayDeterminism, TwoProcessesWithOtherGlobalSeedsReachTheSameGoldenState) {
    if (std::getenv(HashFileVariable)) GTEST_SKIP() << "inside a child run";
    test::TempFolder folder;
    const std::uint64_t first = hashOfChild(folder.path().string(), 1);
    const std::uint64_t second = hashOfChild(folder.path().string(), 4000000007u);
    EXPECT_EQ(hex(first), hex(second));
    EXPECT_EQ(hex(first), hex(GoldenHash));
}

} // namespace
} // namespace zor
