// Digging through a generated 60 x 600 mine as a weapon does: bursts of eight cells along a
// row, three hits each (TotalHits 3), so every third hit breaks a tile and releases what it
// holds (one cell in 25 carries ore). The game object simulator of a headless harness game
// on the fixture definitions digs; "hit" reports the time per digCell call, the removal of
// the broken tiles' TileDamage entities included.

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

constexpr std::int32_t Columns = 60;
constexpr std::int32_t Rows = 600;
constexpr std::int32_t BurstCells = 8;
constexpr std::int32_t HitsPerCell = 3;

// Tile types of the fixture library.
constexpr std::uint16_t Dirt = 1;
constexpr std::uint16_t Bedrock = 3;
constexpr std::uint16_t Moss = 4;
constexpr std::uint16_t Rubble = 6;

class Mine {
public:
    Mine() : m_harness(std::make_unique<test::GameHarness>(test::HarnessOptions(1, "fixture_deep"))) {
        World& world = m_harness->world();
        auto level = std::make_shared<Level>("dig_mine");
        level->library = world.level->library;
        level->width = Columns;
        level->height = Rows;
        level->startDepth = 0;
        TileLayerGrid& tiles = level->layers.emplace_back();
        tiles.width = Columns;
        tiles.height = Rows;
        tiles.tiles.assign(std::size_t(Columns * Rows), 0);
        level->tileMap = std::make_shared<PersistentTileMap>(Columns, Rows);
        world.level = level;
        generate();
        m_harness->objects().buildLevelPhysics();
    }

    // The same mine again, every tile whole, nothing dug out lying about.
    void generate() {
        World& world = m_harness->world();
        for (const auto& entry : world.gameObjects())
            if (entry.second != world.player()) world.removeEntity(entry.second);
        world.processRemovals();
        world.soundRequests.clear();
        Level& level = *world.level;
        level.cellRecords.clear();
        const std::int32_t ore = resourceRegistry().nameIndex().at("ore") + 1;
        Randomizer random(2026, 26);
        const std::uint16_t ground[] = {Dirt, Dirt, Moss, Rubble};
        for (std::int32_t row = 0; row < Rows; ++row) {
            for (std::int32_t column = 0; column < Columns; ++column) {
                const bool border = row == 0 || row == Rows - 1 || column == 0 || column == Columns - 1;
                std::uint16_t word = border ? Bedrock : ground[random.nextIndex(4)];
                if (!border && random.nextIndex(25) == 0) {
                    level.cellRecords[level.cellIndex(column, row)].resourceIndex = ore;
                    word |= TileWord::HasCellRecord;
                }
                level.mainLayer().at(column, row) = word;
                *level.tileMap->cell(column, row) = TileBits::Solid;
            }
        }
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
