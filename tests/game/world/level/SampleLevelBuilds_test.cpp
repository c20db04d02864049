// The level builder over the sample data: the compiled patch library, the definitions and
// the level descriptions of the game data folder.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/world/LevelHash.h"

namespace zor {
namespace {

class SampleLevelBuilds : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        installPatchLibraryReader();
        initFileSystem("BundlePC");
        loadAllDefinitions();
    }

    static std::shared_ptr<Level> build(const std::string& name, std::shared_ptr<PersistentLevelInfo>& info) {
        Randomizer seeds(1, 2);
        return LevelBuilder().buildLevel(name, info, seeds);
    }

    static std::shared_ptr<PersistentLevelInfo> fixedSeeds(bool legacy) {
        auto info = std::make_shared<PersistentLevelInfo>();
        info->seedLow = 12345;
        info->seedHigh = 67890;
        info->legacy = legacy;
        return info;
    }

    test::TempFolder user;
    test::ScopedEnv userFolder{"ZOR_USER_DIR", user.path().string()};
};

// Digests of "mine1" from fixed seeds: the same on every run, compiler and build type.
// They change only with the sample data or the generation rules, never by accident.
TEST_F(SampleLevelBuilds, Mine1IsTheSameCellForCellOnEveryBuild) {
    struct Case {
        bool legacy;
        std::uint64_t hash;
    };
    const Case cases[] = {{false, 0x5c3da3e3cadc7252ull}, {true, 0x856efeac3228fddeull}};
    for (const Case& c : cases) {
        auto info = fixedSeeds(c.legacy);
        const auto level = build("mine1", info);
        EXPECT_EQ(test::levelHash(*level), c.hash) << std::hex << test::levelHash(*level) << " legacy " << c.legacy;
        EXPECT_EQ(test::levelHash(*build("mine1", info)), test::levelHash(*level));

        // A remembered grid of another size is ignored; one of the right size is kept.
        info->tileMap = std::make_shared<PersistentTileMap>(level->width + 1, level->height, 0);
        EXPECT_EQ(test::levelHash(*build("mine1", info)), c.hash);
        info->tileMap = std::make_shared<PersistentTileMap>(level->width, level->height, 0);
        EXPECT_NE(test::levelHash(*build("mine1", info)), c.hash);
    }
}

TEST_F(SampleLevelBuilds, EverySampleLevelBuildsWhole) {
    const auto library = patchLibrary();
    for (const auto& entry : std::filesystem::directory_iterator("BundlePC/Levels")) {
        const std::string name = entry.path().stem().string();
        std::shared_ptr<PersistentLevelInfo> info;
        const auto level = build(name, info);
        ASSERT_NE(info, nullptr) << name;
        EXPECT_EQ(level->markers.count("[start]"), 1u) << name;
        for (const TileLayerGrid& layer : level->layers)
            for (std::uint16_t word : layer.tiles)
                ASSERT_LT(TileWord::typeIndex(word), library->tileTypes.size()) << name;
        EXPECT_EQ(level->tileMap->width(), level->width) << name;
    }
}

} // namespace
} // namespace zor
