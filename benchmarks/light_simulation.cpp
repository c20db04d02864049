// One light step on an open 60 x 600-tile mine with the game's 640 x 360 view (a window of
// 24 x 18 cells), the player in view. "Lit" stands still in a window the light has already
// seen, the common case; "Descending" follows the player down the shaft one row every two
// steps, so each step reveals new cells, and passes a secret every 40 rows. The light runs
// every step of the game's 60 per second.

#include "game/simulation/LightSimulator.h"
#include "game/world/World.h"
#include "game/world/level/TileType.h"

#include "Framework/core/math/Randomizer.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

using namespace zor;

constexpr std::int32_t Columns = 60;
constexpr std::int32_t Rows = 600;

struct OpenMine {
    OpenMine() {
        test::loadFixtureDefinitions();
        Screen::initViewports();
        Screen::viewports().front().virtualWidth = 640.0f;
        Screen::viewports().front().virtualHeight = 360.0f;
        auto level = std::make_shared<Level>("open_mine");
        level->width = Columns;
        level->height = Rows;
        TileLayerGrid& tiles = level->layers.emplace_back();
        tiles.width = Columns;
        tiles.height = Rows;
        tiles.tiles.assign(std::size_t(Columns * Rows), 1);
        for (std::int32_t row = 20; row < Rows; row += 40) tiles.at(18 + row % 24, row) |= TileWord::NotPresent;
        level->tileMap = std::make_shared<PersistentTileMap>(Columns, Rows);
        world.level = level;
        world.camera.viewSize = {640.0f, 360.0f};
        world.camera.update();
        player = world.spawnPlayer();
        const fpRect body = player->physicalObject.bodies().front().getBounds();
        bodyCentre = fpVector2(body.x + body.w / 2.0f, body.y + body.h / 2.0f) - player->getPosition();
        connection = light.secretFound.connect(this, [](OpenMine* mine) { ++mine->secrets; });
        LightSimulator::resetSecretAnnouncement();
    }

    void moveTo(std::int32_t column, std::int32_t row) {
        const fpVector2 centre((float(column) + 0.5f) * TileSize, (float(row) + 0.5f) * TileSize);
        player->setPosition(centre - bodyCentre);
        world.camera.setTopLeft(centre - world.camera.viewSize / 2.0f);
    }

    void darken() {
        PersistentTileMap& grid = *world.level->tileMap;
        for (std::int32_t row = 0; row < Rows; ++row)
            for (std::int32_t column = 0; column < Columns; ++column) *grid.cell(column, row) = 0;
    }

    Randomizer random = Randomizer::fromSeed(1);
    World world{random};
    LightSimulator light{world};
    ActorObject* player = nullptr;
    fpVector2 bodyCentre;
    EventConnection connection;
    long secrets = 0;
};

UpdateRecord stepRecord() {
    UpdateRecord record;
    record.stepLength = 1.0f / 60.0f;
    return record;
}

void Lit(benchmark::State& state) {
    OpenMine mine;
    mine.moveTo(30, 300);
    const UpdateRecord record = stepRecord();
    mine.light.update(record);
    for (auto _ : state) mine.light.update(record);
}
BENCHMARK(Lit);

void Descending(benchmark::State& state) {
    OpenMine mine;
    const UpdateRecord record = stepRecord();
    std::int32_t step = 0;
    for (auto _ : state) {
        const std::int32_t row = 5 + step / 2;
        mine.moveTo(30, row);
        mine.light.update(record);
        if (++step == 2 * (Rows - 10)) {
            state.PauseTiming();
            mine.darken();
            step = 0;
            state.ResumeTiming();
        }
    }
    state.counters["secrets"] = double(mine.secrets);
}
BENCHMARK(Descending);

} // namespace
