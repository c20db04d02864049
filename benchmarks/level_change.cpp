// One level change into "mine1" of the sample data, as the Game's build job makes it: the
// checkpoint of the level left, every entity removed, the level generated, its physics
// built and populated (player, actors with their settling, resources, exits, shapes), the
// player placed and the entry's checkpoint. First visits generate the mine on fresh seeds;
// returns build it from its record and restore it. The game runs a change behind its
// fade to black, on the worker. Run from the build folder (it reads "BundlePC").

#include <benchmark/benchmark.h>

#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/GameHarness.h"

#include <memory>

namespace {

using zor::test::GameHarness;

std::unique_ptr<GameHarness> sampleGame() {
    static zor::test::TempFolder user;
    static zor::test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    zor::test::HarnessOptions options(1, "shalebury");
    options.sampleData = true;
    return std::make_unique<GameHarness>(options);
}

void changeIntoMine1(benchmark::State& state, bool firstVisit) {
    std::unique_ptr<GameHarness> harness = sampleGame();
    zor::Simulator& simulator = harness->simulator();
    zor::World& world = harness->world();
    for (auto _ : state) {
        if (firstVisit) world.saveState.levels.erase("mine1");
        simulator.requestLevel("mine1", zor::Simulator::StartEntry, zor::fpVector2());
        simulator.buildLevel();
        benchmark::DoNotOptimize(world.entities().size());
    }
    state.counters["entities"] = double(world.entities().size());
}

void LevelChangeFirstVisit(benchmark::State& state) { changeIntoMine1(state, true); }
void LevelChangeReturn(benchmark::State& state) { changeIntoMine1(state, false); }

BENCHMARK(LevelChangeFirstVisit)->Unit(benchmark::kMillisecond);
BENCHMARK(LevelChangeReturn)->Unit(benchmark::kMillisecond);

} // namespace
