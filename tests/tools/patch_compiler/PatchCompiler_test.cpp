// The patch compiler: the sample sources, the source format and its errors, the dump.

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "Framework/core/Errors.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/world/PatchLibraryFixtures.h"
#include "tools/patch_compiler/compiler/PatchCompiler.h"
#include "tools/patch_compiler/compiler/PatchLibraryDump.h"
#include "tools/patch_compiler/compiler/PatchLibraryWriter.h"

namespace zor {
namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string compileFailure(const std::string& source) {
    try {
        test::compileLibrary({source});
    } catch (const SourceError& error) {
        return error.what();
    }
    return "no error";
}

// A library source with two tile types and a legend, holding `body`.
std::string source(const std::string& body) {
    return "<PatchLibrary>\n"
           "<TileType Name=\"empty\"/>\n"
           "<TileType Name=\"dirt\" Material=\"loam\" Solid=\"yes\" Tier=\"1\"/>\n"
           "<TileType Name=\"rock\" Material=\"bedrock\" Solid=\"yes\"/>\n"
           "<Legend><Tile Char=\"#\" Type=\"dirt\"/><Tile Char=\"_\" Type=\"empty\"/>"
           "<Resource Char=\"t\" Name=\"tin_ore\"/></Legend>\n" +
           body + "\n</PatchLibrary>\n";
}

TEST(PatchCompiler, TheSamplesCompileToTheBundledBytesEveryTime) {
    const std::vector<SourceFile> sources = readSourceFolder(ZOR_PATCH_SOURCES);
    const GameDataNames names = readGameDataNames(ZOR_GAME_DATA_SOURCES);
    EXPECT_GE(sources.size(), 4u);
    const std::string first = compilePatchLibrary(sources, names);
    EXPECT_EQ(compilePatchLibrary(sources, names), first);
    EXPECT_EQ(fileBytes("BundlePC/patchsets.bin"), first);
}

// Every named record of the sample sources appears in the dump of their library.
TEST(PatchCompiler, TheDumpListsEveryRecord) {
    const std::vector<SourceFile> sources = readSourceFolder(ZOR_PATCH_SOURCES);
    const GameDataNames names = readGameDataNames(ZOR_GAME_DATA_SOURCES);
    const LibraryFile library = parsePatchSources(sources, names);
    const std::string dump = dumpPatchLibrary(compilePatchLibrary(sources, names));
    auto expectListed = [&](const std::string& line) {
        EXPECT_NE(dump.find(line), std::string::npos) << line;
    };
    for (std::size_t i = 0; i < library.tileTypes.size(); ++i)
        expectListed("tile type " + std::to_string(i) + " texture \"" + library.tileTypes[i].texture + "\"");
    for (const auto& set : library.tileSets) expectListed("tile set \"" + set.name + "\":");
    std::size_t patches = 0;
    for (const auto& set : library.patchSets) {
        expectListed("patch set \"" + set.name + "\"\n");
        for (const auto& patch : set.patches) {
            ++patches;
            expectListed("  patch \"" + patch.name + "\" " + std::to_string(patch.width) + "x" +
                         std::to_string(patch.height));
            for (std::size_t i = 0; i < patch.tileLayers.size(); ++i)
                expectListed("    layer " + std::to_string(i) + (patch.tileLayers[i] ? " scale " : " empty"));
            for (const auto& marker : patch.markers) expectListed("    marker \"" + marker.name + "\"");
            for (const auto& exit : patch.exits) expectListed("    exit \"" + exit.name + "\"");
            for (const auto& entity : patch.entities)
                expectListed("    entity " + std::to_string(entity.id) + " \"" + entity.definitionName + "\"");
            for (const auto& object : patch.typedObjects) expectListed(" \"" + object.name + "\" at ");
            for (const auto& decal : patch.transformObjects) expectListed("    decal " + std::to_string(decal.id));
            for (const auto& sprite : patch.pointObjects) expectListed("    sprite " + std::to_string(sprite.id));
            for (const auto& node : patch.graphNodes) {
                expectListed("    node " + std::to_string(node.id) + " \"" + node.name + "\"");
                for (const auto& property : node.properties) expectListed("      property \"" + property.first + "\"");
                for (const auto& link : node.links) expectListed("      link \"" + link.slot + "\"");
            }
        }
    }
    std::size_t dumpedPatches = 0;
    for (std::size_t at = dump.find("\n  patch \""); at != std::string::npos; at = dump.find("\n  patch \"", at + 1))
        ++dumpedPatches;
    EXPECT_EQ(dumpedPatches, patches);
    for (const auto& level : library.levels) {
        expectListed("level \"" + level.name + "\"");
        for (const auto& link : level.links) expectListed("  link to \"" + link.targetName + "\"");
    }
}

TEST(PatchCompiler, LegendsAndGrids) {
    const auto tables = test::readLibrary(test::compileLibrary({source(R"(
        <TileSet Name="ground">dirt; rock dirt</TileSet>
        <Legend><Tile Char="m" Type="rock" MirrorX="yes" MirrorY="yes"/></Legend>
        <PatchSet Name="rooms">
          <Legend><Tile Char="T" Type="dirt" Turn="yes"/></Legend>
          <Patch Name="room" Width="4" Height="2" Count="3" MaxUses="2" Priority="5" Margin="-1" Weight="0.5"
                 FixedY="7" Deck="dens" OnUnpaintedOnly="yes">
            <Legend><Tile Char="#" Type="rock" NotPresent="yes"/></Legend>
            <Layer Scale="1" Value="3">
              #_.m
              T..#
            </Layer>
            <Layer/>
            <Layer Scale="2">m.</Layer>
            <Resources>
              t...
              ...t
            </Resources>
          </Patch>
        </PatchSet>)")}));
    EXPECT_EQ(tables->findTileSet("ground").tiles, (std::vector<std::uint16_t>{1, 2, 1}));
    const PatchSet::Patch& room = *tables->findPatchSet("rooms")->patches.at(0);
    EXPECT_EQ(room.count, 3);
    EXPECT_EQ(room.maxUses, 2);
    EXPECT_EQ(room.priority, 5);
    EXPECT_EQ(room.margin, -1);
    EXPECT_EQ(room.weight, 0.5f);
    EXPECT_EQ(room.fixedX, -1);
    EXPECT_EQ(room.fixedY, 7);
    EXPECT_EQ(room.deckName, "dens");
    EXPECT_TRUE(room.onUnpaintedOnly);
    ASSERT_EQ(room.tileLayers.size(), 3u);
    EXPECT_EQ(room.tileLayers[0]->value, 3);
    // '#' is the patch's own: rock kept out of the byte grid; 'm' rock mirrored both ways;
    // 'T' dirt turned; '.' unpainted.
    EXPECT_EQ(room.tileLayers[0]->tiles,
              (std::vector<std::uint16_t>{0x4002, 0x0000, 0xFFFF, 0x1802, 0x2001, 0xFFFF, 0xFFFF, 0x4002}));
    EXPECT_EQ(room.tileLayers[1], nullptr);
    EXPECT_EQ(room.tileLayers[2]->tiles, (std::vector<std::uint16_t>{0x1802, 0xFFFF}));
    EXPECT_EQ(room.step, 2);
    ASSERT_NE(room.resourceGrid, nullptr);
    EXPECT_EQ(room.resourceGrid->cells, (std::vector<std::uint16_t>{2, 0, 0, 0, 0, 0, 0, 2}));  // tin_ore is 2nd
}

TEST(PatchCompiler, ObjectsAndIds) {
    const auto tables = test::readLibrary(test::compileLibrary({source(R"(
        <PatchSet Name="s">
          <Patch Name="p" Width="1" Height="1">
            <Layer Scale="1">#</Layer>
            <Entity Definition="mire_crawler" X="20" Y="40" Settle="yes"/>
            <Node Id="1" Type="LevelStarted"><Link Slot="out0" Target="3"/><Property Name="Once" Bool="yes"/></Node>
            <Rect Name="area" Width="80" Height="40"/>
            <Point Id="3" Name="spot" X="5"/>
            <Marker Name="[start]" X="20" Y="40"/>
            <Exit Name="down" TargetLevel="mine" TargetEntry="[start]" Automatic="yes"/>
            <Decal Name="sign.png" X="8" Y="16" ScaleX="2"/>
            <Sprite Name="Sprites/town;lamp" X="1" Y="2"/>
          </Patch>
        </PatchSet>
        <Level Name="mine"/>
        <Level Name="cave" SubLevel="yes"><Link Target="mine" RequiredItem="drill_1"/></Level>)")}));
    const PatchSet::Patch& patch = *tables->findPatchSet("s")->patches.at(0);
    // Ids given are kept; the others take the free numbers from 1 in document order.
    EXPECT_EQ(patch.entities.at(0).id, 2u);
    EXPECT_EQ(patch.graphNodes.at(0).id, 1u);
    EXPECT_EQ(patch.graphNodes.at(0).links.at(0).targetId, 3u);
    EXPECT_EQ(patch.typedObjects.at(0).id, 4u);
    EXPECT_EQ(patch.typedObjects.at(1).id, 3u);
    EXPECT_EQ(patch.transformObjects.at(0).id, 5u);
    EXPECT_EQ(patch.pointObjects.at(0).id, 6u);
    EXPECT_EQ(patch.entities.at(0).facingX, 1.0f);
    EXPECT_TRUE(patch.markers.at(0).facesRight);
    EXPECT_TRUE(patch.exits.at(0).automatic);
    EXPECT_EQ(patch.transformObjects.at(0).transform, [] {
        fpMatrix4 expected = fpMatrix4::scaling(2.0f, 1.0f, 1.0f);
        expected[12] = 8.0f;
        expected[13] = 16.0f;
        return expected;
    }());
    EXPECT_EQ(patch.pointObjects.at(0).scaleX, 1.0f);
    EXPECT_TRUE(tables->findLevelLink("cave")->subLevel);
    EXPECT_EQ(tables->findLevelLink("cave")->links.at(0).target, tables->findLevelLink("mine"));
}

TEST(PatchCompiler, ErrorsNameTheFileAndTheLine) {
    const std::string patchStart = "<PatchSet Name=\"s\">\n<Patch Name=\"p\" Width=\"2\" Height=\"1\">\n";
    const std::string patchEnd = "\n</Patch>\n</PatchSet>";
    const struct {
        std::string source;
        std::string failure;
    } cases[] = {
        {"<Library/>", "source0.xml:1: the document element is not <PatchLibrary>"},
        {"<PatchLibrary>\n<Tile", "source0.xml:2: not well-formed XML: "},
        {source("<TileType Name=\"dirt\"/>"), "source0.xml:6: a second tile type is named 'dirt'"},
        {source("<TileType Name=\"gold\" Material=\"gold\"/>"),
         "source0.xml:6: no material of Definitions/materials.xml is named 'gold'"},
        {source("<TileType Name=\"odd\" OpenSide=\"4\"/>"), "source0.xml:6: OpenSide 4 is outside 0 to 3"},
        {source("<TileType Name=\"odd\" Solid=\"maybe\"/>"), "source0.xml:6: Solid 'maybe' is not yes or no"},
        {source("<TileType Name=\"odd\" Hard=\"yes\"/>"), "source0.xml:6: <TileType> has no attribute Hard"},
        {source("<TileSet Name=\"x\">dirt clay</TileSet>"), "source0.xml:6: no tile type is named 'clay'"},
        {source("<Thing/>"), "source0.xml:6: a <PatchLibrary> holds no <Thing>"},
        {source("<Legend><Tile Char=\".\" Type=\"dirt\"/></Legend>"),
         "source0.xml:6: Char '.' is not one visible character other than '.'"},
        {source("<Legend><Resource Char=\"g\" Name=\"gold_ore\"/></Legend>"),
         "source0.xml:6: no resource of Definitions/resources.xml is named 'gold_ore'"},
        {source(patchStart + "<Layer Scale=\"1\">\n##\n#x\n</Layer>" + patchEnd),
         "source0.xml:10: layer 0 has more than 1 rows"},
        {source(patchStart + "<Layer Scale=\"1\">\n#x\n</Layer>" + patchEnd),
         "source0.xml:9: 'x' in the layer 0 is not in the legend"},
        {source(patchStart + "<Layer Scale=\"1\">\n###\n</Layer>" + patchEnd),
         "source0.xml:9: layer 0 row is 3 characters wide, not 2"},
        {source(patchStart + "<Layer Scale=\"1\"></Layer>" + patchEnd), "source0.xml:8: layer 0 has 0 rows, not 1"},
        {source("<Legend><Tile Char=\"c\" Type=\"rock\"/></Legend>" + patchStart + "<Layer Scale=\"1\">cc</Layer>" +
                patchEnd),
         "source0.xml:8: tile index 2 without flags is the level builder's carve marker in layer 0"},
        {source(patchStart + "<Resources>t.</Resources><Resources>..</Resources>" + patchEnd),
         "source0.xml:8: a patch has one <Resources> grid"},
        {source(patchStart + "<Exit Name=\"e\" TargetLevel=\"moon\"/>" + patchEnd),
         "source0.xml:8: the target level 'moon' has no description in Levels"},
        {source(patchStart + "<Point Id=\"2\" Name=\"a\"/>\n<Rect Id=\"2\" Name=\"b\"/>" + patchEnd),
         "source0.xml:9: the id 2 is used twice in the patch"},
        {source(patchStart + "<Node Type=\"T\"><Link Slot=\"out\" Target=\"9\"/></Node>" + patchEnd),
         "source0.xml:7: a link of node 1 names the id 9, which no record of the patch has"},
        {source(patchStart + "<Box/>" + patchEnd), "source0.xml:8: a <Patch> holds no <Box>"},
        {source(patchStart + patchEnd.substr(0, 9) + "<Patch Name=\"p\" Width=\"1\" Height=\"1\"/>" + patchEnd.substr(9)),
         "source0.xml:9: a second patch of the set is named 'p'"},
        {source("<PatchSet Name=\"s\"><Patch Name=\"p\" Width=\"0\" Height=\"1\"/></PatchSet>"),
         "source0.xml:6: Width 0 is outside 1 to 65535"},
        {source("<PatchSet Name=\"s\"><Patch Name=\"p\" Width=\"1\" Height=\"1\" Margin=\"1.5\"/></PatchSet>"),
         "source0.xml:6: Margin '1.5' is not a whole number"},
        {source("<Level Name=\"moon\"/>"), "source0.xml:6: the level 'moon' has no description in Levels"},
        {source("<Level Name=\"mine\"><Link Target=\"moon\"/></Level>"),
         "source0.xml:6: the level 'moon' has no description in Levels"},
    };
    for (const auto& c : cases) EXPECT_EQ(compileFailure(c.source).substr(0, c.failure.size()), c.failure) << c.source;
}

TEST(PatchCompiler, TheWriterRefusesValuesBeyondTheirFields) {
    LibraryFile file;
    PatchSet::Patch patch;
    patch.name = "p";
    patch.margin = 40000;
    file.patchSets.push_back({"s", {patch}});
    try {
        writePatchLibrary(file);
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Could not write patchsets.bin: margin 40000 is outside -32768 to 32767 (patch set 's', patch 'p')");
    }
}

TEST(PatchCompiler, GameDataNamesFollowTheDefinitionFiles) {
    test::TempFolder data;
    data.write("Definitions/resources.xml", "<ResourceDefinitions><Resource><Name>a</Name></Resource>"
                                            "<Resource><Name>b</Name></Resource><Resource><Name>a</Name></Resource>"
                                            "<Resource><Name>c</Name></Resource></ResourceDefinitions>");
    data.write("Definitions/materials.xml", "<MaterialDefinitions><Material><Name>loam</Name></Material>"
                                            "</MaterialDefinitions>");
    data.write("Levels/town.xml", "<Level/>");
    data.write("Levels/notes.txt", "");
    const GameDataNames names = readGameDataNames(data.path());
    // The third record keeps its place: c is the fourth resource of the registry.
    EXPECT_EQ(names.resources, (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(names.materials, std::set<std::string>{"loam"});
    EXPECT_EQ(names.levels, std::set<std::string>{"town"});
    EXPECT_THROW(readGameDataNames(data / "missing"), CheckReleaseError);
}

} // namespace
} // namespace zor
