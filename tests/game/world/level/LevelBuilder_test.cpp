// The level builder's frame and slice passes on small fixture libraries: seeds, layers,
// slice placement, fields, borders, fill and the byte grid.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/Errors.h"
#include "Framework/core/math/Randomizer.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/world/LevelFixtures.h"
#include "tests/support/world/LevelHash.h"
#include "tests/support/world/LevelRows.h"

namespace zor {
namespace {

using test::layerRows;
using test::levelDescription;
using test::presentRows;

// "none" places nothing; "half" puts a scale-2 layer 1 into the level; "bare" has no layers.
const char* const kBasicSets = R"(
  <PatchSet Name="none">
    <Patch Name="unused" Width="1" Height="1" Count="0" Weight="0"><Layer Scale="1">#</Layer></Patch>
  </PatchSet>
  <PatchSet Name="half">
    <Patch Name="half_back" Width="2" Height="2" Count="0" Weight="0"><Layer/><Layer Scale="2">b</Layer></Patch>
  </PatchSet>
  <PatchSet Name="bare">
    <Patch Name="marker" Width="1" Height="1" Count="0" Weight="0"><Marker Name="m" X="0" Y="0"/></Patch>
  </PatchSet>
  <PatchSet Name="block">
    <Patch Name="block" Width="2" Height="2" Count="1" Weight="0"><Layer Scale="1">##
##</Layer></Patch>
  </PatchSet>
  <PatchSet Name="ground">
    <Patch Name="ground" Width="4" Height="2" FixedX="0" FixedY="0"><Layer Scale="1">#BM#
#bF#</Layer></Patch>
  </PatchSet>
  <PatchSet Name="overhang">
    <Patch Name="overhang" Width="4" Height="3" FixedX="0" FixedY="0" Margin="-4"><Layer Scale="1">SSSS
....
SSSS</Layer></Patch>
  </PatchSet>
  <PatchSet Name="orefloor">
    <Patch Name="orefloor" Width="4" Height="3" FixedX="0" FixedY="0"><Layer Scale="1">####
####
####</Layer><Resources>....
cc..
....</Resources></Patch>
    <Patch Name="hanging" Width="2" Height="3" FixedX="4" FixedY="1"><Layer Scale="1">MM
MM
MM</Layer></Patch>
  </PatchSet>
  <PatchSet Name="card">
    <Patch Name="card" Width="12" Height="8" FixedX="3" FixedY="1" Margin="2"><Layer Scale="1">SSSSSSSSSSSS
S__________S
S__________S
S__________S
S__________S
S__________S
S__________S
SSSSSSSSSSSS</Layer></Patch>
    <Patch Name="dealt" Width="1" Height="1" Deck="cards"><Layer Scale="1">M</Layer></Patch>
  </PatchSet>
)";

std::string slice(const std::string& attributes, const std::string& sets, const std::string& inner = "") {
    return "<Slice " + attributes + "><PatchSets>" + sets + "</PatchSets>" + inner + "</Slice>";
}

std::string level(const std::string& fillers, const std::string& slices, const std::string& more = "") {
    return levelDescription(more + "<Fillers>" + fillers + "</Fillers><Slices>" + slices + "</Slices>");
}

std::string widePatch() {
    return "<PatchSet Name=\"wide\"><Patch Name=\"wide\" Width=\"1025\" Height=\"1\"><Layer Scale=\"1\">" +
           std::string(1025, '#') + "</Layer></Patch></PatchSet>";
}

class LevelBuilderTest : public ::testing::Test {
protected:
    test::LevelFixture fixture{{kBasicSets, widePatch()}};
};

TEST_F(LevelBuilderTest, SlicesStackDownAndCentreOnTheCombinedStep) {
    struct Case {
        const char* firstSets;
        std::vector<float> columns;
    };
    const Case cases[] = {{"none", {0, 10, 5}}, {"none half", {0, 10, 4}}};
    const std::string clamp = "<Clamps><Clamp Start=\"0;0\" End=\"8;4\"/></Clamps>";
    for (const Case& c : cases) {
        const auto built = fixture.build(level("<Spacing>0</Spacing>", slice("Width=\"30\" Height=\"2\"", c.firstSets, clamp) +
                                                                        slice("Width=\"10\" Height=\"3\"", "none", clamp) +
                                                                        slice("Width=\"20\" Height=\"2\"", "none", clamp)));
        ASSERT_EQ(built->cameraClamps.size(), 3u);
        const float rows[] = {0, 2, 5};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(built->cameraClamps[i].start, fpVector2(40 * c.columns[i], 40 * rows[i])) << c.firstSets << " " << i;
            EXPECT_EQ(built->cameraClamps[i].end, fpVector2(40 * c.columns[i] + 8, 40 * rows[i] + 4)) << c.firstSets;
        }
        EXPECT_EQ(built->width, 30);
        EXPECT_EQ(built->height, 7);
    }
}

