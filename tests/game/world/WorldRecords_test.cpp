// The small records and helpers around the World: shared constants, item counts, the byte
// grid and the debug command that forgets the save.

#include "game/world/PersistentTileMap.h"
#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/WorldSaveFiles.h"
#include "game/world/progress/ItemCountMap.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace zor {
namespace {

TEST(SharedConstants, EachIsOneObjectWithItsValue) {
    EXPECT_EQ(&colorBlackFloat(), &colorBlackFloat());
    EXPECT_EQ(colorBlackFloat().red, 0.0f);
    EXPECT_EQ(colorBlackFloat().alpha, 1.0f);
    EXPECT_EQ(defaultTileList, (std::vector<std::uint16_t>{0}));

    // Two threads asking first get the same object.
    const PackedColor* seen[2] = {nullptr, nullptr};
    std::thread other([&] { seen[0] = &redColor(); });
    seen[1] = &redColor();
    other.join();
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(redColor().value, 0xFF0000FFu);
    EXPECT_EQ(redColor().red(), 255);
    EXPECT_EQ(redColor().alpha(), 255);
}

TEST(SharedConstants, LerpColorTruncatesEachChannel) {
    const PackedColor from(0xA0000020), to(0x100000FF);
    EXPECT_EQ(lerpColor(from, to, 0.0f), from);
    EXPECT_EQ(lerpColor(from, to, 1.0f), to);
    // Red 0x20 + 0xDF / 2 = 143.5 and alpha 0xA0 - 0x90 / 2 = 88.
    EXPECT_EQ(lerpColor(from, to, 0.5f), PackedColor::fromChannels(143, 0, 0, 88));
}

TEST(ItemCountMap, HasItemAmountCountsAbsentNamesAsZero) {
    ItemCountMap empty;
    ItemCountMap items;
    items.counts["pickaxe"] = 2;
    const struct {
        const ItemCountMap* map;
        const char* name;
        std::int32_t n;
        bool expected;
    } cases[] = {
        {&items, "pickaxe", 2, true}, {&items, "pickaxe", 3, false}, {&items, "drill", 1, false},
        {&items, "drill", 0, true},   {&empty, "drill", 0, true},    {&empty, "drill", -1, true},
        {&empty, "drill", 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hasItemAmount(c.name, *c.map, c.n), c.expected) << c.name << " " << c.n;
    EXPECT_EQ(itemCount("pickaxe", items), 2);
    EXPECT_EQ(itemCount("drill", empty), 0);
}

TEST(PersistentTileMap, GetFallsBackOutsideTheGrid) {
    PersistentTileMap grid(3, 2);
    *grid.cell(2, 1) = TileBits::Solid | TileBits::Seen;
    EXPECT_EQ(grid.get(2, 1, 9), 3);
    EXPECT_EQ(grid.get(0, 0, 9), 0);
    for (const iVector2 outside : {iVector2(-1, 0), iVector2(3, 0), iVector2(0, 2), iVector2(0, -1)})
        EXPECT_EQ(grid.get(outside.x, outside.y, 9), 9);
    EXPECT_EQ(*grid.cellAt({2, 1}), 3);
    EXPECT_EQ(grid.data().size(), 6u);
}

TEST(WorldSaveFiles, ForgettingTheSaveKeepsOnlyTheCurrentLevelsRecord) {
    test::TempFolder user;
    test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    user.write("savegame_2.dat", "save");
    user.write("savegame_2.dat.backup", "older save");
    user.write("savegame_1.dat", "another slot");

    Randomizer random;
    World world(random);
    world.level = std::make_shared<Level>("mireth_1");
    const auto current = std::make_shared<PersistentLevelInfo>();
    world.saveState.levels["mireth_1"] = current;
    world.saveState.levels["shalebury"] = std::make_shared<PersistentLevelInfo>();
    world.saveState.levels["deepvault"] = std::make_shared<PersistentLevelInfo>();

    discardSaveKeepCurrentLevel(world, 2);
    ASSERT_EQ(world.saveState.levels.size(), 1u);
    EXPECT_EQ(world.saveState.levels.at("mireth_1"), current);
    EXPECT_FALSE(std::filesystem::exists(user / "savegame_2.dat"));
    EXPECT_FALSE(std::filesystem::exists(user / "savegame_2.dat.backup"));
    EXPECT_TRUE(std::filesystem::exists(user / "savegame_1.dat"));

    // Without a slot, only the records go; without a record of the level, all of them.
    world.level = std::make_shared<Level>("unvisited");
    discardSaveKeepCurrentLevel(world, NoSaveSlot);
    EXPECT_TRUE(world.saveState.levels.empty());
    EXPECT_TRUE(std::filesystem::exists(user / "savegame_1.dat"));
}

} // namespace
} // namespace zor
