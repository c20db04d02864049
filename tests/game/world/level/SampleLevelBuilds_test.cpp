// The level builder over the sample data: the compiled patch library, the definitions and
// the level descriptions of the game data folder.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"
#include "game/world/level/TileType.h"
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
    const Case cases[] = {{false, 0xea455d7b8a981fb9ull}, {true, 0xd001def7a7b25d70ull}};
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

// A secret is a cell whose tile is drawn but not present; the light finds it once it
// reaches it through open cells. One reached from the start without digging would be
// announced at once, so none is.
TEST_F(SampleLevelBuilds, SecretsWaitBehindSolidCells) {
    std::size_t caveSecrets = 0;
    for (const auto& entry : std::filesystem::directory_iterator("BundlePC/Levels")) {
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        std::shared_ptr<PersistentLevelInfo> info;
        const auto level = build(name, info);
        const PersistentTileMap& grid = *level->tileMap;
        const TileLayerGrid& tiles = level->mainLayer();
        const auto open = [&](std::int32_t x, std::int32_t y) {
            return !(grid.get(x, y, TileBits::Solid) & TileBits::Solid);
        };
        std::vector<bool> reached(grid.data().size(), false);
        const LevelMarker& start = level->markers.at("[start]").front();
        // A marker stands on the ground: the cell above its point.
        std::vector<iVector2> pending = {{std::int32_t(start.x / TileSize), std::int32_t((start.y - 1) / TileSize)}};
        ASSERT_TRUE(open(pending[0].x, pending[0].y));
        while (!pending.empty()) {
            const iVector2 cell = pending.back();
            pending.pop_back();
            const std::size_t index = std::size_t(level->cellIndex(cell.x, cell.y));
            if (!open(cell.x, cell.y) || reached[index]) continue;
            reached[index] = true;
            EXPECT_FALSE(tiles.at(cell.x, cell.y) & TileWord::NotPresent) << cell.x << ", " << cell.y;
            for (const iVector2 step : {iVector2(1, 0), iVector2(-1, 0), iVector2(0, 1), iVector2(0, -1)})
                pending.push_back({cell.x + step.x, cell.y + step.y});
        }
        if (level->isCave)
            for (std::uint16_t word : tiles.tiles) caveSecrets += (word & TileWord::NotPresent) != 0;
    }
    EXPECT_GT(caveSecrets, 0u) << "only a cave counts the secrets found";
}

} // namespace
} // namespace zor
