// The time of the load-all job over the game data folder of the build, which the first
// game state waits for behind its loading screen (the build's "BundlePC", wherever the
// program runs). The job does its work once per process, so each iteration runs it in a
// fresh child of this process (the fork and the child's exit are timed with it, a small
// part); the largest single steps are repeated on their own. Nothing here loads the whole
// job in this process, so every repetition, interleaved or not, loads.

#include <benchmark/benchmark.h>

#include "Framework/core/io/Files.h"
#include "game/definitions/ActorDefinition.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/definitions/MachineDefinition.h"
#include "game/definitions/MachineTables.h"
#include "tests/support/common/TempFolder.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void useGameData() {
    static zor::test::TempFolder user;
    static zor::test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    zor::initFileSystem(ZOR_BENCH_BUNDLE_DIR);
}

void LoadAllDefinitions(benchmark::State& state) {
    useGameData();
    for (auto _ : state) {
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                zor::loadAllDefinitions();
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(zor::allDefinitionsLoaded() ? 0 : 2);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the load-all job failed");
            break;
        }
    }
}
BENCHMARK(LoadAllDefinitions)->Unit(benchmark::kMillisecond);

void LoadActorsFile(benchmark::State& state) {
    useGameData();
    for (auto _ : state) {
        zor::DefinitionRegistry<zor::ActorDefinition> actors("ActorDefinitions", "Actor", "Name");
        actors.loadFile("Definitions/actors.xml");
        benchmark::DoNotOptimize(actors.definitions().data());
    }
}
BENCHMARK(LoadActorsFile)->Unit(benchmark::kMicrosecond);

void BuildAnimationMachines(benchmark::State& state) {
    useGameData();
    zor::DefinitionRegistry<zor::AnimationDefinition> animations("Animations", "Animation", "Name");
    animations.loadFile(zor::kAnimationsFile);
    for (auto _ : state) {
        zor::MachineTable table;
        zor::buildMachineTable(animations, zor::kAnimationsFile, table);
        benchmark::DoNotOptimize(table.size());
    }
}
BENCHMARK(BuildAnimationMachines)->Unit(benchmark::kMicrosecond);

} // namespace
