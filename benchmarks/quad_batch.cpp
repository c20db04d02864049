// Quad submission on the CPU side of a 2048-quad batch (the world presentation's size):
// corner transforms, texture coordinates and run building, without the GL upload.
#include "Framework/graphics/batch/CommonBatch.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kCapacity = 2048;

// quadsPerTexture: length of the runs of one texture (1 switches texture every quad).
void fillBatch(benchmark::State& state, bool rotated) {
    const int quadsPerTexture = static_cast<int>(state.range(0));
    const auto first = zor::test::fakeTexture(1, 256, 256);
    const auto second = zor::test::fakeTexture(2, 256, 256);
    zor::CommonBatch batch(kCapacity, 0.0f);
    const zor::PackedColor white(0xFFFFFFFFu);
    const zor::fpRect source(16, 16, 32, 32);
    for (auto _ : state) {
        for (int i = 0; i < kCapacity; ++i) {
            const zor::Texture& texture = (i / quadsPerTexture) % 2 ? *second : *first;
            const float x = static_cast<float>(i % 64) * 10.0f;
            const float y = static_cast<float>(i / 64) * 10.0f;
            batch.drawRegion(texture, {x, y}, source, white, 0, rotated ? 0.001f * static_cast<float>(i) : 0.0f,
                             {16, 16}, {1, 1}, 0, 0.0f);
        }
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    state.SetItemsProcessed(state.iterations() * kCapacity);
    state.counters["runs"] = static_cast<double>(kCapacity / quadsPerTexture);
}

void BM_QuadBatchUnrotated(benchmark::State& state) { fillBatch(state, false); }
void BM_QuadBatchRotated(benchmark::State& state) { fillBatch(state, true); }

} // namespace

BENCHMARK(BM_QuadBatchUnrotated)->Arg(kCapacity)->Arg(64)->Arg(1);
BENCHMARK(BM_QuadBatchRotated)->Arg(kCapacity)->Arg(64)->Arg(1);
