// The tile section of the patch library and the rules every section shares: a library is
// taken whole or refused, and the tables in use change only with a good file.

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"
#include "game/definitions/PatchLibrary.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/world/PatchLibraryFixtures.h"
#include "tools/patch_compiler/compiler/PatchLibraryWriter.h"

namespace zor {
namespace {

TileType tileType(const std::string& texture, std::uint8_t flags, std::int32_t tier, std::int32_t openSide = 0) {
    TileType type;
    type.texture = texture;
    type.edgeTexture = texture + "_edge";
    type.material = "loam";
    type.flags = flags;
    type.requiredTier = tier;
    type.hardnessBase = 3;
    type.hardnessStep = 2;
    type.openSide = openSide;
    return type;
}

LibraryFile withTileTypes(int count) {
    LibraryFile file;
    for (int i = 0; i < count; ++i) file.tileTypes.push_back(tileType("tile" + std::to_string(i), 0x01, 1));
    return file;
}

std::string failureOf(const std::string& bytes, std::size_t resourceCount = 3) {
    try {
        test::readLibrary(bytes, resourceCount);
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "no error";
}

// Loads through the frame and the installed reader, as the load-all job does.
std::string loadFailure(const std::string& bytes) {
    try {
        readPatchLibrary(test::byteArrayOf(bytes), bytes.size());
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "no error";
}

class TileSection : public ::testing::Test {
protected:
    TileSection() { installPatchLibraryReader(); }
    ~TileSection() override {
        setPatchLibrarySectionReader(nullptr);
        setPatchLibrary(std::make_shared<PatchLibraryTables>());
    }
};

TEST_F(TileSection, TheSmallestLibraryLoadsEmpty) {
    setPatchLibrary(test::readLibrary(writePatchLibrary(withTileTypes(2))));
    EXPECT_EQ(loadFailure(std::string(12, '\0')), "no error");
    const auto tables = patchLibrary();
    EXPECT_TRUE(tables->tileTypes.empty());
    EXPECT_TRUE(tables->tileSets.empty());
    EXPECT_TRUE(tables->patchSets.empty());
    EXPECT_TRUE(tables->levelLinks.empty());
}

TEST_F(TileSection, TileTypesKeepEveryField) {
    LibraryFile file;
    file.tileTypes = {tileType("", 0x00, 0), tileType("hatch", 0x21, 2, 2), tileType("border", 0x01, 0),
                      tileType("moss", 0xC1, 1)};
    file.tileTypes[1].secondEdgeTexture = "hatch_moss";
    const auto tables = test::readLibrary(writePatchLibrary(file));
    ASSERT_EQ(tables->tileTypes.size(), 4u);
    const TileType& hatch = tables->tileTypes[1];
    EXPECT_EQ(hatch.texture, "hatch");
    EXPECT_EQ(hatch.edgeTexture, "hatch_edge");
    EXPECT_EQ(hatch.secondEdgeTexture, "hatch_moss");
    EXPECT_EQ(hatch.material, "loam");
    EXPECT_EQ(hatch.hardnessBase, 3);
    EXPECT_EQ(hatch.hardnessStep, 2);
    EXPECT_EQ(hatch.requiredTier, 2);

    const struct {
        int index;
        bool solid;
        bool indestructible;
        bool fromSide0;
        bool fromSide2;
    } cases[] = {
        {0, false, false, true, true},
        {1, true, false, false, true},  // 0x21 with open side 2: solid, dug only from side 2
        {2, true, true, true, true},    // 0x01 with tier 0: indestructible
        {3, true, false, true, true},
    };
    for (const auto& c : cases) {
        const TileType& type = tables->tileTypes[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(type.isSolid(), c.solid) << c.index;
        EXPECT_EQ(type.isIndestructible(), c.indestructible) << c.index;
        EXPECT_EQ(type.canBeDugFrom(0), c.fromSide0) << c.index;
        EXPECT_EQ(type.canBeDugFrom(2), c.fromSide2) << c.index;
    }
    EXPECT_TRUE(tables->tileTypes[3].has(TileType::Regrows));
    EXPECT_TRUE(tables->tileTypes[3].has(TileType::NoWallSlide));
}

TEST_F(TileSection, TileSetsWithoutEntriesAreNotStoredAndLaterOnesOfANameWin) {
    LibraryFile file = withTileTypes(4);
    file.tileSets = {{"rock", {1, 2}}, {"empty", {}}, {"rock", {3, 0x0801, 3}}, {"dirt", {1}}};
    const auto tables = test::readLibrary(writePatchLibrary(file));
    EXPECT_EQ(tables->tileSets.size(), 2u);
    EXPECT_EQ(tables->findTileSet("rock").tiles, (std::vector<std::uint16_t>{3, 0x0801, 3}));
    EXPECT_TRUE(tables->findTileSet("empty").tiles.empty());
    EXPECT_TRUE(tables->findTileSet("").tiles.empty());
    EXPECT_TRUE(tables->findTileSet("unknown").tiles.empty());
}

TEST_F(TileSection, EachLoadReplacesTheTables) {
    for (int count : {5, 2, 7}) {
        LibraryFile file = withTileTypes(count);
        file.tileTypes.back().texture = "last";
        ASSERT_EQ(loadFailure(writePatchLibrary(file)), "no error");
        const auto tables = patchLibrary();
        ASSERT_EQ(tables->tileTypes.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(tables->tileTypes.back().texture, "last");
        EXPECT_EQ(tables->tileTypes.front().texture, "tile0");
    }
}

TEST_F(TileSection, ATableThatLoadStartedWithOutlivesAReload) {
    LibraryFile first = withTileTypes(3);
    first.tileSets = {{"rock", {1}}};
    ASSERT_EQ(loadFailure(writePatchLibrary(first)), "no error");
    const std::shared_ptr<const PatchLibraryTables> held = patchLibrary();
    const std::shared_ptr<const TileSetDefinition> rock = findTileSet("rock");

    ASSERT_EQ(loadFailure(writePatchLibrary(withTileTypes(1))), "no error");
    EXPECT_EQ(held->tileTypes.size(), 3u);
    EXPECT_EQ(rock->tiles, std::vector<std::uint16_t>{1});
    EXPECT_EQ(patchLibrary()->tileTypes.size(), 1u);
    EXPECT_TRUE(findTileSet("rock")->tiles.empty());
}

// Every cut of a library is refused, and the tables in use stay as they were, except for
// cuts exactly where a table's count would begin: those are whole, smaller libraries.
TEST_F(TileSection, ACutLibraryIsRefusedWhole) {
    LibraryFile file = withTileTypes(3);
    file.tileSets = {{"rock", {1, 2}}};
    file.levels.push_back({"mine", 1, {{nullptr, "town", ""}}});
    const std::string whole = writePatchLibrary(file);
    const std::size_t strings = test::sectionsStart(whole);
    const std::size_t tileSetCount = strings + 2 + 3 * 13;
    const std::size_t patchSetCount = tileSetCount + 2 + 2 + 2 + 2 * 2;
    const std::set<std::size_t> tableStarts = {strings, tileSetCount, patchSetCount, patchSetCount + 2};
    for (std::size_t size = strings; size < whole.size(); ++size) {
        ASSERT_EQ(loadFailure(whole), "no error");
        const std::shared_ptr<const PatchLibraryTables> good = patchLibrary();
        const std::string failure = loadFailure(whole.substr(0, size));
        if (tableStarts.count(size) != 0) {
            EXPECT_EQ(failure, "no error") << size;
            continue;
        }
        EXPECT_EQ(failure.rfind("Could not read patchsets.bin: the file ends inside its sections (", 0), 0u)
            << size << ": " << failure;
        EXPECT_EQ(patchLibrary(), good) << size;
    }
}

TEST_F(TileSection, AFileEndingWhereACountWouldBeginHoldsEmptyTables) {
    LibraryFile file = withTileTypes(2);
    file.tileSets = {{"rock", {1}}};
    const std::string whole = writePatchLibrary(file);
    // Without the counts of the patch sets and the level links.
    const auto tables = test::readLibrary(whole.substr(0, whole.size() - 4));
    EXPECT_EQ(tables->tileTypes.size(), 2u);
    EXPECT_EQ(tables->findTileSet("rock").tiles, std::vector<std::uint16_t>{1});
    EXPECT_TRUE(tables->patchSets.empty());
    EXPECT_TRUE(tables->levelLinks.empty());
}

TEST_F(TileSection, IndicesBeyondTheirTablesAreRefused) {
    LibraryFile badTile = withTileTypes(3);
    badTile.tileSets = {{"rock", {1, 3}}};
    EXPECT_EQ(failureOf(writePatchLibrary(badTile)),
              "Could not read patchsets.bin: tile index 3 is beyond the tile-type table (3 types) "
              "(tile section, tile set 'rock')");

    // The last name of the string table is the tile set's; a table without it leaves the
    // set's name index one beyond.
    LibraryFile badName = withTileTypes(1);
    badName.tileSets = {{"zz_last", {0}}};
    const std::string bytes = writePatchLibrary(badName);
    ByteReader reader(test::byteArrayOf(bytes), bytes.size(), 4);
    StringTable strings;
    strings.read(reader);
    const std::size_t tableEnd = reader.position();
    StringTableDynamic shorter;
    for (std::size_t i = 0; i + 1 < strings.size(); ++i) shorter.indexOf(strings.at(i));
    ByteWriter rewritten(64);
    rewritten.writeU32(0);
    shorter.write(rewritten);
    const std::string cutTable = std::string(reinterpret_cast<const char*>(rewritten.data().get()), rewritten.size()) +
                                 bytes.substr(tableEnd);
    EXPECT_EQ(failureOf(cutTable), "Could not read patchsets.bin: name index " + std::to_string(strings.size() - 1) +
                                       " is beyond the string table (" + std::to_string(strings.size() - 1) +
                                       " names) (tile section, tile set 0)");
}

} // namespace
} // namespace zor