TEST_F(LevelBuilderTest, LayersComeFromThePatchesAndTheFillers) {
    struct Case {
        const char* fillers;
        const char* sets;
        std::vector<std::int32_t> scales;
    };
    const Case cases[] = {
        {"<Background>back</Background>", "none", {1, 1, 1}},
        {"<Foreground>dirt</Foreground>", "none half", {1, 2}},
        {"<Midground>back</Midground>", "half", {1, 2}},
        // Neither patches nor fillers name a layer: layer 0 all the same.
        {"", "bare", {1}},
    };
    for (const Case& c : cases) {
        const auto built = fixture.build(level(c.fillers, slice("Width=\"6\" Height=\"4\"", c.sets)));
        std::vector<std::int32_t> scales;
        for (const TileLayerGrid& layer : built->layers) {
            scales.push_back(layer.scale);
            EXPECT_EQ(layer.width, 6 / layer.scale);
            EXPECT_EQ(layer.height, 4 / layer.scale);
            EXPECT_EQ(layer.depth, float(scales.size() - 1));
            EXPECT_EQ(test::countTiles(layer, '?'), 0u) << c.sets;
        }
        EXPECT_EQ(scales, c.scales) << c.fillers << " / " << c.sets;
    }
}

TEST_F(LevelBuilderTest, AFirstBuildDrawsSeedsFromTheCallersGenerator) {
    const std::string description =
        level("<Foreground>mixed</Foreground>", slice("Width=\"9\" Height=\"7\"", "block"), "<ResetEntities>yes</ResetEntities>");
    Randomizer seeds(1, 2);
    Randomizer expected = seeds;
    const std::int32_t low = expected.nextInt31();
    expected.next();
    const std::int32_t high = expected.nextInt31();

    std::shared_ptr<PersistentLevelInfo> info;
    LevelBuilder first(fixture.sources());
    const auto built = first.buildLevelFromText("fixture", description, info, seeds);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->seedLow, low);
    EXPECT_EQ(info->seedHigh, high);
    EXPECT_EQ(low, 0x20D24650);
    EXPECT_FALSE(info->legacy);
    EXPECT_EQ(info->tileMap, nullptr);
    EXPECT_TRUE(first.freshLevel());
    EXPECT_EQ(seeds.w(), expected.w());  // three steps of the caller's generator, no more
    EXPECT_EQ(seeds.z(), expected.z());

    // The kept info builds the same level again and draws no new seeds.
    for (bool resetEntities : {true, false}) {
        std::string again = description;
        if (!resetEntities) again.replace(again.find("yes</Reset"), 3, "no");
        LevelBuilder second(fixture.sources());
        const auto rebuilt = second.buildLevelFromText("fixture", again, info, seeds);
        EXPECT_EQ(second.freshLevel(), resetEntities);
        EXPECT_EQ(test::levelHash(*rebuilt), test::levelHash(*built));
        EXPECT_EQ(info->seedLow, low);
        EXPECT_EQ(seeds.w(), expected.w());
    }
    // A builder used again starts afresh.
    EXPECT_EQ(test::levelHash(*first.buildLevelFromText("fixture", description, info, seeds)), test::levelHash(*built));
}

