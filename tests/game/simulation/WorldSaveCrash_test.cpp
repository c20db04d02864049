// A game killed while it saves: the slot's world save and the session always load as one
// of the generations written, never as a mix or a loss.

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/SaveSlotPersistence.h"
#include "game/world/World.h"
#include "game/world/WorldSaveFiles.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/KillChild.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace zor {
namespace {

constexpr int Levels = 12;

// The save state of one generation: progress, checkpoint values and level records all
// change from one to the next, and the file is large enough (some 100 kB) to be cut.
void fillGeneration(SaveState& state, std::int32_t g) {
    state.progress.cash = g;
    state.progress.experience = g * 7;
    state.progress.secretsFound = std::uint16_t(g % 100);
    state.hitPoints = float(g % 10);
    state.levels.clear();
    for (int i = 0; i < Levels; ++i) {
        auto level = std::make_shared<PersistentLevelInfo>();
        level->seedLow = g + i;
        level->tileMap = std::make_shared<PersistentTileMap>(60, 100 + (g + i) % 20, std::uint8_t((g + i) % 4));
        level->entities.assign(std::size_t((g * 13 + i) % 300), std::uint8_t(g));
        level->playerPosition = fpVector2(float(g), float(i));
        state.levels["level_" + std::to_string(i)] = level;
    }
}

bool isGeneration(const SaveState& state, std::int32_t g) {
    SaveState expected;
    fillGeneration(expected, g);
    if (state.progress.experience != expected.progress.experience ||
        state.progress.secretsFound != expected.progress.secretsFound || state.hitPoints != expected.hitPoints ||
        state.levels.size() != expected.levels.size())
        return false;
    for (const auto& [name, level] : expected.levels) {
        const auto found = state.levels.find(name);
        if (found == state.levels.end()) return false;
        const PersistentLevelInfo& read = *found->second;
        if (read.seedLow != level->seedLow || read.entities != level->entities ||
            read.playerPosition != level->playerPosition || !read.tileMap ||
            read.tileMap->data() != level->tileMap->data())
            return false;
    }
    return true;
}

// Saves a generation as the game saves: the world save, then the session.
void saveGeneration(std::int32_t g) {
    Randomizer random = Randomizer::fromSeed(1);
    World world(random);
    GameSession session;
    session.profiles[0].exists = true;
    fillGeneration(world.saveState, g);
    session.profiles[0].maxDepth = g;
    SaveSlotPersistence().save(world, &session);
}

TEST(WorldSaveCrashTest, AKilledGameAlwaysLeavesAWrittenGenerationOfTheSaveAndTheSession) {
    test::TempFolder user;
    test::ScopedEnv userDir("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    test::LogCapture log;
    SettingsHandler settings;
    settings.declare("World.DisableSaves", "", 0, SettingTemporary, SettingInternal);
    settings.declare("Profile.RespawnLevel", "", std::string("shalebury"), SettingProfile, SettingInternal);

    {
        SaveState first;
        fillGeneration(first, 0);
        writeWorldSave(first, "savegame_0.dat");
        GameSession session;
        session.profiles[0].exists = true;
        session.save();
    }
    std::mt19937 random(29);
    // Counted from a finished save, not from the fork, however busy the machine is.
    std::uniform_int_distribution<int> saves(0, 2);
    std::uniform_int_distribution<int> delay(0, 20000);
    std::int32_t last = 0;
    std::int32_t lastSession = 0;
    constexpr int Kills = 500;
    for (int kill = 0; kill < Kills; ++kill) {
        test::ReportingWriter writer(last + 1, &saveGeneration);
        ASSERT_GT(writer.pid(), 0);
        const int status = writer.killAfterCalls(saves(random), std::chrono::microseconds(delay(random)));
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself at kill " << kill;

        SaveState state;
        state.progress.cash = -1;
        ASSERT_NE(readWorldSave(state, "savegame_0.dat").source, BackedUpLoad::None) << "kill " << kill;
        const std::int32_t g = state.progress.cash;
        ASSERT_TRUE(isGeneration(state, g)) << "kill " << kill << ": a save that was never written";
        ASSERT_GE(g, last) << "kill " << kill << ": an older save than one read before";
        last = g;
        if (std::filesystem::exists(user / "savegame_0.dat.backup")) {
            SaveState backup;
            ASSERT_EQ(readWorldSave(backup, "savegame_0.dat.backup").source, BackedUpLoad::Main) << "kill " << kill;
            ASSERT_TRUE(backup.progress.cash <= g && isGeneration(backup, backup.progress.cash)) << "kill " << kill;
        }
        GameSession session;
        ASSERT_TRUE(session.load()) << "kill " << kill;
        // The session follows its world save: a kill between the two leaves an older one.
        const std::int32_t depth = session.profiles[0].maxDepth;
        ASSERT_TRUE(depth <= g && depth >= lastSession) << "kill " << kill << ": session " << depth << ", save " << g;
        lastSession = depth;
    }
    for (const auto& entry : std::filesystem::directory_iterator(user.path()))
        EXPECT_EQ(entry.path().filename().string().find(".corrupt-"), std::string::npos) << entry.path();
    EXPECT_TRUE(log.warnings.empty());
    EXPECT_GT(last, 0) << "the writers never finished a save";
}

} // namespace
} // namespace zor
