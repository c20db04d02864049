// An hour of simulated scripted play (216,000 steps of 1/60 s) on the sample data, with its
// level changes, deaths and saves to real files in a temporary user folder. Every 10,000
// steps it samples the resident memory, the World's entities, the listeners linked to the
// World's event lists and the object pools' blocks, prints the table and checks that none
// of them grows once the game is warmed up: the second half of the samples after warm-up
// stays within the first half's highest values (the memory and the entities within a small
// slack, the pools within one more block; the pools' bytes are shown, not judged, as one
// more block doubles them).
//
//     soak_scripted_play [steps]      (run from the build folder; it reads "BundlePC")

#include "tests/support/common/TempFolder.h"
#include "tests/support/game/GameHarness.h"
#include "tests/support/game/ScriptedPlay.h"

#include "game/world/World.h"

#include "Framework/core/memory/PooledObject.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace zor;

constexpr std::int32_t OneHour = 60 * 60 * 60;
constexpr std::int32_t SampleSteps = 10000;
// Samples taken before the game counts as warmed up: both levels built, saved and
// revisited, every pool and table at its working size.
constexpr std::size_t WarmUpSamples = 3;
// Resident memory moves by a few pages with the allocator's free lists.
constexpr double MemorySlackBytes = 2.0 * 1024 * 1024;
// A sanitizer's allocator holds freed blocks in quarantine and grows its own tables, so the
// resident memory is shown but judged only in a plain build.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool JudgeMemory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool JudgeMemory = false;
#else
constexpr bool JudgeMemory = true;
#endif
#else
constexpr bool JudgeMemory = true;
#endif
// The entities depend on where in its round the play is sampled; a leak of one a round
// would add hundreds.
constexpr double EntitySlack = 0.25;
constexpr double EntitySlackCount = 10;

struct Sample {
    std::int32_t step = 0;
    std::string level;
    double residentBytes = 0;
    std::size_t entities = 0;
    std::size_t listeners = 0;
    std::size_t poolBlocks = 0;
    std::size_t poolBytes = 0;
};

double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    double size = 0, resident = 0;
    statm >> size >> resident;
    return resident * double(sysconf(_SC_PAGESIZE));
}

std::size_t listenerCount(const World& world) {
    std::size_t count = 0;
    for (const EventListBase* list : std::initializer_list<const EventListBase*>{
             &world.entityAdded, &world.entityRemoved, &world.levelUnloading, &world.levelStarted,
             &world.levelReady, &world.itemGained, &world.gameOver, &world.pauseStarted, &world.leavingGame,
             &world.inventoryChanged, &world.discardRequested, &world.suicideRequested, &world.quitRequested,
             &world.saveRequested, &world.conversationEnded, &world.restartRequested, &world.playerHurt})
        count += list->linkedCount();
    return count;
}

Sample sample(test::GameHarness& harness) {
    const World& world = harness.world();
    const PooledObject::Usage pools = PooledObject::usage();
    return {harness.steps(), world.level ? world.level->name : std::string("-"), residentBytes(),
            world.entities().size(), listenerCount(world), pools.blocks, pools.bytes};
}

// The highest value of the field over samples [first, last).
template <class Field>
double highest(const std::vector<Sample>& samples, std::size_t first, std::size_t last, Field field) {
    double value = 0;
    for (std::size_t i = first; i < last; ++i) value = std::max(value, double(field(samples[i])));
    return value;
}

bool staysFlat(const std::vector<Sample>& samples) {
    if (samples.size() < WarmUpSamples + 2) {
        std::printf("too few samples after warm-up to judge\n");
        return false;
    }
    const std::size_t middle = WarmUpSamples + (samples.size() - WarmUpSamples) / 2;
    struct Check {
        const char* name;
        double (*field)(const Sample&);
        double slack;           // absolute
        double relativeSlack;   // of the first half's highest value
        bool judged = true;
    };
    const Check checks[] = {
        {"resident memory", [](const Sample& s) { return s.residentBytes; }, MemorySlackBytes, 0, JudgeMemory},
        {"entities", [](const Sample& s) { return double(s.entities); }, EntitySlackCount, EntitySlack},
        {"listeners", [](const Sample& s) { return double(s.listeners); }, 0, 0},
        {"pool blocks", [](const Sample& s) { return double(s.poolBlocks); }, 1, 0},
    };
    bool flat = true;
    for (const Check& check : checks) {
        const double before = highest(samples, WarmUpSamples, middle, check.field);
        const double after = highest(samples, middle, samples.size(), check.field);
        const bool ok = after <= before * (1.0 + check.relativeSlack) + check.slack;
        std::printf("%-16s first half %.0f, second half %.0f: %s\n", check.name, before, after,
                    !check.judged ? "not judged under a sanitizer" : ok ? "flat" : "GROWS");
        flat = flat && (ok || !check.judged);
    }
    return flat;
}

} // namespace

int main(int argc, char** argv) {
    const std::int32_t steps = argc > 1 ? std::max(std::atoi(argv[1]), SampleSteps) : OneHour;
    test::TempFolder user;
    test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    test::GameHarness harness(test::scriptedPlayOptions(33));
    test::ScriptedPlay play(harness);

    std::printf("%8s %-10s %10s %9s %10s %12s %11s\n", "step", "level", "rss_kib", "entities", "listeners",
                "pool_blocks", "pool_kib");
    std::vector<Sample> samples;
    const auto start = std::chrono::steady_clock::now();
    for (std::int32_t done = 0; done < steps; done += SampleSteps) {
        play.run(std::min(SampleSteps, steps - done));
        const Sample& s = samples.emplace_back(sample(harness));
        std::printf("%8d %-10s %10.0f %9zu %10zu %12zu %11zu\n", s.step, s.level.c_str(), s.residentBytes / 1024,
                    s.entities, s.listeners, s.poolBlocks, s.poolBytes / 1024);
        std::fflush(stdout);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const test::PlayTally& tally = play.tally();
    std::printf("%d steps (%.0f s simulated) in %.1f s wall, %.0fx: %d rounds, %d level changes, %d deaths, %d saves\n",
                harness.steps(), harness.steps() / 60.0, seconds, harness.steps() / 60.0 / seconds, tally.rounds,
                tally.levelChanges, tally.deaths, tally.saves);
    const bool played = tally.levelChanges > 0 && tally.deaths > 0 && tally.saves > 0;
    if (!played) std::printf("the script did not change levels, die and save\n");
    return staysFlat(samples) && played ? EXIT_SUCCESS : EXIT_FAILURE;
}
