// The level builder over the sample data: the compiled patch library, the definitions and
// the level descriptions of the game data folder.

#include <gtest/gtest.h>

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/PatchLibrarySections.h"
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

    test::TempFolder user;
    test::ScopedEnv userFolder{"ZOR_USER_DIR", user.path().string()};
};

TEST_F(SampleLevelBuilds, Mine1HashesTheSameOnEveryBuild) {
    for (bool legacy : {false, true}) {
        auto info = std::make_shared<PersistentLevelInfo>();
        info->seedLow = 12345;
        info->seedHigh = 67890;
        info->legacy = legacy;
        const auto level = build("mine1", info);
        std::printf("legacy %d hash %016llx records %zu actors %zu\n", legacy, (unsigned long long)test::levelHash(*level),
                    level->cellRecords.size(), level->actorPlacements.size());
        const TileLayerGrid& l = level->mainLayer();
        for (int y = 0; y < l.height; ++y) {
            std::string row;
            for (int x = 0; x < l.width; ++x) {
                std::uint16_t w = l.at(x, y);
                char c = " .#~R^LHMIGbc"[std::min<int>(w & 0x7ff, 12)];
                if (w == 0xFFFF) c = '?';
                if (w & 0x8000) c = '$';
                row += c;
            }
            row += "   ";
            for (int x = 0; x < l.width; ++x) row += char('0' + (*level->tileMap->cell(x, y)));
            std::printf("%s\n", row.c_str());
        }
    }
}

} // namespace
} // namespace zor
