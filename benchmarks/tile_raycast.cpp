// Rays through a 60 x 600 mine's byte grid, as beams measure their length: from random
// points in random directions for up to 15 cells, in a mine with one cell in five solid
// (sparse) or three in five (dense). "ray" is the time per ray.

#include "game/world/PersistentTileMap.h"

#include "Framework/core/math/Randomizer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using namespace zor;

constexpr std::int32_t Columns = 60;
constexpr std::int32_t Rows = 600;
constexpr std::size_t RayCount = 4096;

struct Ray {
    fpVector2 start;
    fpVector2 direction;
};

void TileRaycast(benchmark::State& state) {
    Randomizer random(2026, 35);
    PersistentTileMap map(Columns, Rows);
    const auto solidInFive = std::uint32_t(state.range(0));
    for (std::int32_t row = 0; row < Rows; ++row)
        for (std::int32_t column = 0; column < Columns; ++column)
            if (random.nextIndex(5) < solidInFive) *map.cell(column, row) = TileBits::Solid;
    std::vector<Ray> rays(RayCount);
    for (Ray& ray : rays) {
        const float angle = 6.2831853f * random.nextFloat();
        ray.start = {Columns * random.nextFloat(), Rows * random.nextFloat()};
        ray.direction = {std::cos(angle), std::sin(angle)};
    }
    PersistentTileMap::RayHit hit;
    std::size_t next = 0;
    for (auto _ : state) {
        const Ray& ray = rays[next];
        next = (next + 1) % RayCount;
        benchmark::DoNotOptimize(map.raycast(ray.start, ray.direction, 15.0f, hit));
    }
    state.counters["ray"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(TileRaycast)->Arg(1)->Arg(3)->Unit(benchmark::kNanosecond);

} // namespace
