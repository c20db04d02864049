// Dynamite going off in a filled 40 x 120 mine: each pass throws 100 sticks on a grid through
// the solid rock and lets each one detonate (area damage over the cells its radius touches,
// knockback, the noise), then takes the step's removals. The mine is filled anew, untimed,
// between passes so every blast meets whole rock. "detonation" reports the time per blast.

#include "benchmarks/SolidMine.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/entity/Projectile.h"
#include "game/world/level/TileType.h"

#include "game/definitions/ProjectileDefinition.h"
#include "game/definitions/ResourceDefinition.h"

#include "Framework/core/math/Randomizer.h"
#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zor;
using namespace zor::bench;

constexpr std::int32_t Columns = 40;
constexpr std::int32_t Rows = 120;
constexpr std::int32_t Blasts = 100;
constexpr std::int32_t BlastColumns = 10;

class FilledMine {
public:
    FilledMine() : m_harness(std::make_unique<test::GameHarness>(test::HarnessOptions(1, "fixture_deep"))) {
        test::addDefinitions(projectileRegistry(), "bench projectiles", R"(
          <Projectile><Name>dynamite</Name><CollisionBox>-4;-4;8;8</CollisionBox>
            <CollisionGroup>projectiles</CollisionGroup><TimeFuze>2</TimeFuze>
            <RadialDamage Amount="6" Tier="3" Radius="100" Falloff="Linear"/>
            <Knockback Amount="300" Radius="140" StunTime="0.5"/></Projectile>)");
        installEmptyMine(m_harness->world(), "blast_mine", Columns, Rows);
        fill();
        m_harness->objects().buildLevelPhysics();
    }

    // Every cell solid again (one in 25 holding ore) and nothing released lying about.
    void fill() {
        fillSolidMine(m_harness->world(), Randomizer(2026, 27), {Dirt, Rubble});
    }

    // The blasts sit on a 10 x 10 grid, four cells apart, clear of the border.
    void detonateAll() {
        World& world = m_harness->world();
        for (std::int32_t blast = 0; blast < Blasts; ++blast) {
            const fpVector2 at((2.5f + 4.0f * float(blast % BlastColumns)) * TileSize,
                               (4.5f + 11.0f * float(blast / BlastColumns)) * TileSize);
            Projectile* stick = world.spawnProjectile("dynamite", at, world.player()->id());
            m_harness->objects().explodeProjectile(*stick);
        }
        settle();
    }

private:
    void settle() {
        World& world = m_harness->world();
        world.processRemovals();
        world.soundRequests.clear();
    }

    std::unique_ptr<test::GameHarness> m_harness;
};

void DynamiteDetonations(benchmark::State& state) {
    FilledMine mine;
    std::int64_t blasts = 0;
    for (auto _ : state) {
        mine.detonateAll();
        blasts += Blasts;
        state.PauseTiming();
        mine.fill();
        state.ResumeTiming();
    }
    state.counters["detonation"] =
        benchmark::Counter(double(blasts), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(DynamiteDetonations)->Unit(benchmark::kMicrosecond);

} // namespace