TEST_F(LevelBuilderTest, TheSameInfoGivesTheSameLevelWithEitherGenerator) {
    const std::string description =
        level("<Foreground>mixed</Foreground><Borders>bedrock</Borders><BorderWidth>2</BorderWidth>",
              slice("Width=\"24\" Height=\"20\" Gems=\"4\"", "block",
                    "<Fillers><Fields><F Hard=\"yes\" Style=\"rect\" Tileset=\"moss\" NumberOfFields=\"4\"/>"
                    "<G Style=\"basic\" Freq=\"0.2\" Max=\"0.4\"/></Fields></Fillers>"),
              "<ResourceDensity Constant=\"3\" Linear=\"0.2\"/>");
    for (bool legacy : {false, true}) {
        const std::uint64_t once = test::levelHash(*fixture.build(description, 77, 88, legacy));
        EXPECT_EQ(test::levelHash(*fixture.build(description, 77, 88, legacy)), once) << legacy;
        EXPECT_NE(test::levelHash(*fixture.build(description, 77, 89, legacy)), once) << legacy;
    }
}

TEST_F(LevelBuilderTest, TheByteGridFollowsTheTilesAndTheRememberedGrid) {
    struct Case {
        const char* what;
        std::int32_t rememberedWidth;
        std::uint8_t remembered;  // every cell
        bool resetEarth;
        std::vector<std::string> present;
    };
    // Tiles: # B M # / # b F #: bedrock and moss always come back, F never counts.
    const Case cases[] = {
        {"first build", 0, 0, false, {"1111", "1001"}},
        {"a grid of another size is ignored", 5, 0, false, {"1111", "1001"}},
        {"dug cells stay dug", 4, 0, false, {"0110", "0000"}},
        {"the earth comes back", 4, 0, true, {"1111", "1001"}},
        {"seen cells", 4, TileBits::Solid | TileBits::Seen, false, {"1111", "1001"}},
    };
    const std::string description = level("<Spacing>0</Spacing>", slice("", "ground"));
    for (const Case& c : cases) {
        auto info = std::make_shared<PersistentLevelInfo>();
        info->seedLow = 5;
        if (c.rememberedWidth > 0) info->tileMap = std::make_shared<PersistentTileMap>(c.rememberedWidth, 2, c.remembered);
        std::string text = description;
        if (c.resetEarth) text = level("<Spacing>0</Spacing>", slice("", "ground"), "<ResetEarth>yes</ResetEarth>");
        const auto built = fixture.build(text, info);
        EXPECT_EQ(presentRows(*built->tileMap), c.present) << c.what;
        EXPECT_EQ(layerRows(built->mainLayer()), (std::vector<std::string>{"#BM#", "#b##"})) << c.what;
        if (c.remembered & TileBits::Seen) {
            // Present cells lose the seen bit; indestructible and regrowing ones become exactly 1.
            EXPECT_EQ(*built->tileMap->cell(0, 0), TileBits::Solid);
            EXPECT_EQ(*built->tileMap->cell(1, 0), TileBits::Solid);
            EXPECT_EQ(*built->tileMap->cell(1, 1), TileBits::Seen);  // not solid: present bit cleared
        }
        if (c.rememberedWidth == 4) {
            EXPECT_NE(built->tileMap, info->tileMap);  // a copy
        }
    }
}

TEST_F(LevelBuilderTest, FieldsPaintCarveAndBlock) {
    struct Case {
        const char* field;
        std::size_t blockCells, fieldCells;
        char fieldSymbol;
    };
    // A field covering the whole slice, and a 2 x 2 dirt block to place; the fill is rubble.
    const Case cases[] = {
        {"Hard=\"yes\" Max=\"2\"", 0, 48, '_'},                  // carved and blocked
        {"Max=\"2\"", 4, 44, '_'},                               // carved, patches may cover it
        {"Max=\"2\" Tileset=\"moss\"", 4, 44, 'M'},              // soft: only what is unpainted
        {"Hard=\"yes\" Max=\"2\" Tileset=\"moss\"", 0, 48, 'M'},  // painted first, blocked
        {"Max=\"0\"", 4, 0, '_'},                                // covers nothing
    };
    for (const Case& c : cases) {
        const auto built = fixture.build(level("<Spacing>0</Spacing><Foreground>rubble</Foreground>",
                                               slice("Width=\"8\" Height=\"6\"", "block",
                                                     std::string("<Fillers><Fields><F ") + c.field +
                                                         "/></Fields></Fillers>")));
        const TileLayerGrid& main = built->mainLayer();
        EXPECT_EQ(test::countTiles(main, '#'), c.blockCells) << c.field;
        EXPECT_EQ(test::countTiles(main, c.fieldSymbol), c.fieldCells) << c.field;
        EXPECT_EQ(test::countTiles(main, 'r'), 48 - c.blockCells - c.fieldCells) << c.field;
    }
}

