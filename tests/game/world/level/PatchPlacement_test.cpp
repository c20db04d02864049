// Placing patches in a slice and writing their copies into the level, on small fixture
// libraries: spacing, decks, use limits, carved cells, alignment, fillers, the object
// records of a copy and copies that reach beyond the level.

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/world/level/SliceShapes.h"
#include "game/world/level/TileType.h"
#include "tests/support/world/LevelFixtures.h"
#include "tests/support/world/LevelRows.h"

namespace zor {
namespace {

using test::layerRows;
using test::levelDescription;

std::string level(const std::string& fillers, const std::string& slices, const std::string& more = "") {
    return levelDescription(more + "<Fillers>" + fillers + "</Fillers><Slices>" + slices + "</Slices>");
}

std::string slice(const std::string& attributes, const std::string& sets, const std::string& inner = "") {
    return "<Slice " + attributes + "><PatchSets>" + sets + "</PatchSets>" + inner + "</Slice>";
}

std::string stoneBlock(const std::string& name, const std::string& attributes) {
    return "<Patch Name=\"" + name + "\" Width=\"2\" Height=\"2\" " + attributes + "><Layer Scale=\"1\">SS\nSS</Layer></Patch>";
}

// The 8-connected groups of cells holding `symbol`, each as its cells.
std::vector<std::vector<std::pair<int, int>>> groupsOf(const std::vector<std::string>& rows, char symbol) {
    std::vector<std::vector<std::pair<int, int>>> groups;
    std::set<std::pair<int, int>> seen;
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[y].size()); ++x) {
            if (rows[y][x] != symbol || seen.count({x, y})) continue;
            std::vector<std::pair<int, int>> group{{x, y}}, open{{x, y}};
            seen.insert({x, y});
            while (!open.empty()) {
                const auto [cx, cy] = open.back();
                open.pop_back();
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = cx + dx, ny = cy + dy;
                        if (ny < 0 || ny >= int(rows.size()) || nx < 0 || nx >= int(rows[ny].size())) continue;
                        if (rows[ny][nx] != symbol || !seen.insert({nx, ny}).second) continue;
                        group.emplace_back(nx, ny);
                        open.emplace_back(nx, ny);
                    }
            }
            groups.push_back(group);
        }
    return groups;
}

