// The sample data of the game data folder: the load-all job reads the compiled patch
// library into the tables in use, and every level description loads against it.

#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "Framework/audio/SoundList.h"
#include "Framework/core/io/Files.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/LevelDefinition.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

class SampleLevels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        installPatchLibraryReader();
        initFileSystem("BundlePC");
        loadAllDefinitions();
    }

    test::TempFolder user;
    test::ScopedEnv userFolder{"ZOR_USER_DIR", user.path().string()};
};

TEST_F(SampleLevels, TheLoadAllJobLoadsThePatchLibrary) {
    const auto library = patchLibrary();
    ASSERT_GE(library->tileTypes.size(), 12u);
    EXPECT_FALSE(library->tileTypes[0].isSolid());
    EXPECT_TRUE(library->tileTypes[3].isIndestructible());
    for (const char* set : {"town", "mine_entry", "mine_rooms", "mine_floor", "cinder_hollow"})
        EXPECT_NE(library->findPatchSet(set), nullptr) << set;
    EXPECT_FALSE(library->findTileSet("mine_fore").tiles.empty());

    const LevelLink* cave = library->findLevelLink("cinder_hollow");
    ASSERT_NE(cave, nullptr);
    EXPECT_TRUE(cave->subLevel);
    ASSERT_EQ(cave->links.size(), 1u);
    EXPECT_EQ(cave->links[0].target, library->findLevelLink("mine1"));
    EXPECT_FALSE(library->findLevelLink("shalebury")->subLevel);

    // The town patch carries the entries the level flow looks for.
    const auto& town = *library->findPatchSet("town")->patches.at(0);
    std::vector<std::string> markers;
    for (const PatchMarker& marker : town.markers) markers.push_back(marker.name);
    EXPECT_EQ(markers, (std::vector<std::string>{"[start]", "[teleporter]"}));
    // Resource grids refer to the registry in file order.
    const auto& pocket = *library->findPatchSet("cinder_hollow")->patches.at(0);
    ASSERT_NE(pocket.resourceGrid, nullptr);
    for (std::uint16_t value : pocket.resourceGrid->cells)
        EXPECT_LE(value, resourceRegistry().definitions().size());
}

TEST_F(SampleLevels, EveryLevelLoads) {
    const auto library = patchLibrary();
    std::size_t levels = 0;
    for (const auto& entry : std::filesystem::directory_iterator("BundlePC/Levels")) {
        const std::string name = entry.path().stem().string();
        LevelDefinition level;
        EXPECT_NO_THROW(level.load(name, *library)) << name;
        EXPECT_FALSE(level.veinTextures.empty()) << name;
        EXPECT_FALSE(level.slices.empty()) << name;
        for (const LevelSlice& slice : level.slices)
            for (const std::string& set : slice.patchSets) EXPECT_NE(library->findPatchSet(set), nullptr) << name;
        EXPECT_GT(level.width, 0) << name;
        EXPECT_GT(level.height, 0) << name;
        ++levels;
    }
    EXPECT_GE(levels, 3u);

    LevelDefinition town;
    town.load("shalebury", *library);
    EXPECT_TRUE(town.atSurface);
    EXPECT_EQ(town.width, 32 + 16);  // the town patch and the camera padding
    EXPECT_EQ(town.height, 12);

    LevelDefinition mine;
    mine.load("mine1", *library);
    EXPECT_EQ(mine.width, 40);
    EXPECT_EQ(mine.height, 26 + 40 + 3);
    EXPECT_EQ(mine.fillers.borderWidth, 2);
    EXPECT_EQ(fillerLayerCount(mine.slices[1].fillers), 3);
    EXPECT_EQ(mine.slices[1].fillers.fields.size(), 3u);
    EXPECT_EQ(mine.patchDecks.size(), 1u);

    LevelDefinition cave;
    cave.load("cinder_hollow", *library);
    EXPECT_TRUE(cave.isCave);
    EXPECT_TRUE(cave.disableBuilding);
    EXPECT_EQ(cave.width, 24);
    EXPECT_EQ(cave.height, 14);
}

// Using an exit queues its use event on the player's pending sound list, so it names a cue.
TEST_F(SampleLevels, ExitUseEventsAreSoundCues) {
    SoundList sounds;
    std::string error;
    ASSERT_TRUE(loadSoundList("Audio/sounds.xml", sounds, error)) << error;
    std::set<std::string> cues;
    for (const AudioCue& cue : sounds.cues) cues.insert(cue.name);
    for (const auto& [setName, set] : patchLibrary()->patchSets)
        for (const auto& patch : set->patches)
            for (const PatchExit& exit : patch->exits)
                EXPECT_TRUE(exit.useEvent.empty() || cues.count(exit.useEvent) == 1)
                    << setName << "/" << exit.name << ": " << exit.useEvent;
}

} // namespace
} // namespace zor