std::vector<std::pair<std::size_t, std::size_t>> borderWidths(const TileLayerGrid& layer) {
    std::vector<std::pair<std::size_t, std::size_t>> widths;
    for (const std::string& row : layerRows(layer)) {
        const std::size_t left = row.find_first_not_of('B');
        const std::size_t right = row.size() - 1 - row.find_last_not_of('B');
        widths.emplace_back(left == std::string::npos ? row.size() : left, right);
    }
    return widths;
}

TEST_F(LevelBuilderTest, BordersAreWavyColumnsOfBorderTiles) {
    const std::string fillers = "<Foreground>dirt</Foreground><Borders>walls</Borders><BorderWidth>";
    // Only the indestructible tiles of the set make borders. Symmetric borders: the same
    // width on both sides of every row.
    const auto symmetric = fixture.build(level(fillers + "3</BorderWidth><BorderStyle>Sinus</BorderStyle>"
                                                         "<BorderStyleValueA>0.7</BorderStyleValueA>"
                                                         "<BorderSymmetric>yes</BorderSymmetric>",
                                               slice("Width=\"12\" Height=\"20\"", "none")));
    std::size_t widest = 0;
    for (const auto& [left, right] : borderWidths(symmetric->mainLayer())) {
        EXPECT_EQ(left, right);
        widest = std::max(widest, left);
    }
    EXPECT_GT(widest, 0u);
    EXPECT_LT(widest, 3u);  // the sine reaches the full width only at exactly 1

    // Saw widths cycle 0, 1, 2, 3 down the rows.
    const auto saw = fixture.build(level(fillers + "4</BorderWidth><BorderStyle>Saw</BorderStyle>",
                                         slice("Width=\"12\" Height=\"9\"", "none")));
    const auto widths = borderWidths(saw->mainLayer());
    for (std::size_t row = 1; row < widths.size(); ++row) {
        EXPECT_EQ(widths[row].first, (widths[row - 1].first + 1) % 4) << row;
        EXPECT_EQ(widths[row].second, (widths[row - 1].second + 1) % 4) << row;
    }

    // Saw without a width has no border; borders wider than the slice leave no inner room.
    const auto none = fixture.build(level(fillers + "0</BorderWidth><BorderStyle>Saw</BorderStyle>",
                                          slice("Width=\"12\" Height=\"5\"", "block")));
    EXPECT_EQ(test::countTiles(none->mainLayer(), 'B'), 0u);
    const auto wide = fixture.build(level(fillers + "8</BorderWidth><BorderHeight>4</BorderHeight>",
                                          slice("Width=\"10\" Height=\"5\"", "block")));
    EXPECT_EQ(test::countTiles(wide->mainLayer(), '?'), 0u);
    EXPECT_EQ(wide->mainLayer().width, 10);
}

TEST_F(LevelBuilderTest, CellsBesideANarrowerSliceTakeBorderOrFillTiles) {
    for (bool borders : {false, true}) {
        const std::string fillers = std::string("<Spacing>0</Spacing><Foreground>rubble</Foreground>") +
                                    (borders ? "<Borders>bedrock</Borders>" : "");
        const auto built = fixture.build(
            level(fillers, slice("Width=\"10\" Height=\"2\"", "none") + slice("Width=\"6\" Height=\"2\"", "none")));
        const std::vector<std::string> rows = layerRows(built->mainLayer());
        const std::string beside = borders ? "BB" : "rr";
        for (std::size_t row = 2; row < 4; ++row) {
            EXPECT_EQ(rows[row].substr(0, 2), beside) << rows[row];
            EXPECT_EQ(rows[row].substr(2, 6), "rrrrrr") << rows[row];
            EXPECT_EQ(rows[row].substr(8, 2), beside) << rows[row];
        }
    }
}

