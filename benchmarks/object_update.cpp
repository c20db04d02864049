// One GameObjectSimulator::update of "mine1" of the sample data with 150 actors in view,
// each checking for ground, falling, walking the way it faces and turning at edges by a
// small behaviour of its own, with the game's own physics step, senses and actor step. The
// counter "us_per_actor" is the time of one update per actor. The harness's recorders are
// quiet while it runs. Run from the build folder
// (it reads "BundlePC").

#include <benchmark/benchmark.h>

#include "benchmarks/ActorsInView.h"
#include "game/definitions/ActorDefinition.h"
#include "game/definitions/MachineTables.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include "Framework/system/surface/UpdateRecord.h"

#include <chrono>
#include <memory>
#include <string>

namespace {

using zor::test::GameHarness;

constexpr int ActorCount = 150;

const char* const WalkerActor = R"(
  <Actor>
    <Name>bench_walker</Name>
    <CollisionBox>-8;-16;16;16</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <CollideAgainst>rocks;tiles;bounds</CollideAgainst>
    <CheckOnGround>true</CheckOnGround>
    <WalkSpeed>60</WalkSpeed>
    <Enemies>player</Enemies>
    <Behavior>bench_pace</Behavior>
  </Actor>)";

const char* const PaceBehavior = R"(
  <Machine><Name>bench_pace</Name><InitialState>walk</InitialState>
    <State Name="walk" State="BenchPace"><Transition Input="atEdge" Destination="turn"/></State>
    <State Name="turn" State="BenchTurn"><Transition Input="turned" Destination="walk"/></State>
  </Machine>)";

zor::MachineInstruction pace(zor::ActorObject& actor, zor::BehaviorData&) {
    actor.moveVector.x = actor.facing.x;
    return zor::MachineInstruction::Running;
}

zor::MachineInstruction turn(zor::ActorObject& actor, zor::BehaviorData&) {
    actor.facing.x = -actor.facing.x;
    actor.behaviorMachine->postEvent("turned");
    return zor::MachineInstruction::Finished;
}

std::unique_ptr<GameHarness> mineWithWalkers() {
    static zor::test::TempFolder user;
    static zor::test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    zor::test::HarnessOptions options(1, "mine1");
    options.sampleData = true;
    options.gameMovement = true;
    auto harness = std::make_unique<GameHarness>(options);
    static const bool loaded = [] {
        zor::test::addDefinitions(zor::actorRegistry(), "benchmark actors", WalkerActor);
        static zor::DefinitionRegistry<zor::BehaviorDefinition> behaviors("Behaviors", "Machine", "Name");
        behaviors.loadText("benchmark behaviors", std::string("<Behaviors>") + PaceBehavior + "</Behaviors>");
        zor::buildMachineTable(behaviors, "benchmark behaviors", zor::behaviorMachineTable());
        return true;
    }();
    (void)loaded;
    zor::EnemySimulator& enemies = harness->objects().enemySimulator();
    enemies.registerInstruction("BenchPace", pace);
    enemies.registerInstruction("BenchTurn", turn);

    zor::bench::spawnActorsInView(harness->world(), "bench_walker", ActorCount);
    harness->runSteps(30);
    harness->seams().calls.clear();
    harness->seams().quiet = true;
    return harness;
}

void ObjectUpdateMine1(benchmark::State& state) {
    std::unique_ptr<GameHarness> harness = mineWithWalkers();
    zor::World& world = harness->world();
    zor::GameObjectSimulator& objects = harness->objects();
    zor::UpdateRecord record;
    record.stepLength = GameHarness::StepLength;
    double seconds = 0.0;
    for (auto _ : state) {
        ++world.stepCounter;
        record.totalTime += record.stepLength;
        const auto start = std::chrono::steady_clock::now();
        objects.update(record);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(world.updatedObjects.size());
    }
    state.counters["updated"] = double(world.updatedObjects.size());
    state.counters["us_per_actor"] = seconds * 1e6 / double(state.iterations()) / double(ActorCount);
}

BENCHMARK(ObjectUpdateMine1)->Unit(benchmark::kMicrosecond);

} // namespace
