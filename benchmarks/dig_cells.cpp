// Digging through a generated 60 x 600 mine as a weapon does: bursts of eight cells along a
// row, three hits each (TotalHits 3), so every third hit breaks a tile and releases what it
// holds (one cell in 25 carries ore). The game object simulator of a headless harness game
// on the fixture definitions digs; "hit" reports the time per digCell call, the removal of
// the broken tiles' TileDamage entities included.

#include "benchmarks/SolidMine.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/level/TileType.h"

#include "game/definitions/DamageData.h"
#include "game/definitions/ResourceDefinition.h"

#include "Framework/core/math/Randomizer.h"
#include "tests/support/game/GameHarness.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace zor;
using namespace zor::bench;

constexpr std::int32_t Columns = 60;
constexpr std::int32_t Rows = 600;
constexpr std::int32_t BurstCells = 8;
constexpr std::int32_t HitsPerCell = 3;

class Mine {
public:
    Mine() : m_harness(std::make_unique<test::GameHarness>(test::HarnessOptions(1, "fixture_deep"))) {
        installEmptyMine(m_harness->world(), "dig_mine", Columns, Rows).startDepth = 0;
        generate();
        m_harness->objects().buildLevelPhysics();
    }

    // The same mine again, every tile whole, nothing dug out lying about.
    void generate() {
        fillSolidMine(m_harness->world(), Randomizer(2026, 26), {Dirt, Dirt, Moss, Rubble});
        m_cursor = {1, 1};
    }

    // Digs the next burst; false once the mine is dug out (nothing dug then).
    bool burst(const DamageData& damage) {
        if (m_cursor.y >= Rows - 1) return false;
        GameObjectSimulator& objects = m_harness->objects();
        for (std::int32_t cell = 0; cell < BurstCells; ++cell) {
            for (std::int32_t hit = 0; hit < HitsPerCell; ++hit)
                benchmark::DoNotOptimize(objects.digCell(m_cursor, {1.0f, 0.0f}, damage));
            if (++m_cursor.x == Columns - 1) m_cursor = {1, m_cursor.y + 1};
        }
        return true;
    }

    // What a step does between bursts: removals and the sounds handed on.
    void settle() {
        m_harness->world().processRemovals();
        m_harness->world().soundRequests.clear();
    }

private:
    std::unique_ptr<test::GameHarness> m_harness;
    iVector2 m_cursor{1, 1};
};

void DigCellBursts(benchmark::State& state) {
    Mine mine;
    DamageData damage;
    damage.amount = 1.0f;
    damage.tier = 5;
    damage.totalHits = float(HitsPerCell);
    std::int64_t hits = 0;
    for (auto _ : state) {
        if (!mine.burst(damage)) {
            state.PauseTiming();
            mine.generate();
            state.ResumeTiming();
            mine.burst(damage);
        }
        hits += BurstCells * HitsPerCell;
        // The broken tiles' TileDamages leave as the step's removals would take them.
        mine.settle();
    }
    state.counters["hit"] = benchmark::Counter(double(hits), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(DigCellBursts)->Unit(benchmark::kMicrosecond);

} // namespace
