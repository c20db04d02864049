// Dynamite going off in a filled 40 x 120 mine: each pass throws 100 sticks on a grid through
// the solid rock and lets each one detonate (area damage over the cells its radius touches,
// knockback, the noise), then takes the step's removals. The mine is filled anew, untimed,
// between passes so every blast meets whole rock. "detonation" reports the time per blast.

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

constexpr std::int32_t Columns = 40;
constexpr std::int32_t Rows = 120;
constexpr std::int32_t Blasts = 100;
constexpr std::int32_t BlastColumns = 10;

// Tile types of the fixture library.
constexpr std::uint16_t Dirt = 1;
constexpr std::uint16_t Bedrock = 3;
constexpr std::uint16_t Rubble = 6;

class FilledMine {
public:
    FilledMine() : m_harness(std::make_unique<test::GameHarness>(test::HarnessOptions(1, "fixture_deep"))) {
        test::addDefinitions(projectileRegistry(), "bench projectiles", R"(
          <Projectile><Name>dynamite</Name><CollisionBox>-4;-4;8;8</CollisionBox>
            <CollisionGroup>projectiles</CollisionGroup><TimeFuze>2</TimeFuze>
            <RadialDamage Amount="6" Tier="3" Radius="100" Falloff="Linear"/>
            <Knockback Amount="300" Radius="140" StunTime="0.5"/></Projectile>)");
        World& world = m_harness->world();
        auto level = std::make_shared<Level>("blast_mine");
        level->library = world.level->library;
        level->width = Columns;
        level->height = Rows;
        TileLayerGrid& tiles = level->layers.emplace_back();
        tiles.width = Columns;
        tiles.height = Rows;
        tiles.tiles.assign(std::size_t(Columns * Rows), 0);
        level->tileMap = std::make_shared<PersistentTileMap>(Columns, Rows);
        world.level = level;
        fill();
        m_harness->objects().buildLevelPhysics();
    }

    // Every cell solid again (one in 25 holding ore) and nothing released lying about.
    void fill() {
        World& world = m_harness->world();
        for (const auto& entry : world.gameObjects())
            if (entry.second != world.player()) world.removeEntity(entry.second);
        settle();
        Level& level = *world.level;
        level.cellRecords.clear();
        const std::int32_t ore = resourceRegistry().nameIndex().at("ore") + 1;
        Randomizer random(2026, 27);
        for (std::int32_t row = 0; row < Rows; ++row)
            for (std::int32_t column = 0; column < Columns; ++column) {
                const bool border = row == 0 || row == Rows - 1 || column == 0 || column == Columns - 1;
                std::uint16_t word = border ? Bedrock : (random.nextIndex(2) == 0 ? Dirt : Rubble);
                if (!border && random.nextIndex(25) == 0) {
                    level.cellRecords[level.cellIndex(column, row)].resourceIndex = ore;
                    word |= TileWord::HasCellRecord;
                }
                level.mainLayer().at(column, row) = word;
                *level.tileMap->cell(column, row) = TileBits::Solid;
            }
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
