// Twenty turrets, each sweeping two lasers, in the harness's bare room on the fixture
// definitions: every step each turret's beams turn, are measured by the ray march and the
// segment test, and hurt at their interval (with collision bodies in the second case).
// "beam" is the time per beam per step.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/rules/ObjectLife.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/BeamDefinition.h"

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace zor;

constexpr int Turrets = 20;
constexpr int BeamsPerTurret = 2;

void loadTurrets() {
    static const bool loaded = [] {
        test::loadFixtureDefinitions();
        test::addDefinitions(beamRegistry(), "bench beams", R"(
          <Beam><Name>bench_laser</Name><Range>400</Range><AngularVelocity>1.5</AngularVelocity>
            <StopAgainst>tiles;player;enemies</StopAgainst><CollideAgainst>player;enemies;tiles</CollideAgainst>
            <Damage Amount="0.01" KnockbackMultiplier="0"/><DamageInterval>0.5</DamageInterval></Beam>
          <Beam><Name>bench_solid_laser</Name><Range>400</Range><AngularVelocity>1.5</AngularVelocity>
            <StopAgainst>tiles;player;enemies</StopAgainst><CollideAgainst>player;enemies;tiles</CollideAgainst>
            <Damage Amount="0.01" KnockbackMultiplier="0"/><DamageInterval>0.5</DamageInterval>
            <Physicalized>true</Physicalized><DamageWidth>6</DamageWidth></Beam>)");
        test::addDefinitions(actorRegistry(), "bench turrets", R"(
          <Actor><Name>bench_turret</Name><Template>crawler</Template><HitPoints>1000</HitPoints>
            <Beams><Beam Definition="bench_laser" Angle="0"/><Beam Definition="bench_laser" Angle="180"/></Beams>
          </Actor>
          <Actor><Name>bench_solid_turret</Name><Template>crawler</Template><HitPoints>1000</HitPoints>
            <Beams><Beam Definition="bench_solid_laser" Angle="0"/><Beam Definition="bench_solid_laser" Angle="180"/></Beams>
          </Actor>)");
        return true;
    }();
    (void)loaded;
}

void updateTurrets(benchmark::State& state, const char* turret) {
    loadTurrets();
    test::GameHarness harness(test::HarnessOptions(1, "fixture_deep"));
    World& world = harness.world();
    std::vector<ActorObject*> turrets;
    for (int i = 0; i < Turrets; ++i)
        turrets.push_back(world.spawnActorFacingRight(
            turret, {60.0f + 34.0f * float(i), 120.0f + 40.0f * float(i % 4)}));
    ObjectLife rules;
    GameObjectSimulator& objects = harness.objects();
    const float step = test::GameHarness::StepLength;
    for (auto _ : state) {
        world.updatedBeams.clear();
        world.constantSoundIds.clear();
        for (ActorObject* turret : turrets) rules.updateBeams(objects, *turret, step);
    }
    state.counters["beam"] = benchmark::Counter(double(state.iterations()) * Turrets * BeamsPerTurret,
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void UpdateBeamsOfTwentyTurrets(benchmark::State& state) { updateTurrets(state, "bench_turret"); }
// The same turning beams with collision bodies, reshaped and moved every step.
void UpdatePhysicalBeamsOfTwentyTurrets(benchmark::State& state) { updateTurrets(state, "bench_solid_turret"); }

BENCHMARK(UpdateBeamsOfTwentyTurrets)->Unit(benchmark::kMicrosecond);
BENCHMARK(UpdatePhysicalBeamsOfTwentyTurrets)->Unit(benchmark::kMicrosecond);

} // namespace