TEST_F(LevelBuilderTest, ResetEarthMakesEveryFillCellPresentAgain) {
    for (bool resetEarth : {false, true}) {
        auto info = std::make_shared<PersistentLevelInfo>();
        info->tileMap = std::make_shared<PersistentTileMap>(7, 3, 0);
        const auto built =
            fixture.build(level("<Foreground>dirt</Foreground>", slice("Width=\"7\" Height=\"3\"", "none"),
                                resetEarth ? "<ResetEarth>yes</ResetEarth>" : ""),
                          info);
        const std::string row(7, resetEarth ? '1' : '0');
        EXPECT_EQ(presentRows(*built->tileMap), (std::vector<std::string>{row, row, row}));
    }
}

TEST_F(LevelBuilderTest, CopiesStayInTheirSlicesRowsAndNoCellStaysUnpainted) {
    // The overhanging patch of the second slice reaches two rows up into the first, over
    // its ores; the hanging one of the first slice reaches a row down into the second.
    // Layer 1 has scale 2: slices of odd heights leave one of its rows to no slice's fill.
    const auto built = fixture.build(level("<Spacing>0</Spacing><Foreground>dirt</Foreground><Midground>back</Midground>",
                                           slice("Width=\"6\" Height=\"3\"", "half orefloor") +
                                               slice("Width=\"6\" Height=\"3\"", "none overhang")));
    EXPECT_EQ(layerRows(built->mainLayer()),
              (std::vector<std::string>{"######", "####MM", "####MM", "SS####", "######", "######"}));
    EXPECT_EQ(layerRows(built->layers[1]), (std::vector<std::string>{"bbb", "bbb", "___"}));
    for (std::int32_t x : {0, 1}) {
        EXPECT_EQ(built->cellRecords.at(built->cellIndex(x, 1)).resourceIndex, fixture.resourceIndex("copper"));
        EXPECT_NE(built->mainLayer().at(x, 1) & TileWord::HasCellRecord, 0);
    }
}

TEST_F(LevelBuilderTest, TheDebugLevelHoldsOnePatchAtItsCorner) {
    Randomizer seeds(3, 4);
    LevelBuilder builder(fixture.sources());
    const auto built = builder.buildSpecificPatchLevel("card", "card", seeds);
    EXPECT_EQ(built->width, 12);
    EXPECT_EQ(built->height, 8);
    ASSERT_EQ(built->slices.size(), 1u);
    EXPECT_EQ(built->slices[0].fillers.spacing, 0);
    EXPECT_EQ(built->slices[0].forcedPatch, "card");
    const std::vector<std::string> rows = layerRows(built->mainLayer());
    EXPECT_EQ(rows.front(), "SSSSSSSSSSSS");
    EXPECT_EQ(rows[3], "S__________S");
    EXPECT_EQ(rows.back(), "SSSSSSSSSSSS");
    // The library's patch keeps its fixed place and margin.
    const auto& patch = *fixture.library->findPatchSet("card")->patches[0];
    EXPECT_EQ(patch.fixedX, 3);
    EXPECT_EQ(patch.margin, 2);

    // A patch drawing from a deck the debug level does not have is placed all the same.
    const auto dealt = LevelBuilder(fixture.sources()).buildSpecificPatchLevel("card", "dealt", seeds);
    EXPECT_EQ(layerRows(dealt->mainLayer()), std::vector<std::string>{"M"});

    struct Case {
        const char *set, *patch, *reason;
    };
    const Case failures[] = {{"cards", "card", "the patch library has no such set"},
                             {"card", "cards", "the set has no such patch"},
                             {"wide", "wide", "its size 1025 x 1 is not within 1 to 1024 tiles"}};
    for (const Case& c : failures) {
        try {
            LevelBuilder(fixture.sources()).buildSpecificPatchLevel(c.set, c.patch, seeds);
            ADD_FAILURE() << c.set << "/" << c.patch;
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("Could not build the level of patch '") + c.patch +
                                                     "' of set '" + c.set + "': " + c.reason);
        }
    }
}

} // namespace
} // namespace zor
