// Writing and loading the world save of a long game: 100 visited levels, each with a
// 60 x 600 tile map and an entity record of 50 persistent objects. "Write" is the whole
// save as the game makes it (the file in memory, the present file checked before it
// becomes the backup, the synced write and the renames); "Load" reads and checks the
// file into a fresh save state; Encode and Decode are the in-memory halves.

#include <benchmark/benchmark.h>

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "game/world/EntityRecords.h"
#include "game/world/SaveFile.h"
#include "game/world/World.h"
#include "game/world/WorldSaveFiles.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Levels = 100;
constexpr int Width = 60;
constexpr int Height = 600;
constexpr int EntitiesPerLevel = 50;
constexpr const char* SaveName = "savegame_0.dat";

zor::SaveState& longGame() {
    static zor::SaveState state = [] {
        zor::test::loadFixtureDefinitions();
        zor::Randomizer random = zor::Randomizer::fromSeed(9);
        zor::World world(random);
        std::vector<zor::Entity*> entities;
        for (int i = 0; i < EntitiesPerLevel; ++i) {
            const zor::fpVector2 position(float(40 * i + 20), float(13 * i));
            if (i % 2 == 0)
                entities.push_back(world.spawnActor("stone_guard", position, {1.0f, 0.0f}));
            else
                entities.push_back(world.spawnResource("gem", position, -1.0f));
        }
        zor::SaveState made;
        std::vector<std::uint8_t> record;
        zor::writeEntities(entities, record, made.names);
        for (int level = 0; level < Levels; ++level) {
            auto info = std::make_shared<zor::PersistentLevelInfo>();
            info->seedLow = level;
            info->tileMap = std::make_shared<zor::PersistentTileMap>(Width, Height, zor::TileBits::Solid);
            // A dug shaft and the cells seen around it.
            for (int row = 0; row < Height; ++row)
                for (int column = 0; column < Width; ++column)
                    if ((column + level) % 7 < 2) *info->tileMap->cell(column, row) = zor::TileBits::Seen;
            info->entities = record;
            made.levels["mine_" + std::to_string(level)] = info;
        }
        return made;
    }();
    return state;
}

void userFolder() {
    static zor::test::TempFolder user;
    static zor::test::ScopedEnv folder("ZOR_USER_DIR", user.path().string());
    static const bool ready = (zor::initFileSystem("BundlePC"), true);
    (void)ready;
}

void WorldSaveWrite(benchmark::State& state) {
    userFolder();
    zor::SaveState& game = longGame();
    zor::writeWorldSave(game, SaveName);  // a present file, as in a game after its first save
    for (auto _ : state) zor::writeWorldSave(game, SaveName);
    state.counters["file bytes"] = double(zor::SaveFile::encode(game).size());
}

void WorldSaveLoad(benchmark::State& state) {
    userFolder();
    zor::writeWorldSave(longGame(), SaveName);
    for (auto _ : state) {
        zor::SaveState read;
        const zor::BackedUpLoad load = zor::readWorldSave(read, SaveName);
        if (load.source != zor::BackedUpLoad::Main) state.SkipWithError("the save did not load");
        benchmark::DoNotOptimize(read.levels.size());
    }
}

void WorldSaveEncode(benchmark::State& state) {
    zor::SaveState& game = longGame();
    for (auto _ : state) benchmark::DoNotOptimize(zor::SaveFile::encode(game).size());
}

void WorldSaveDecode(benchmark::State& state) {
    const zor::ByteWriter file = zor::SaveFile::encode(longGame());
    for (auto _ : state) {
        zor::SaveState read;
        if (!zor::SaveFile::decode(file.data(), file.size(), read)) state.SkipWithError("the save did not read");
        benchmark::DoNotOptimize(read.levels.size());
    }
}

BENCHMARK(WorldSaveWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(WorldSaveLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(WorldSaveEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(WorldSaveDecode)->Unit(benchmark::kMillisecond);

} // namespace
