#pragma once
// A World holding a level drawn as rows of characters, one per cell, for the light:
//   '#' solid, '.' open, '*' open and already seen, 'S' an open secret (its tile is not
//   present in the grid), '@' solid and already seen, 'P' open, where the player stands.
// picture() draws the grid back the same way, with 'o' for an open seen cell and 's' for
// a seen secret. The main viewport is 280 x 120 units, a window of 10 x 6 cells: with the
// camera on cell (6, 4) of a 12 x 8 level, columns 1 to 10 and rows 1 to 6, so the outer
// ring of such a level lies outside it.

#include "game/simulation/LightSimulator.h"
#include "game/world/World.h"
#include "game/world/level/TileType.h"

#include "Framework/core/math/Randomizer.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor::test {

class LightTest : public ::testing::Test {
protected:
    static constexpr float StepLength = 1.0f / 60.0f;

    LightTest() {
        loadFixtureDefinitions();
        LightSimulator::resetSecretAnnouncement();
        setViewport(280.0f, 120.0f);
        connection = light.secretFound.connect(this, [](LightTest* test) { ++test->announced; });
    }

    static void setViewport(float width, float height) {
        Screen::initViewports();
        Screen::viewports().front().virtualWidth = width;
        Screen::viewports().front().virtualHeight = height;
    }

    // Builds the level from the rows; the camera looks at cell (6, 4), the middle of a
    // 12 x 8 level, and the player stands on 'P' (there is none without one).
    void load(const std::vector<std::string>& rows) {
        if (world.player()) {
            world.removeEntity(world.player());
            world.processRemovals();
        }
        auto level = std::make_shared<Level>("light_fixture");
        const auto width = std::int32_t(rows.front().size());
        const auto height = std::int32_t(rows.size());
        level->width = width;
        level->height = height;
        TileLayerGrid& tiles = level->layers.emplace_back();
        tiles.width = width;
        tiles.height = height;
        tiles.tiles.assign(std::size_t(width * height), 1);
        level->tileMap = std::make_shared<PersistentTileMap>(width, height);
        for (std::int32_t row = 0; row < height; ++row)
            for (std::int32_t column = 0; column < width; ++column) {
                const char c = rows[std::size_t(row)][std::size_t(column)];
                std::uint8_t& cell = *level->tileMap->cell(column, row);
                if (c == '#' || c == '@') cell |= TileBits::Solid;
                if (c == '*' || c == '@') cell |= TileBits::Seen;
                if (c == 'S') tiles.at(column, row) |= TileWord::NotPresent;
                if (c == 'P') placePlayer(column, row);
            }
        world.level = level;
        lookAt(6, 4);
    }

    void lookAt(std::int32_t column, std::int32_t row) {
        world.camera.viewSize = {640.0f, 360.0f};
        world.camera.update();
        world.camera.setTopLeft(fpVector2((float(column) + 0.5f) * TileSize, (float(row) + 0.5f) * TileSize) -
                                world.camera.viewSize / 2.0f);
    }

    void placePlayer(std::int32_t column, std::int32_t row) {
        placePlayerCentre({(float(column) + 0.5f) * TileSize, (float(row) + 0.5f) * TileSize});
    }

    // Puts the centre of the player's first body, which the light goes by, at the point.
    void placePlayerCentre(const fpVector2& centre) {
        ActorObject* player = world.player() ? world.player() : world.spawnPlayer();
        ASSERT_NE(player, nullptr);
        player->setPosition({0.0f, 0.0f});
        const fpRect bounds = player->physicalObject.bodies().front().getBounds();
        player->setPosition(centre - fpVector2(bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f));
    }

    std::vector<std::string> picture() const {
        const PersistentTileMap& grid = *world.level->tileMap;
        const TileLayerGrid& tiles = world.level->mainLayer();
        std::vector<std::string> rows;
        for (std::int32_t row = 0; row < grid.height(); ++row) {
            std::string& line = rows.emplace_back();
            for (std::int32_t column = 0; column < grid.width(); ++column) {
                const std::uint8_t cell = *grid.cell(column, row);
                const bool seen = (cell & TileBits::Seen) != 0;
                if (cell & TileBits::Solid)
                    line += seen ? '@' : '#';
                else if (tiles.at(column, row) & TileWord::NotPresent)
                    line += seen ? 's' : 'S';
                else
                    line += seen ? 'o' : '.';
            }
        }
        return rows;
    }

    void step(float seconds = StepLength) {
        UpdateRecord record;
        record.stepLength = seconds;
        light.update(record);
    }

    Randomizer random = Randomizer::fromSeed(3);
    World world{random};
    LightSimulator light{world};
    int announced = 0;
    EventConnection connection;
};

} // namespace zor::test
