// The Game runs the light after the Simulator in every unpaused step.

#include "game/world/World.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>

namespace zor {
namespace {

TEST(LightInGame, TheLevelAroundThePlayerIsSeenFromTheFirstStep) {
    test::GameHarness harness;
    World& world = harness.world();
    // An open level of 40 x 30 cells, the player in cell (5, 5).
    auto level = std::make_shared<Level>("light_in_game");
    level->width = 40;
    level->height = 30;
    TileLayerGrid& tiles = level->layers.emplace_back();
    tiles.width = level->width;
    tiles.height = level->height;
    tiles.tiles.assign(40 * 30, 1);
    level->tileMap = std::make_shared<PersistentTileMap>(level->width, level->height);
    world.level = level;
    ActorObject* player = world.player() ? world.player() : world.spawnPlayer();
    ASSERT_NE(player, nullptr);
    player->setPosition({0.0f, 0.0f});
    const fpRect body = player->physicalObject.bodies().front().getBounds();
    player->setPosition(fpVector2(5.5f * TileSize, 5.5f * TileSize) -
                        fpVector2(body.x + body.w / 2.0f, body.y + body.h / 2.0f));

    harness.runSteps(1);
    const auto seenAt = [&](std::int32_t column, std::int32_t row) {
        return (*level->tileMap->cell(column, row) & TileBits::Seen) != 0;
    };
    EXPECT_TRUE(seenAt(5, 5));
    // The window around the view reaches 11 columns right of its centre and 8 rows below.
    const fpRect& view = world.camera.visibleRect;
    const auto column = std::int32_t((view.x + view.w / 2.0f) / TileSize);
    const auto row = std::int32_t((view.y + view.h / 2.0f) / TileSize);
    ASSERT_TRUE(column >= 0 && column + 12 < 40 && row >= 0 && row + 9 < 30) << column << ", " << row;
    EXPECT_TRUE(seenAt(column, row));
    EXPECT_TRUE(seenAt(column + 11, row + 8));
    EXPECT_FALSE(seenAt(column + 12, row));
    EXPECT_FALSE(seenAt(column, row + 9));
}

} // namespace
} // namespace zor
