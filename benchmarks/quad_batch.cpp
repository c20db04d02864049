// Quad submission on the CPU side of a 2048-quad batch (the world presentation's size):
// corner transforms, texture coordinates and run building, without the GL upload. The
// memcpy row copies one full batch of vertices, the bandwidth the quad rows compare with
// (their bytes_per_second against its own).
#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kCapacity = 2048;
constexpr std::int64_t kBatchBytes = kCapacity * std::int64_t(sizeof(zor::Quad));

// What the caller of a batch has at hand per quad: its texture, position and angle, and
// the angle's cosine and sine, which a caller works out when the angle changes (as sprite
// nodes do), not every frame.
struct Placements {
    Placements(const zor::Texture& first, const zor::Texture& second, int quadsPerTexture, bool rotated) {
        for (int i = 0; i < kCapacity; ++i) {
            textures.push_back((i / quadsPerTexture) % 2 ? &second : &first);
            positions.emplace_back(static_cast<float>(i % 64) * 10.0f, static_cast<float>(i / 64) * 10.0f);
            angles.push_back(rotated ? 0.001f * static_cast<float>(i) : 0.0f);
            rotations.push_back(zor::Rotation2D::of(angles.back()));
        }
    }
    std::vector<const zor::Texture*> textures;
    std::vector<zor::fpVector2> positions;
    std::vector<float> angles;
    std::vector<zor::Rotation2D> rotations;
};

enum class Turn {
    None,       // angle 0
    Carried,    // the rotation kept with the placement
    FromAngle,  // cosine and sine worked out for every quad
};

void countBatches(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kCapacity);
    state.SetBytesProcessed(state.iterations() * kBatchBytes);
}

void BM_MemcpyOneBatch(benchmark::State& state) {
    zor::Quad filled{};
    filled.vertices[3].v = 1.0f;
    const std::vector<zor::Quad> from(kCapacity, filled);
    std::vector<zor::Quad> to(kCapacity);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kBatchBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBatchBytes);
}

// quadsPerTexture: length of the runs of one texture (1 switches texture every quad).
// Submits through the batch's own placement path, as sprites, text and the world do.
template <Turn turn>
void fillBatch(benchmark::State& state) {
    const int quadsPerTexture = static_cast<int>(state.range(0));
    const auto first = zor::test::fakeTexture(1, 256, 256);
    const auto second = zor::test::fakeTexture(2, 256, 256);
    const Placements placements(*first, *second, quadsPerTexture, turn != Turn::None);
    zor::CommonBatch batch(kCapacity, 0.0f);
    const zor::PackedColor white(0xFFFFFFFFu);
    const zor::fpRect source(16, 16, 32, 32);
    const zor::fpVector2 pivot(16, 16);
    for (auto _ : state) {
        for (int i = 0; i < kCapacity; ++i) {
            const zor::fpVector2 position = placements.positions[i];
            const zor::Rotation2D rotation = turn == Turn::None      ? zor::Rotation2D()
                                             : turn == Turn::Carried ? placements.rotations[i]
                                                                     : zor::Rotation2D::of(placements.angles[i]);
            batch.drawPlaced(*placements.textures[i],
                             zor::makeAffine2D(position.x, position.y, 0.0f, 1.0f, 1.0f, rotation), source, pivot,
                             white, 0);
        }
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    countBatches(state);
    state.counters["runs"] = static_cast<double>(kCapacity / quadsPerTexture);
}

// The same quads through the virtual drawing interface, for callers that only hold one.
void fillThroughInterface(benchmark::State& state, bool rotated) {
    const auto texture = zor::test::fakeTexture(1, 256, 256);
    const Placements placements(*texture, *texture, kCapacity, rotated);
    zor::CommonBatch batch(kCapacity, 0.0f);
    zor::ITextureBatch& drawing = batch;
    const zor::PackedColor white(0xFFFFFFFFu);
    const zor::fpRect source(16, 16, 32, 32);
    for (auto _ : state) {
        for (int i = 0; i < kCapacity; ++i)
            drawing.drawRegion(*texture, placements.positions[i], source, white, 0, placements.angles[i], {16, 16},
                               {1, 1}, 0, 0.0f);
        benchmark::DoNotOptimize(batch.quads());
        batch.discardQuads();
    }
    countBatches(state);
}

void BM_QuadBatchUnrotated(benchmark::State& state) { fillBatch<Turn::None>(state); }
void BM_QuadBatchRotated(benchmark::State& state) { fillBatch<Turn::Carried>(state); }
void BM_QuadBatchRotatedFromAngle(benchmark::State& state) { fillBatch<Turn::FromAngle>(state); }
void BM_QuadBatchInterfaceUnrotated(benchmark::State& state) { fillThroughInterface(state, false); }
void BM_QuadBatchInterfaceRotated(benchmark::State& state) { fillThroughInterface(state, true); }

} // namespace

BENCHMARK(BM_MemcpyOneBatch);
BENCHMARK(BM_QuadBatchUnrotated)->Arg(kCapacity)->Arg(64)->Arg(1);
BENCHMARK(BM_QuadBatchRotated)->Arg(kCapacity)->Arg(64)->Arg(1);
BENCHMARK(BM_QuadBatchRotatedFromAngle)->Arg(kCapacity);
BENCHMARK(BM_QuadBatchInterfaceUnrotated);
BENCHMARK(BM_QuadBatchInterfaceRotated);
