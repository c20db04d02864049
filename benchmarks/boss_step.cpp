// One GameObjectSimulator::update of the sample boss fight in "sentinel_vault" in its last
// phase: the sentinel, its generators, the player and whatever it released, with the game's
// own physics, senses, actor step and beams. Between steps, outside the timing, a sentinel
// without a beam is sent back to its laser box, so most steps carry a turning laser. The
// counter "us_per_step" is the time of one update, "beams" the beams it updated per step on
// average. The harness's recorders are quiet while it runs. Run from the build folder (it
// reads "BundlePC").

#include <benchmark/benchmark.h>

#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/GameHarness.h"

#include "Framework/system/surface/UpdateRecord.h"

#include <chrono>
#include <memory>

namespace {

using zor::test::GameHarness;

std::unique_ptr<GameHarness> vaultInTheLastPhase(zor::ActorObject*& sentinel) {
    static zor::test::TempFolder user;
    static zor::test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    zor::test::HarnessOptions options(1, "sentinel_vault");
    options.sampleData = true;
    options.gameMovement = true;
    options.gameContacts = true;
    auto harness = std::make_unique<GameHarness>(options);
    harness->seams().playLifeRules = true;
    zor::World& world = harness->world();
    world.level->playerInvulnerable = true;
    harness->runSteps(60);
    sentinel = nullptr;
    for (const auto& [id, object] : world.gameObjects())
        if (object->kind() == zor::GameObjectKind::Actor && id == world.bossId)
            sentinel = static_cast<zor::ActorObject*>(object);
    world.bossPhase = 2;
    harness->seams().calls.clear();
    harness->seams().quiet = true;
    return harness;
}

void BossFightStep(benchmark::State& state) {
    zor::ActorObject* sentinel = nullptr;
    std::unique_ptr<GameHarness> harness = vaultInTheLastPhase(sentinel);
    if (!sentinel) {
        state.SkipWithError("the sample vault has no sentinel");
        return;
    }
    zor::World& world = harness->world();
    zor::GameObjectSimulator& objects = harness->objects();
    zor::UpdateRecord record;
    record.stepLength = GameHarness::StepLength;
    double seconds = 0.0;
    double beams = 0.0;
    for (auto _ : state) {
        if (sentinel->beamIds.empty() && sentinel->behaviorMachine->name() == "shielded") {
            sentinel->behaviorMachine->changeState("spin_start");
            sentinel->behaviorRestart = true;
        }
        ++world.stepCounter;
        record.totalTime += record.stepLength;
        const auto start = std::chrono::steady_clock::now();
        objects.update(record);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        beams += double(world.updatedBeams.size());
        world.processRemovals();
        world.soundRequests.clear();
        benchmark::DoNotOptimize(world.updatedObjects.size());
    }
    state.counters["us_per_step"] = seconds * 1e6 / double(state.iterations());
    state.counters["beams"] = beams / double(state.iterations());
    state.counters["objects"] = double(world.gameObjects().size());
}

BENCHMARK(BossFightStep)->Unit(benchmark::kMicrosecond);

} // namespace
