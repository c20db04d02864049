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
#include <limits>
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

TEST(SharedConstants, LerpColorWrapsChannelsOutsideTheRangeAndBlackIsOpaque) {
    EXPECT_EQ(&colorBlack(), &colorBlack());
    EXPECT_EQ(colorBlack().value, 0xFF000000u);
    const struct {
        PackedColor from;
        PackedColor to;
        float t;
        PackedColor expected;
    } cases[] = {
        // 255 x 2 + 0 x -1 = 510, whose low byte is 254; alpha stays 255.
        {colorWhite(), colorBlack(), -1.0f, PackedColor(0xFFFEFEFEu)},
        // -255 keeps the low byte 1.
        {colorWhite(), colorBlack(), 2.0f, PackedColor(0xFF010101u)},
        // -63.75 truncates toward zero to -63, low byte 193.
        {colorWhite(), colorBlack(), 1.25f, PackedColor(0xFFC1C1C1u)},
        // White to transparent white over a teleport: 255 x 0.25 = 63.75 stays 63.
        {colorWhite(), PackedColor(0x00FFFFFFu), 0.75f, PackedColor(0x3FFFFFFFu)},
        {colorWhite(), colorBlack(), std::numeric_limits<float>::quiet_NaN(), PackedColor(0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lerpColor(c.from, c.to, c.t).value, c.expected.value) << c.t;
}

TEST(SharedConstants, RectanglesOverlapWithAreaAndLieInsideWithTheirEdges) {
    const fpRect box(0, 0, 10, 10);
    const struct {
        fpRect other;
        bool overlap;
        bool inside;  // other inside box
    } cases[] = {
        {{0, 0, 10, 10}, true, true},   {{2, 2, 3, 3}, true, true},     {{10, 0, 5, 5}, false, false},
        {{0, -5, 5, 5}, false, false},  {{9.5f, 9.5f, 1, 1}, true, false}, {{-1, 2, 3, 3}, true, false},
        {{0, 10, 10, 0}, false, true},  {{20, 20, 1, 1}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rectsOverlap(box, c.other), c.overlap) << c.other;
        EXPECT_EQ(rectsOverlap(c.other, box), c.overlap) << c.other;
        EXPECT_EQ(rectInside(c.other, box), c.inside) << c.other;
    }
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
