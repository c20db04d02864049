// Ores and gems in a generated level: patch resource grids, placeholders, slice
// resources and the density pass.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/world/level/TileType.h"
#include "tests/support/world/LevelFixtures.h"
#include "tests/support/world/LevelRows.h"

namespace zor {
namespace {

using test::levelDescription;

std::string level(const std::string& fillers, const std::string& slices, const std::string& more = "") {
    return levelDescription(more + "<Fillers><Spacing>0</Spacing>" + fillers + "</Fillers><Slices>" + slices +
                            "</Slices>");
}

std::string slice(const std::string& attributes, const std::string& sets) {
    return "<Slice " + attributes + "><PatchSets>" + sets + "</PatchSets></Slice>";
}

// The resource index of every cell that has one, row by row ('.' for none, else the index
// as a digit or letter).
std::vector<std::string> resourceRows(const Level& level) {
    std::vector<std::string> rows;
    const TileLayerGrid& main = level.mainLayer();
    for (std::int32_t y = 0; y < main.height; ++y) {
        std::string row;
        for (std::int32_t x = 0; x < main.width; ++x) {
            const auto found = level.cellRecords.find(level.cellIndex(x, y));
            const std::int32_t index = found == level.cellRecords.end() ? 0 : found->second.resourceIndex;
            row += index == 0 ? '.' : "0123456789abcdef"[index];
            // Bit 15 marks exactly the cells that hold a resource.
            EXPECT_EQ((main.at(x, y) & TileWord::HasCellRecord) != 0, index != 0) << x << "," << y;
        }
        rows.push_back(row);
    }
    return rows;
}

std::size_t countResources(const Level& level, std::int32_t index) {
    std::size_t count = 0;
    for (const auto& [cell, record] : level.cellRecords) count += record.resourceIndex == index ? 1 : 0;
    return count;
}

// A dirt strip with copper, a crate, nothing, tin under a tile that does not count as
// present, and a gem placeholder; fixed at the top-left corner.
const char* const kStrip = R"(<PatchSet Name="strip">
  <Patch Name="strip" Width="6" Height="1" FixedX="0" FixedY="0"><Layer Scale="1">###F#M</Layer>
    <Resources>cx.tpc</Resources></Patch>
</PatchSet>)";

TEST(PatchResourcesTest, GridsEmbedOresReserveFreeResourcesAndFollowThePresentCells) {
    const test::LevelFixture fixture({kStrip});
    struct Case {
        const char* what;
        bool remembered;  // a remembered grid with every cell dug out
        bool resetEarth;
        const char* resources;
        const char* present;
    };
    // The placeholder at row 0 of a level starting at depth 0 asks for the gem of position
    // 0: glint (4). Moss regrows and takes no ore.
    const Case cases[] = {
        {"a first build", false, false, "1...4.", "111011"},
        {"dug-out cells keep no ore", true, false, "......", "000001"},
        {"reset earth: all but ore cells and cells that do not count", true, true, "......", "011001"},
    };
    for (const Case& c : cases) {
        auto info = std::make_shared<PersistentLevelInfo>();
        if (c.remembered) info->tileMap = std::make_shared<PersistentTileMap>(6, 1, 0);
        const auto built = fixture.build(
            level("", slice("", "strip"), std::string("<StartDepth>0</StartDepth>") + (c.resetEarth ? "<ResetEarth>yes</ResetEarth>" : "")),
            info);
        EXPECT_EQ(resourceRows(*built), std::vector<std::string>{c.resources}) << c.what;
        EXPECT_EQ(test::presentRows(*built->tileMap), std::vector<std::string>{c.present}) << c.what;
        EXPECT_TRUE(built->resourcePlacements.empty());  // grids place no free-standing entities
    }

    // The crate's cell is reserved: a density of 100 % fills every other diggable cell.
    const auto dense = fixture.build(level("", slice("", "strip"),
                                           "<StartDepth>0</StartDepth><ResourceDensity Constant=\"100\" Linear=\"1\"/>"
                                           "<RandomResources>no</RandomResources>"));
    EXPECT_EQ(resourceRows(*dense), std::vector<std::string>{"1.1.4."});
}

TEST(PatchResourcesTest, APlaceholderBecomesTheGemForItsDepth) {
    const test::LevelFixture fixture({R"(<PatchSet Name="slot">
        <Patch Name="slot" Width="1" Height="1" FixedX="1" FixedY="60"><Layer Scale="1">#</Layer>
          <Resources>p</Resources></Patch></PatchSet>)"});
    struct Case {
        const char* settings;
        std::int32_t gem;
    };
    const Case cases[] = {
        {"<StartDepth>0</StartDepth>", 5},                                              // position 2.0: shard
        {"<StartDepth>0</StartDepth><ResourceTierLength>31</ResourceTierLength>", 4},   // 1.94: glint
        {"<StartDepth>90</StartDepth>", 6},                                             // 5.0: crystal
        {"<StartDepth>-90</StartDepth>", 4},                                            // below every gem
    };
    for (const Case& c : cases) {
        const auto built = fixture.build(level("<Foreground>back</Foreground>", slice("Width=\"3\" Height=\"62\"", "slot"), c.settings));
        ASSERT_EQ(countResources(*built, c.gem), 1u) << c.settings;
        EXPECT_EQ(built->cellRecords.at(built->cellIndex(1, 60)).resourceIndex, c.gem) << c.settings;
    }
}

TEST(SliceResourcesTest, ItemsGoToDiggableCells) {
    const test::LevelFixture fixture({R"(<PatchSet Name="none">
        <Patch Name="none" Width="1" Height="1" Count="0" Weight="0"><Layer Scale="1">#</Layer></Patch></PatchSet>)"});
    const auto built = fixture.build(level("<Foreground>mixed</Foreground>",
                                           slice("Width=\"20\" Height=\"20\" Gems=\"3\" SmallEggs=\"2\" LargeEggs=\"1\"", "none"),
                                           "<StartDepth>0</StartDepth>"));
    EXPECT_EQ(countResources(*built, 4) + countResources(*built, 5), 3u);  // glint and shard at these depths
    EXPECT_EQ(countResources(*built, 8), 2u);
    EXPECT_EQ(countResources(*built, 9), 1u);

    // Nothing to dig: every item gives up after its tries.
    const auto empty = fixture.build(level("<Foreground>back</Foreground>", slice("Width=\"20\" Height=\"20\" Gems=\"500\"", "none")));
    EXPECT_EQ(countResources(*empty, 4) + countResources(*empty, 5) + countResources(*empty, 6), 0u);
}

TEST(DensityResourcesTest, AChancePerDiggableCellGrowingWithTheRow) {
    const test::LevelFixture fixture({R"(<PatchSet Name="none">
        <Patch Name="none" Width="1" Height="1" Count="0" Weight="0"><Layer Scale="1">#</Layer></Patch></PatchSet>)"});
    const std::string common = "<StartDepth>0</StartDepth><RandomResources>no</RandomResources>"
                               "<ResourceTierLength>1000</ResourceTierLength><ResourceStartDepth>90</ResourceStartDepth>";
    // Only row 90 is deep enough; there the chance is 0.1 x 90 + 1 = 10 %.
    const auto built = fixture.build(level("<Foreground>dirt</Foreground>", slice("Width=\"1000\" Height=\"91\"", "none"),
                                           common + "<ResourceDensity Constant=\"1\" Linear=\"0.1\"/>"));
    const std::size_t copper = countResources(*built, 1);
    EXPECT_GE(copper, 70u);
    EXPECT_LE(copper, 130u);
    for (const auto& [cell, record] : built->cellRecords) EXPECT_TRUE(record.resourceIndex == 0 || cell / 1000 == 90) << cell;

    // Both factors must be non-zero.
    const auto none = fixture.build(level("<Foreground>dirt</Foreground>", slice("Width=\"100\" Height=\"91\"", "none"),
                                          common + "<ResourceDensity Constant=\"0\" Linear=\"0.1\"/>"));
    EXPECT_EQ(countResources(*none, 1), 0u);
}

TEST(DensityResourcesTest, PicksThatCannotBePlacedPlaceNothing) {
    const char* const set = R"(<PatchSet Name="none">
        <Patch Name="none" Width="1" Height="1" Count="0" Weight="0"><Layer Scale="1">#</Layer></Patch></PatchSet>)";
    // The legend's names, and either an ore that is itself a placeholder or no ore at all.
    const std::string names = R"(
      <Resource><Name>tin</Name><ResourceType>gem</ResourceType><DepthTier>9</DepthTier></Resource>
      <Resource><Name>glint</Name></Resource>
      <Resource><Name>gem+0</Name><SpawnResource Type="gem"/></Resource>
      <Resource><Name>crate</Name></Resource>)";
    const std::string resourceSets[] = {
        R"(<Resource><Name>copper</Name><ResourceType>ore</ResourceType><DepthTier>0</DepthTier>
             <SpawnResource Type="ore"/></Resource>)" + names,
        R"(<Resource><Name>copper</Name><ResourceType>egg</ResourceType></Resource>)" + names,
    };
    for (const std::string& resources : resourceSets) {
        const test::LevelFixture fixture({set}, resources);
        const auto built = fixture.build(level("<Foreground>dirt</Foreground>", slice("Width=\"10\" Height=\"10\"", "none"),
                                               "<ResourceDensity Constant=\"100\" Linear=\"1\"/>"));
        for (const auto& [cell, record] : built->cellRecords) EXPECT_EQ(record.resourceIndex, 0) << cell;
    }
}

} // namespace
} // namespace zor