TEST(PatchPlacementTest, SpacingKeepsSolidCopiesApartAndDecorationsDoNot) {
    const test::LevelFixture fixture({R"(<PatchSet Name="blocks">)" + stoneBlock("block", "Count=\"0\" Weight=\"4\"") +
                                      R"(</PatchSet>
      <PatchSet Name="decor">
        <Patch Name="decor" Width="1" Height="1" Count="40" Weight="0"><Layer/><Layer Scale="1">b</Layer></Patch>
      </PatchSet>)"});
    const auto built = fixture.build(level("<Spacing>1</Spacing><Foreground>back</Foreground><Midground>moss</Midground>",
                                           slice("Width=\"13\" Height=\"13\"", "blocks decor")));
    const std::vector<std::string> rows = layerRows(built->mainLayer());
    const auto groups = groupsOf(rows, 'S');
    EXPECT_GE(groups.size(), 4u);
    for (const auto& group : groups) EXPECT_EQ(group.size(), 4u);  // no two copies touch
    EXPECT_EQ(rows[0].find('S'), std::string::npos);                // the spacing row
    for (const std::string& row : rows) EXPECT_NE(row[0], 'S');     // and column

    // Decorations ignore the spacing: single cells cover a slice completely.
    const auto decorated = fixture.build(
        level("<Spacing>1</Spacing><Foreground>back</Foreground><Midground>moss</Midground>", slice("Width=\"6\" Height=\"6\"", "decor")));
    EXPECT_EQ(test::countTiles(decorated->layers[1], 'b'), 36u);
}

TEST(PatchPlacementTest, DecksDecideWhichCandidateCopiesAreKept) {
    const test::LevelFixture fixture({R"(<PatchSet Name="dens">)" +
                                      stoneBlock("den", "Count=\"2\" Weight=\"0\" Deck=\"d\"") + "</PatchSet>"});
    struct Case {
        const char* decks;
        std::size_t copies;
    };
    const Case cases[] = {
        {R"(<Deck Name="d" Positives="1" Negatives="1"/>)", 1},
        {R"(<Deck Name="d" Positives="0" Negatives="1"/><Deck Name="d" Positives="2" Negatives="0"/>)", 2},
        {R"(<Deck Name="d" Positives="2" Negatives="0"/><Deck Name="d" Positives="0" Negatives="3"/>)", 0},
    };
    for (const Case& c : cases)
        for (std::int32_t seed = 1; seed <= 5; ++seed) {
            const auto built = fixture.build(level("<Foreground>back</Foreground>", slice("Width=\"12\" Height=\"8\"", "dens"),
                                                   std::string("<PatchDecks>") + c.decks + "</PatchDecks>"),
                                             seed, seed * 7);
            EXPECT_EQ(test::countTiles(built->mainLayer(), 'S'), 4 * c.copies) << c.decks << " seed " << seed;
        }
}

TEST(PatchPlacementTest, UseLimitsHoldOverAllSlices) {
    const test::LevelFixture fixture({R"(<PatchSet Name="once">)" +
                                      stoneBlock("once", "Count=\"3\" Weight=\"0\" MaxUses=\"2\"") + "</PatchSet>"});
    const std::string one = slice("Width=\"10\" Height=\"6\"", "once");
    const auto built = fixture.build(level("<Foreground>back</Foreground>", one + one + one));
    EXPECT_EQ(test::countTiles(built->mainLayer(), 'S'), 8u);
}

TEST(PatchPlacementTest, CarvedOnlyPatchesLandInCarvedCells) {
    const test::LevelFixture fixture({R"(<PatchSet Name="carved">
        <Patch Name="carved" Width="2" Height="2" Count="6" Weight="0" OnCarvedOnly="yes"><Layer Scale="1">MM
MM</Layer></Patch></PatchSet>)"});
    FillerField circle;
    circle.style = FieldStyle::Circle;
    circle.radius = 4;
    const iRect r(0, 0, 20, 12);
    std::size_t moss = 0;
    for (std::int32_t seed = 1; seed <= 4; ++seed) {
        const auto built = fixture.build(level("<Spacing>0</Spacing><Foreground>back</Foreground>",
                                               slice("Width=\"20\" Height=\"12\"", "carved",
                                                     "<Fillers><Fields><C Style=\"circle\" Radius=\"4\"/></Fields></Fillers>")),
                                         seed, 3);
        const std::vector<std::string> rows = layerRows(built->mainLayer());
        for (std::int32_t y = 0; y < r.h; ++y)
            for (std::int32_t x = 0; x < r.w; ++x) {
                const char cell = rows[std::size_t(y)][std::size_t(x)];
                const bool carved = fieldCovers(circle, r, FieldMask(20, 12), 0.0f, x, y);
                EXPECT_TRUE(cell == (carved ? '_' : 'b') || (carved && cell == 'M')) << x << "," << y << " seed " << seed;
                moss += cell == 'M' ? 1 : 0;
            }
    }
    EXPECT_GE(moss, 8u);
}

TEST(PatchPlacementTest, StepTwoPatchesSitOnEvenCells) {
    const test::LevelFixture fixture({R"(<PatchSet Name="even">
        <Patch Name="even" Width="2" Height="2" Count="0" Weight="3"><Layer Scale="1">SS
SS</Layer><Layer Scale="2">b</Layer></Patch></PatchSet>)"});
    // A border of 1 starts the inner rectangle on an odd column. (The exhaustive scan aligns
    // rows to the inner rectangle, so the border above keeps that even.)
    const auto built = fixture.build(level("<Spacing>1</Spacing><Foreground>back</Foreground><Borders>bedrock</Borders>"
                                           "<BorderWidth>1</BorderWidth><BorderHeight>2</BorderHeight>"
                                           "<BorderStyle>Saw</BorderStyle>",
                                           slice("Width=\"16\" Height=\"15\"", "even")));
    const auto groups = groupsOf(layerRows(built->mainLayer()), 'S');
    EXPECT_GE(groups.size(), 3u);
    for (const auto& group : groups) {
        const auto corner = *std::min_element(group.begin(), group.end(), [](auto a, auto b) {
            return a.second != b.second ? a.second < b.second : a.first < b.first;
        });
        EXPECT_EQ(corner.first % 2, 0) << corner.first << "," << corner.second;
        EXPECT_EQ(corner.second % 2, 0) << corner.first << "," << corner.second;
    }
}

TEST(PatchPlacementTest, FillersArePlacedUntilEachHasFailed) {
    // Midground fill is moss, so the filler's back tiles show where fillers went. The second
    // filler takes unpainted cells, which it never uses up: the build ends all the same.
    for (const char* flags : {"", "OnUnpaintedOnly=\"yes\""}) {
        const test::LevelFixture fixture({std::string(R"(<PatchSet Name="fill">
            <Patch Name="pillar" Width="1" Height="2" Weight="1" )") + flags + R"(><Layer/><Layer Scale="1">b
b</Layer></Patch>
            <Patch Name="dot" Width="1" Height="1" Weight="0.5" )" + flags + R"(><Layer/><Layer Scale="1">b</Layer></Patch>
          </PatchSet>)"});
        const auto built = fixture.build(level("<Midground>moss</Midground>", slice("Width=\"9\" Height=\"7\"", "fill")));
        const std::size_t filled = test::countTiles(built->layers[1], 'b');
        if (flags[0])
            EXPECT_GT(filled, 0u);
        else
            EXPECT_EQ(filled, 63u);
    }
}

const char* const kRoom = R"(<PatchSet Name="room">
  <Patch Name="room" Width="4" Height="3" FixedX="2" FixedY="3">
    <Layer Scale="1">####
#__#
####</Layer>
    <Decal Id="1" Name="crack" X="0" Y="0"/>
    <Decal Id="2" Name="moved" X="5" Y="6" Depth="1" ScaleX="2"/>
    <Sprite Id="3" Name="lamp" X="10" Y="20" Depth="0.5"/>
    <Marker Name="[start]" X="40" Y="80"/>
    <Marker Name="[start]" X="60" Y="80" FacesRight="no"/>
    <Exit Name="out" X="20" Y="100" HalfSize="30" TargetLevel="town" TargetEntry="[mine]"/>
    <Entity Id="10" Definition="crawler" X="30" Y="40"/>
    <Entity Id="11" Definition="keeper" X="50" Y="90"/>
    <Entity Id="12" Definition="guard" X="70" Y="60"/>
    <Entity Id="13" Definition="crate" X="20" Y="10"/>
    <Entity Id="14" Definition="nobody" X="20" Y="10"/>
    <Rect Id="20" Name="zone" X="4" Y="8" Width="16" Height="12"/>
    <Point Id="21" Name="spot" X="1" Y="2"/>
    <Node Id="30" Name="start" Type="LevelStarted" X="7" Y="9" Width="10" Height="10"><Link Slot="out0" Target="31"/></Node>
    <Node Id="31" Name="text" Type="ShowText"/>
  </Patch>
</PatchSet>)";

TEST(PatchCopyTest, ObjectsMoveToTheCopysPlace) {
    const test::LevelFixture fixture({kRoom});
    const auto built = fixture.build(level("<Spacing>0</Spacing><Foreground>back</Foreground>", slice("Width=\"10\" Height=\"8\"", "room")));
    const Level& level = *built;
    // Column 2, row 3 of a slice at the level's corner: 80, 120 pixels.
    ASSERT_EQ(level.transformObjects.size(), 2u);
    const fpMatrix4& identity = level.transformObjects[0].transform;
    EXPECT_EQ(identity, fpMatrix4::translation(80.0f, 120.0f, 0.0f));
    const fpMatrix4& moved = level.transformObjects[1].transform;
    EXPECT_EQ(moved[0], 2.0f);  // the object's own transform comes first
    EXPECT_EQ(moved[12], 85.0f);
    EXPECT_EQ(moved[13], 126.0f);
    EXPECT_EQ(moved[14], 1.0f);
    ASSERT_EQ(level.pointObjects.size(), 1u);
    EXPECT_EQ(level.pointObjects[0].x, 90.0f);
    EXPECT_EQ(level.pointObjects[0].y, 140.0f);
    EXPECT_EQ(level.pointObjects[0].depth, 0.5f);

    ASSERT_EQ(level.markers.count("[start]"), 1u);
    const auto& starts = level.markers.at("[start]");
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].x, 120.0f);
    EXPECT_EQ(starts[0].y, 200.0f);
    EXPECT_TRUE(starts[0].facesRight);
    EXPECT_FALSE(starts[1].facesRight);
    ASSERT_EQ(level.exits.at("out").size(), 1u);
    EXPECT_EQ(level.exits.at("out")[0].x, 100.0f);
    EXPECT_EQ(level.exits.at("out")[0].y, 220.0f);
    EXPECT_EQ(level.exits.at("out")[0].targetEntry, "[mine]");

    ASSERT_EQ(level.typedObjects.size(), 2u);
    EXPECT_EQ(level.typedObjects[0].x, 84.0f);
    EXPECT_EQ(level.typedObjects[0].width, 16.0f);
    EXPECT_EQ(level.typedObjects[1].y, 122.0f);
    ASSERT_EQ(level.graphNodes.size(), 2u);
    EXPECT_EQ(level.graphNodes[0].x, 87.0f);
    EXPECT_EQ(level.graphNodes[0].height, 10.0f);
    const std::int32_t number = level.graphNodes[0].placementNumber;
    EXPECT_GT(number, 0);
    EXPECT_EQ(level.graphNodes[0].links.at(0).placementNumber, number);
    EXPECT_EQ(level.typedObjects[1].placementNumber, number);
    EXPECT_EQ(level.graphNodes[1].placementNumber, number);
}

TEST(PatchCopyTest, EntitiesKeptByPersistenceSortedByHeight) {
    const test::LevelFixture fixture({kRoom});
    struct Case {
        const char* what;
        bool firstBuild, resetEarth, resetEntities;
        std::vector<std::string> actors;  // by y, largest first
        bool crate;
    };
    const Case cases[] = {
        {"a first build", true, false, false, {"keeper", "guard", "crawler"}, true},
        {"a rebuild", false, false, false, {"crawler"}, false},
        {"a rebuild that resets the earth", false, true, false, {"keeper", "crawler"}, false},
        {"a rebuild that resets the entities", false, false, true, {"keeper", "guard", "crawler"}, true},
    };
    for (const Case& c : cases) {
        std::string more;
        if (c.resetEarth) more += "<ResetEarth>yes</ResetEarth>";
        if (c.resetEntities) more += "<ResetEntities>yes</ResetEntities>";
        std::shared_ptr<PersistentLevelInfo> info;
        if (!c.firstBuild) info = std::make_shared<PersistentLevelInfo>();
        const auto built = fixture.build(level("<Spacing>0</Spacing>", slice("Width=\"10\" Height=\"8\"", "room"), more), info);
        std::vector<std::string> actors;
        for (const PatchEntity& actor : built->actorPlacements) actors.push_back(actor.definitionName);
        EXPECT_EQ(actors, c.actors) << c.what;
        ASSERT_EQ(built->resourcePlacements.size(), c.crate ? 1u : 0u) << c.what;
        if (!c.crate) continue;
        const PatchEntity& crate = built->resourcePlacements[0];
        EXPECT_EQ(crate.x, 100.0f);
        EXPECT_EQ(crate.y, 130.0f);
        EXPECT_EQ(crate.centreOffsetX, 60.0f);  // half of 160 pixels, less x before the move
        EXPECT_EQ(crate.centreOffsetY, 50.0f);
        EXPECT_EQ(crate.placementNumber, built->graphNodes[0].placementNumber);
    }
}

TEST(PatchCopyTest, CopiesGetPlacementNumbersOfTheirOwn) {
    const test::LevelFixture fixture({R"(<PatchSet Name="spots">
        <Patch Name="spot" Width="1" Height="1" Count="3" Weight="0"><Layer Scale="1">S</Layer>
          <Point Name="p" X="0" Y="0"/></Patch></PatchSet>)"});
    const auto built = fixture.build(level("<Foreground>back</Foreground>", slice("Width=\"8\" Height=\"8\"", "spots")));
    ASSERT_EQ(built->typedObjects.size(), 3u);
    std::set<std::int32_t> numbers;
    for (const PatchTypedObject& object : built->typedObjects) numbers.insert(object.placementNumber);
    EXPECT_EQ(numbers.size(), 3u);
}

TEST(PatchCopyTest, CopiesReachingBeyondTheLevelAreClipped) {
    // Fixed copies hanging over the right edge and the bottom, one of them shifted up and
    // left by a negative margin; their layers, grids and objects go only where the level is.
    const test::LevelFixture fixture({R"(<PatchSet Name="edge">
        <Patch Name="right" Width="6" Height="3" FixedX="6" FixedY="1"><Layer Scale="1">SSSSSB
SFSSSB
SSSSSB</Layer><Layer Scale="2">bbb</Layer><Resources>c....c
......
c....c</Resources><Point Name="p" X="200" Y="100"/></Patch>
        <Patch Name="corner" Width="3" Height="2" FixedX="0" FixedY="0" Margin="-3"><Layer Scale="1">MMM
MMM</Layer></Patch>
      </PatchSet>)"});
    for (bool resetEarth : {false, true}) {
        const auto built = fixture.build(level("<Spacing>0</Spacing><Foreground>back</Foreground>",
                                               slice("Width=\"10\" Height=\"3\"", "edge"),
                                               resetEarth ? "<ResetEarth>yes</ResetEarth>" : ""));
        EXPECT_EQ(layerRows(built->mainLayer()), (std::vector<std::string>{"MMbbbbbbbb", "bbbbbbSSSS", "bbbbbbS#SS"}))
            << resetEarth;
        EXPECT_EQ(test::presentRows(*built->tileMap), (std::vector<std::string>{"1100000000", "0000001111", "0000001011"}));
        ASSERT_EQ(built->cellRecords.size(), 1u);
        EXPECT_EQ(built->cellRecords.begin()->first, built->cellIndex(6, 1));
        EXPECT_EQ(built->typedObjects.size(), 1u);  // objects are not clipped
    }
}

TEST(PatchCopyTest, ResourcesGoWithTheTilesThatOverwriteThem) {
    // Ores in the border columns under Saw borders of width 2 (0 or 1 cell a row), and two
    // fixed copies over each other.
    const test::LevelFixture fixture({R"(<PatchSet Name="ores">
        <Patch Name="seam" Width="1" Height="6" FixedX="0" FixedY="0"><Layer Scale="1">#
#
#
#
#
#</Layer><Resources>c
c
c
c
c
c</Resources></Patch>
        <Patch Name="lid" Width="2" Height="2" FixedX="0" FixedY="2"><Layer Scale="1">SS
SS</Layer></Patch>
      </PatchSet>)"});
    std::size_t ores = 0;
    for (std::int32_t seed = 1; seed <= 6; ++seed) {
        const auto built = fixture.build(level("<Spacing>0</Spacing><Foreground>back</Foreground><Borders>bedrock</Borders>"
                                               "<BorderWidth>2</BorderWidth><BorderStyle>Saw</BorderStyle>",
                                               slice("Width=\"6\" Height=\"6\"", "ores")),
                                         seed, seed);
        const TileLayerGrid& main = built->mainLayer();
        for (std::int32_t y = 0; y < 6; ++y) {
            const auto record = built->cellRecords.find(built->cellIndex(0, y));
            const bool ore = record != built->cellRecords.end() && record->second.resourceIndex != 0;
            EXPECT_EQ(ore, (main.at(0, y) & TileWord::HasCellRecord) != 0) << "row " << y << " seed " << seed;
            EXPECT_EQ(ore, TileWord::typeIndex(main.at(0, y)) == 1) << "row " << y << " seed " << seed;
            ores += ore ? 1 : 0;
        }
    }
    EXPECT_GT(ores, 0u);
}

} // namespace
} // namespace zor
