// The world presentation's per-frame preparation on the CPU. Ratios within one run:
// DecorationTreeCollect against DecalLinearScan (2000 decals of a level, a 640 x 360 view
// moving over it), and TilePass (the tile layer of a 1280 x 720 view with veins) against
// RawQuadSubmission (the same number of ready quads added to the same batch).
#include "Framework/graphics/textureset/TextureSet.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/presentation/DecorationTree.h"
#include "game/presentation/TileLayerDrawing.h"
#include "game/presentation/TileLayerRecords.h"
#include "game/presentation/WorldQuads.h"
#include "game/world/SharedConstants.h"
#include "game/world/level/Level.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace zor;
using namespace zor::presentation;

constexpr int DecalCount = 2000;
const fpRect LevelArea{0, 0, 8000, 4000};

std::vector<Decal> scatteredDecals() {
    std::vector<Decal> decals(DecalCount);
    std::uint32_t seed = 12345;
    const auto next = [&seed](float range) {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1u << 24) * range;
    };
    for (Decal& decal : decals) decal.bounds = {next(7900), next(3900), 20 + next(80), 20 + next(80)};
    return decals;
}

// Views across the level, a step apart.
fpRect viewAt(std::int64_t frame) {
    return {float(frame * 37 % 7360), float(frame * 23 % 3640), 640, 360};
}

void BM_DecorationTreeCollect(benchmark::State& state) {
    const std::vector<Decal> decals = scatteredDecals();
    DecorationTree tree(LevelArea, 180);
    for (const Decal& decal : decals) tree.insert(DrawEntry::decal(0, 0, decal), decal.bounds);
    std::vector<DrawEntry> list;
    list.reserve(DecalCount);
    std::int64_t frame = 0;
    for (auto _ : state) {
        list.clear();
        tree.collect(viewAt(frame++), list);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_DecorationTreeCollect);

void BM_DecalLinearScan(benchmark::State& state) {
    const std::vector<Decal> decals = scatteredDecals();
    std::vector<DrawEntry> list;
    list.reserve(DecalCount);
    std::int64_t frame = 0;
    for (auto _ : state) {
        list.clear();
        const fpRect view = viewAt(frame++);
        for (const Decal& decal : decals)
            if (rectsOverlap(decal.bounds, view)) list.push_back(DrawEntry::decal(0, 0, decal));
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_DecalLinearScan);

// A revealed main layer of two tile types, every seventh cell holding a vein resource.
struct TileScene {
    TileScene() : page(test::fakeTexture(5, 256, 256)) {
        textures.add("rock", page, {0, 0, 40, 40});
        textures.add("dirt", page, {40, 0, 40, 40});
        textures.add("vein", page, {80, 0, 40, 40});
        auto library = std::make_shared<PatchLibraryTables>();
        library->tileTypes.resize(3);
        library->tileTypes[1].texture = "rock";
        library->tileTypes[2].texture = "dirt";
        level.library = library;
        TileLayerGrid layer;
        layer.width = 200;
        layer.height = 100;
        for (int cell = 0; cell < layer.width * layer.height; ++cell) {
            std::uint16_t word = std::uint16_t(1 + cell % 3 / 2);
            if (cell % 7 == 0) {
                word |= TileWord::HasCellRecord;
                level.cellRecords[cell] = {0, 1};
            }
            layer.tiles.push_back(word);
        }
        level.tileMap = std::make_shared<PersistentTileMap>(layer.width, layer.height, TileBits::Solid);
        level.layers.push_back(layer);
        auto vein = std::make_shared<ResourceDefinition>();
        vein->useVeinTileTexture = true;
        records.build(*library, textures, {vein}, {"vein"}, 1.0f / 1280.0f);
    }

    std::shared_ptr<Texture> page;
    TextureSet textures;
    Level level;
    TileLayerRecords records;
    const TileLayerView view{{1000, 1000, 1280, 720}, 1280.0f, 1.0f / 1280.0f};
};

void BM_TilePass(benchmark::State& state) {
    TileScene scene;
    CommonBatch batch(2048, 0.0f);
    WorldQuads quads(batch, [](CommonBatch& full) { full.discardQuads(); });
    for (auto _ : state) {
        batch.discardQuads();
        drawTileLayer(quads, scene.level, scene.level.mainLayer(), scene.records, scene.view);
        benchmark::DoNotOptimize(batch.quads());
    }
    state.counters["quads"] = batch.count();
}
BENCHMARK(BM_TilePass);

void BM_RawQuadSubmission(benchmark::State& state) {
    TileScene scene;
    CommonBatch batch(2048, 0.0f);
    WorldQuads quads(batch, [](CommonBatch& full) { full.discardQuads(); });
    drawTileLayer(quads, scene.level, scene.level.mainLayer(), scene.records, scene.view);
    const std::vector<Quad> ready(batch.quads(), batch.quads() + batch.count());
    for (auto _ : state) {
        batch.discardQuads();
        batch.setTexture(*scene.page);
        for (const Quad& quad : ready) batch.addQuad(quad);
        benchmark::DoNotOptimize(batch.quads());
    }
    state.counters["quads"] = batch.count();
}
BENCHMARK(BM_RawQuadSubmission);

} // namespace
