// The time of the load-all job over the game data folder of the build, which the first
// game state waits for behind its loading screen (the build's "BundlePC", wherever the
// program runs). The job does its work once per process, so the whole job is one timed
// iteration; the largest single steps are repeated on their own.

#include <benchmark/benchmark.h>

#include "Framework/core/io/Files.h"
#include "game/definitions/ActorDefinition.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/definitions/MachineTables.h"
#include "tests/support/common/TempFolder.h"

namespace {

void useGameData() {
    static zor::test::TempFolder user;
    static zor::test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    zor::initFileSystem(ZOR_BENCH_BUNDLE_DIR);
}

void LoadAllDefinitions(benchmark::State& state) {
    useGameData();
    for (auto _ : state)
        zor::loadAllDefinitions();
}
BENCHMARK(LoadAllDefinitions)->Iterations(1)->Unit(benchmark::kMillisecond);

void LoadActorsFile(benchmark::State& state) {
    useGameData();
    for (auto _ : state) {
        zor::DefinitionRegistry<zor::ActorDefinition> actors("ActorDefinitions", "Actor", "Name");
        actors.loadFile("Definitions/actors.xml");
        benchmark::DoNotOptimize(actors.definitions().data());
    }
}
BENCHMARK(LoadActorsFile)->Unit(benchmark::kMicrosecond);

// Needs the registries that LoadAllDefinitions filled.
void BuildAnimationMachines(benchmark::State& state) {
    useGameData();
    zor::loadAllDefinitions();
    for (auto _ : state) {
        zor::MachineTable table;
        zor::buildMachineTable(zor::animationRegistry(), zor::kAnimationsFile, table);
        benchmark::DoNotOptimize(table.size());
    }
}
BENCHMARK(BuildAnimationMachines)->Unit(benchmark::kMicrosecond);

} // namespace
