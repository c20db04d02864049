// The save slot's files behind the level flow: what a game saves comes back in the next
// game, levels keep their stored objects, saves can be switched off, and a lost or failed
// save costs the notice, not the game.

#include "game/simulation/Game.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/SaveSlotPersistence.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/settings/SettingsHandler.h"

#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

constexpr int MaxStepsPerLevelChange = 60;

class SaveSlotPersistenceTest : public ::testing::Test {
protected:
    void SetUp() override { initFileSystem("BundlePC"); }
    void TearDown() override { harness.reset(); }

    void start(bool saveFiles = true) {
        harness.reset();
        HarnessOptions options;
        options.withSession = true;
        options.saveFiles = saveFiles;
        harness = std::make_unique<GameHarness>(options);
    }
    World& world() { return harness->world(); }
    void changeLevel(const std::string& level) {
        harness->simulator().requestLevel(level, Simulator::StartEntry, fpVector2());
        for (int step = 0; step < MaxStepsPerLevelChange; ++step) {
            harness->runSteps(1);
            if (!harness->simulator().levelChangePending() && !harness->game().levelBuildRunning()) break;
        }
        ASSERT_EQ(world().level->name, level);
    }
    std::size_t interfaceCalls(const std::string& call) {
        return harness->recordings().callsStartingWith("UserInterface." + call).size();
    }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(user.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::size_t guards() {
        std::size_t count = 0;
        for (const auto& [id, object] : world().gameObjects())
            count += object->gameObjectDefinition().name == "stone_guard" ? 1 : 0;
        return count;
    }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    std::unique_ptr<GameHarness> harness;
};

TEST_F(SaveSlotPersistenceTest, WhatAGameSavesComesBackInTheNextGame) {
    start();
    EXPECT_EQ(files(), (std::set<std::string>{"session.xml"})) << "play started in the slot";
    world().spawnActor("stone_guard", {300, 200}, {1, 0});
    world().progress.cash = 321;
    world().progress.secretsFound = 2;
    world().saveRequested.fireNoArgs();
    EXPECT_EQ(files(), (std::set<std::string>{"savegame_0.dat", "session.xml", "session.xml.backup"}));
    const std::size_t levels = world().saveState.levels.size();
    const auto grid = world().saveState.levels.at("fixture_mine")->tileMap->data();

    start();
    EXPECT_EQ(world().saveState.progress.cash, 321);
    EXPECT_EQ(world().progress.cash, 321);
    EXPECT_EQ(world().progress.secretsFound, 2);
    EXPECT_EQ(world().saveState.levels.size(), levels);
    EXPECT_EQ(world().saveState.levels.at("fixture_mine")->tileMap->data(), grid);
    // The start enters the visited level and restores its stored objects.
    EXPECT_EQ(guards(), 1u);
    changeLevel("fixture_deep");
    EXPECT_EQ(guards(), 0u);
    changeLevel("fixture_mine");
    EXPECT_EQ(guards(), 1u);
}

TEST_F(SaveSlotPersistenceTest, WithSavesDisabledNoFileIsTouched) {
    std::unique_ptr<SettingsHandler> own;
    if (!SettingsHandler::exists()) own = std::make_unique<SettingsHandler>();
    SettingsHandler& settings = SettingsHandler::instance();
    settings.declare("World.DisableSaves", "", 1, SettingTemporary, SettingInternal);
    user.write("savegame_0.dat", "not a save");
    const std::set<std::string> before = files();
    Randomizer random = Randomizer::fromSeed(2);
    World world(random);
    world.saveState.progress.cash = 5;
    GameSession session;
    SaveSlotPersistence persistence;
    EXPECT_EQ(persistence.loadSave(world, &session), WorldPersistence::LoadResult::Skipped);
    persistence.save(world, &session);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(user.read("savegame_0.dat"), "not a save");
    EXPECT_EQ(world.saveState.progress.cash, 5);

    // Without a session there is no slot to look at either.
    settings.setValue("World.DisableSaves", 0);
    EXPECT_EQ(persistence.loadSave(world, nullptr), WorldPersistence::LoadResult::Skipped);
    persistence.save(world, nullptr);
    EXPECT_EQ(files(), before);
}

TEST_F(SaveSlotPersistenceTest, ALostSaveIsMovedAsideAndThePlayerTold) {
    user.write("savegame_0.dat", "broken");
    user.write("savegame_0.dat.backup", "broken too");
    test::LogCapture log;
    start();
    EXPECT_EQ(interfaceCalls("showSaveProblem"), 1u);
    EXPECT_EQ(world().saveState.progress.cash, 0);
    EXPECT_EQ(user.read("savegame_0.dat.corrupt-1"), "broken");
    EXPECT_EQ(user.read("savegame_0.dat.backup.corrupt-1"), "broken too");
    world().saveRequested.fireNoArgs();
    world().saveRequested.fireNoArgs();
    EXPECT_EQ(files(), (std::set<std::string>{"savegame_0.dat", "savegame_0.dat.backup", "savegame_0.dat.corrupt-1",
                                              "savegame_0.dat.backup.corrupt-1", "session.xml",
                                              "session.xml.backup"}));

    // A first game, without files, is no loss.
    std::filesystem::remove_all(user.path());
    std::filesystem::create_directories(user.path());
    start();
    EXPECT_EQ(interfaceCalls("showSaveProblem"), 0u);
}

TEST_F(SaveSlotPersistenceTest, AFailedSaveIsLoggedAndShownAndPlayGoesOn) {
    test::LogCapture log;
    start(false);
    harness->seams().saveFailure = "Failed to write savegame! disk full";
    world().saveRequested.fireNoArgs();
    ASSERT_EQ(log.errors.size(), 1u);
    EXPECT_NE(log.errors[0].find("disk full"), std::string::npos) << log.errors[0];
    EXPECT_EQ(interfaceCalls("showSaveProblem Failed to write savegame! disk full"), 1u);
    changeLevel("fixture_deep");  // the mine's save on leaving fails too
    EXPECT_EQ(interfaceCalls("showSaveProblem"), 2u);
    harness->runSteps(10);
    EXPECT_FALSE(harness->left());
}

} // namespace
} // namespace zor
