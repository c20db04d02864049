// Level descriptions: the defaults, the reading rules of the description file, the size of a
// level and the hardness of its tiles.

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "game/world/level/LevelDefinition.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/world/PatchLibraryFixtures.h"

namespace zor {
namespace {

const PatchLibraryTables& noPatches() {
    static const PatchLibraryTables empty;
    return empty;
}

// A description whose root holds `body` and the required vein textures.
std::string description(const std::string& body) {
    return "<Level><VeinTextures>vein</VeinTextures>" + body + "</Level>";
}

LevelDefinition loaded(const std::string& text, const PatchLibraryTables& library = noPatches()) {
    LevelDefinition level;
    level.load("mine", text, library);
    return level;
}

std::string loadFailure(const std::string& text) {
    try {
        loaded(text);
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "no error";
}

TEST(LevelDefinition, AFileWithOnlyVeinTexturesKeepsEveryDefault) {
    const LevelDefinition level = loaded("<Anything><VeinTextures>a; b;c</VeinTextures></Anything>");
    EXPECT_EQ(level.name, "mine");
    EXPECT_EQ(level.veinTextures, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(level.music, "");
    EXPECT_EQ(level.environment, "DEFAULT");
    EXPECT_EQ(level.fillers.spacing, 1);
    EXPECT_EQ(level.fillers.borderStyle, BorderStyle::Simplex);
    EXPECT_EQ(level.fillers.borderStyleValueA, 0.25f);
    EXPECT_TRUE(level.fillers.fields.empty());
    EXPECT_TRUE(level.patchDecks.empty());
    EXPECT_TRUE(level.slices.empty());
    EXPECT_EQ(level.width, 0);
    EXPECT_EQ(level.height, 0);
    EXPECT_EQ(level.backdrop.texture, "");
    EXPECT_EQ(level.backdrop.depth, 3.0f);
    EXPECT_EQ(level.backdrop.scale, fpVector2(1.0f, 1.0f));
    EXPECT_EQ(level.resourceTierLength, 30.0f);
    EXPECT_EQ(level.hardnessLinear, 0.05f);
    EXPECT_EQ(level.hardnessPower, 1.0f);
    EXPECT_EQ(level.hardnessMultiplier, 1);
    EXPECT_EQ(level.startDepth, -1);
    EXPECT_TRUE(level.randomResources);
    EXPECT_FALSE(level.isCave || level.atSurface || level.disableBuilding || level.cameraPadding);

    const LevelDefinition fresh;
    EXPECT_EQ(fresh.fillers.spacing, 1);
    EXPECT_EQ(fresh.environment, "DEFAULT");
}

TEST(LevelDefinition, SwitchesAndNumbers) {
    const struct {
        const char* body;
        bool atSurface;
        bool randomResources;
    } cases[] = {
        {"<AtSurface>no</AtSurface>", false, true},
        {"<AtSurface>0</AtSurface>", false, true},
        {"<AtSurface>yes</AtSurface>", true, true},
        {"<AtSurface>True</AtSurface>", true, true},
        {"<AtSurface> yes</AtSurface>", false, true},
        {"<RandomResources/>", false, true},  // no text keeps the default
        {"<RandomResources>no</RandomResources>", false, false},
    };
    for (const auto& c : cases) {
        const LevelDefinition level = loaded(description(c.body));
        EXPECT_EQ(level.atSurface, c.atSurface) << c.body;
        EXPECT_EQ(level.randomResources, c.randomResources) << c.body;
    }

    const LevelDefinition cave = loaded(description(
        "<IsCave>yes</IsCave><Music>deep</Music><Environment>caves</Environment><StartDepth>60x</StartDepth>"
        "<ResourceDensity Constant='1.5' Linear=''/><ResourceStartDepth>6</ResourceStartDepth>"
        "<ResourceTierLength>25.5</ResourceTierLength><ResourceTierBias>-0.5</ResourceTierBias>"
        "<TileHardness DepthDelta='2' Linear='0.1' Power='1.5'/><ForceUpdateAll>1</ForceUpdateAll>"));
    EXPECT_TRUE(cave.isCave);
    EXPECT_TRUE(cave.disableBuilding);
    EXPECT_EQ(cave.music, "deep");
    EXPECT_EQ(cave.environment, "caves");
    EXPECT_EQ(cave.startDepth, 60);
    EXPECT_EQ(cave.resourceDensityConstant, 1.5f);
    EXPECT_EQ(cave.resourceDensityLinear, 0.0f);  // an empty attribute reads as 0
    EXPECT_EQ(cave.resourceStartDepth, 6);
    EXPECT_EQ(cave.resourceTierLength, 25.5f);
    EXPECT_EQ(cave.resourceTierBias, -0.5f);
    EXPECT_EQ(cave.hardnessDepthDelta, 2);
    EXPECT_EQ(cave.hardnessConstant, 0);
    EXPECT_EQ(cave.hardnessLinear, 0.1f);
    EXPECT_EQ(cave.hardnessPower, 1.5f);
    EXPECT_EQ(cave.hardnessMultiplier, 1);
    EXPECT_TRUE(cave.forceUpdateAll);
}

TEST(LevelDefinition, FillersFieldsAndSlices) {
    const LevelDefinition level = loaded(description(R"(
        <Fillers>
          <Foreground>rock</Foreground><Midground>back</Midground><Borders>edge</Borders>
          <BorderWidth>2</BorderWidth><BorderStyle>Saw</BorderStyle><BorderSymmetric>yes</BorderSymmetric>
          <Fields>
            <Rock Hard="yes" Style="Rect" Tileset="hard"/>
            <Any Hard="1" WithinBorders="no" Style="rect" NumberOfFields="6" MaxSizeX="4"/>
            <Circle Style="circle" Radius="4" Gap="8" Max="0.75"/>
          </Fields>
        </Fillers>
        <Backdrop Depth="4" Scale="2;3" Offset="0;-120">sky.png</Backdrop>
        <PatchDecks><Deck Name="dens" Positives="1" Negatives="2"/><Deck Name="gold" Positives="0" Negatives="5"/></PatchDecks>
        <Slices>
          <Slice Width="10" Height="5" Gems="2" SmallEggs="0" LargeEggs="1">
            <PatchSets>rooms; halls</PatchSets>
            <Fillers><Spacing>0</Spacing><Background>deep</Background></Fillers>
            <Clamps><Clamp Start="0;0" End="400;0"/><Clamp Start="1;2" End="3;4"/></Clamps>
          </Slice>
          <Slice Width="30" Height="6">
            <PatchSets/>
            <Backdrop>wall.png</Backdrop>
            <Fillers><BorderStyle>Square</BorderStyle><Fields><F/></Fields></Fillers>
          </Slice>
          <Slice Width="20" Height="7"><PatchSets>floor</PatchSets><Fillers><BorderStyle>saw</BorderStyle></Fillers></Slice>
        </Slices>)"));
    const FillerSettings& fillers = level.fillers;
    EXPECT_EQ(fillers.spacing, 1);
    EXPECT_EQ(fillers.foreground, "rock");
    EXPECT_EQ(fillers.borderWidth, 2);
    EXPECT_EQ(fillers.borderStyle, BorderStyle::Saw);
    EXPECT_TRUE(fillers.borderSymmetric);
    EXPECT_EQ(fillerLayerCount(fillers), 2);
    ASSERT_EQ(fillers.fields.size(), 3u);
    EXPECT_TRUE(fillers.fields[0].hard);
    EXPECT_TRUE(fillers.fields[0].withinBorders);  // follows Hard when absent
    EXPECT_EQ(fillers.fields[0].style, FieldStyle::Basic);  // "Rect" is not "rect"
    EXPECT_EQ(fillers.fields[0].tileset, "hard");
    EXPECT_FALSE(fillers.fields[1].withinBorders);
    EXPECT_EQ(fillers.fields[1].style, FieldStyle::Rect);
    EXPECT_EQ(fillers.fields[1].numberOfFields, 6);
    EXPECT_EQ(fillers.fields[1].maxSizeX, 4);
    EXPECT_EQ(fillers.fields[1].maxSizeY, 5);
    EXPECT_FALSE(fillers.fields[2].hard);
    EXPECT_FALSE(fillers.fields[2].withinBorders);
    EXPECT_EQ(fillers.fields[2].style, FieldStyle::Circle);
    EXPECT_EQ(fillers.fields[2].radius, 4);
    EXPECT_EQ(fillers.fields[2].gap, 8);
    EXPECT_EQ(fillers.fields[2].max, 0.75f);

    EXPECT_EQ(level.backdrop.texture, "sky.png");
    EXPECT_EQ(level.backdrop.depth, 4.0f);
    EXPECT_EQ(level.backdrop.scale, fpVector2(2.0f, 3.0f));
    EXPECT_EQ(level.backdrop.offset, fpVector2(0.0f, -120.0f));
    ASSERT_EQ(level.patchDecks.size(), 2u);
    EXPECT_EQ(level.patchDecks[1].name, "gold");
    EXPECT_EQ(level.patchDecks[1].negatives, 5);

    ASSERT_EQ(level.slices.size(), 3u);
    const LevelSlice& first = level.slices[0];
    EXPECT_EQ(first.patchSets, (std::vector<std::string>{"rooms", "halls"}));
    EXPECT_EQ(first.fillers.spacing, 0);
    EXPECT_EQ(first.fillers.foreground, "rock");  // the level's, where the slice says nothing
    EXPECT_EQ(first.fillers.borderStyle, BorderStyle::Saw);
    EXPECT_TRUE(first.fillers.fields.empty());  // never the level's fields
    EXPECT_EQ(fillerLayerCount(first.fillers), 3);
    EXPECT_EQ(first.backdrop.texture, "");  // not the level's backdrop
    ASSERT_EQ(first.clamps.size(), 2u);
    EXPECT_EQ(first.clamps[1].start, fpVector2(1.0f, 2.0f));
    EXPECT_EQ(first.clamps[1].end, fpVector2(3.0f, 4.0f));
    ASSERT_EQ(first.resources.size(), 2u);
    EXPECT_EQ(first.resources[0].resource, "gem+0");
    EXPECT_EQ(first.resources[0].count, 2);
    EXPECT_EQ(first.resources[1].resource, "egg_large");
    EXPECT_EQ(first.resources[1].count, 1);
    EXPECT_TRUE(level.slices[1].patchSets.empty());
    EXPECT_EQ(level.slices[1].fillers.borderStyle, BorderStyle::Square);
    EXPECT_EQ(level.slices[1].fillers.fields.size(), 1u);
    EXPECT_EQ(level.slices[1].backdrop.texture, "wall.png");
    EXPECT_EQ(level.slices[2].fillers.borderStyle, BorderStyle::Saw);  // an unknown text keeps the value
    EXPECT_EQ(fillerLayerCount(FillerSettings()), 0);

    // Slices of widths 10, 30, 20 and heights 5, 6, 7.
    EXPECT_EQ(level.width, 30);
    EXPECT_EQ(level.height, 18);
}

TEST(LevelDefinition, CameraPaddingWidensByTheViewWidth) {
    const std::string slices = "<CameraPadding>yes</CameraPadding><Slices>"
                               "<Slice Width='10' Height='5'><PatchSets/></Slice>"
                               "<Slice Width='30' Height='6'><PatchSets/></Slice></Slices>";
    EXPECT_EQ(loaded(description(slices)).width, 46);
    setLevelViewWidth(330.0f);
    EXPECT_EQ(loaded(description(slices)).width, 38);  // 30 + 8.25, truncated
    setLevelViewWidth(640.0f);

    // Sizes beyond 32 bits are clamped rather than overflowed.
    const LevelDefinition huge = loaded(description("<CameraPadding>1</CameraPadding><Slices>"
                                                    "<Slice Width='2147483647' Height='2147483647'><PatchSets/></Slice>"
                                                    "<Slice Width='1' Height='2147483647'><PatchSets/></Slice></Slices>"));
    EXPECT_EQ(huge.width, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(huge.height, std::numeric_limits<std::int32_t>::max());
}

TEST(LevelDefinition, ASliceWithoutASizeTakesItsOnlyPatchs) {
    const auto library = test::readLibrary(test::compileLibrary({R"(
        <PatchLibrary>
          <TileType Name="empty"/>
          <TileType Name="dirt" Solid="yes" Tier="1"/>
          <Legend><Tile Char="#" Type="dirt"/></Legend>
          <PatchSet Name="hall">
            <Patch Name="hall" Width="12" Height="3"><Layer Scale="1">############
              ############
              ############</Layer></Patch>
            <Patch Name="roots" Width="2" Height="1"><Layer/><Layer Scale="1">##</Layer></Patch>
          </PatchSet>
          <PatchSet Name="rooms">
            <Patch Name="a" Width="1" Height="1"><Layer Scale="1">#</Layer></Patch>
            <Patch Name="b" Width="2" Height="1"><Layer Scale="1">##</Layer></Patch>
          </PatchSet>
        </PatchLibrary>)"}));
    const struct {
        const char* patchSets;
        std::int32_t width;
        std::int32_t height;
    } cases[] = {
        {"hall", 12, 3},          // the decoration patch without layer 0 does not count
        {"unknown hall", 12, 3},  // a set the library does not hold is skipped
        {"rooms", 0, 0},          // two patches
        {"hall rooms", 0, 0},
        {"unknown", 0, 0},
    };
    for (const auto& c : cases) {
        const LevelDefinition level =
            loaded(description(std::string("<Slices><Slice><PatchSets>") + c.patchSets + "</PatchSets></Slice></Slices>"),
                   *library);
        EXPECT_EQ(level.slices[0].width, c.width) << c.patchSets;
        EXPECT_EQ(level.slices[0].height, c.height) << c.patchSets;
        EXPECT_EQ(level.width, c.width) << c.patchSets;
    }
}

TEST(LevelDefinition, FailuresNameTheFileAndTheReason) {
    const struct {
        std::string text;
        std::string failure;
    } cases[] = {
        {description("<PatchDecks><Deck Name='dens' Positives='1'/></PatchDecks>"),
         "Could not load level Levels/mine.xml: Missing attribute: /Level/PatchDecks/Deck/@Negatives"},
        {"<Level/>", "Could not load level Levels/mine.xml: Missing node: /Level/VeinTextures"},
        {description("<Slices><Slice Width='4'/></Slices>"),
         "Could not load level Levels/mine.xml: Missing node: /Level/Slices/Slice/PatchSets"},
        {description("<Slices><Slice><PatchSets/><Clamps><Clamp Start='0;0'/></Clamps></Slice></Slices>"),
         "Could not load level Levels/mine.xml: Missing attribute: /Level/Slices/Slice/Clamps/Clamp/@End"},
        {"<Level><VeinTextures>a</VeinTextures>",
         "Could not load level Levels/mine.xml: Could not parse file Levels/mine.xml: "},
        {"", "Could not load level Levels/mine.xml: Could not read file Levels/mine.xml"},
    };
    for (const auto& c : cases) EXPECT_EQ(loadFailure(c.text).substr(0, c.failure.size()), c.failure) << c.text;
    EXPECT_EQ(loadFailure(description("<Backdrop Scale='1'>sky</Backdrop>")).rfind("Could not load level Levels/mine.xml: ", 0),
              0u);
}

TEST(LevelDefinition, LoadsFromTheGameDataFolder) {
    test::TempFolder folder;
    test::ScopedEnv user("ZOR_USER_DIR", (folder / "user").string());
    folder.write("bundle/Levels/deep.xml", description("<IsCave>yes</IsCave>"));
    initFileSystem((folder / "bundle").string());
    LevelDefinition level;
    level.load("deep", noPatches());
    EXPECT_EQ(level.name, "deep");
    EXPECT_TRUE(level.isCave);
    try {
        LevelDefinition().load("nowhere", noPatches());
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not load level Levels/nowhere.xml: Could not read file Levels/nowhere.xml");
    }
}

TEST(LevelDefinition, TileHardness) {
    LevelDefinition level;
    EXPECT_EQ(level.tileHardness(41.0f), 2);  // base (-1 + 41) * 0.05 = 2.0
    EXPECT_EQ(level.tileHardness(20.0f), 0);  // 0.95
    level.hardnessConstant = 3;
    EXPECT_EQ(level.tileHardness(41.0f), 5);
    level.hardnessMultiplier = 2;
    EXPECT_EQ(level.tileHardness(41.0f), 10);
    level.hardnessMultiplier = 0;
    EXPECT_EQ(level.tileHardness(41.0f), 0);

    // A negative base with a fractional power has no real power: it counts as 0 and the
    // constant stays, as for the bases just above 0.
    LevelDefinition negative;
    negative.hardnessPower = 1.5f;
    negative.hardnessConstant = 4;
    EXPECT_EQ(negative.tileHardness(-20.0f), 4);
    EXPECT_EQ(negative.tileHardness(1.5f), 4);  // base 0.025, power 0.004
    EXPECT_EQ(negative.tileHardness(std::numeric_limits<float>::quiet_NaN()), 4);
    // Beyond 32 bits the tier is clamped, also after the multiplier.
    LevelDefinition huge;
    huge.hardnessLinear = 1e30f;
    EXPECT_EQ(huge.tileHardness(100.0f), std::numeric_limits<std::int32_t>::max());
    huge.hardnessMultiplier = -3;
    EXPECT_EQ(huge.tileHardness(100.0f), std::numeric_limits<std::int32_t>::min());
    huge.startDepth = std::numeric_limits<std::int32_t>::max();
    huge.hardnessDepthDelta = std::numeric_limits<std::int32_t>::max();
    huge.hardnessMultiplier = 1;
    EXPECT_EQ(huge.tileHardness(0.0f), std::numeric_limits<std::int32_t>::max());
}

} // namespace
} // namespace zor
