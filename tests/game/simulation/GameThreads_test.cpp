// The Game on a real worker thread, as the program runs it: made, building its levels and
// destroyed on the worker, handing back through a pumped queue on the test's thread. What
// a build does to the interface, the sound, the achievements and the save files must wait
// for the main thread.

#include "game/simulation/Game.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "game/definitions/ConversationDefinition.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/store/AchievementStore.h"

#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

using ThreadedCalls = std::vector<std::pair<std::string, std::thread::id>>;

// Generous: steps while the worker builds are empty.
constexpr int MaxStepsPerLevelChange = 1000000;

void loadThreadDefinitions() {
    static const bool loaded = [] {
        test::loadFixtureDefinitions();
        test::addDefinitions(conversationRegistry(), "thread conversations", R"(
          <Conversation><Name>death_first</Name>
            <Dialog><Entry><Speaker>miner</Speaker><Text>talk_death_first</Text></Entry></Dialog></Conversation>)");
        return true;
    }();
    (void)loaded;
}

std::vector<std::string> callsOffThread(const ThreadedCalls& calls, std::thread::id thread) {
    std::vector<std::string> off;
    for (const auto& [call, caller] : calls)
        if (caller != thread) off.push_back(call);
    return off;
}

bool called(const ThreadedCalls& calls, const std::string& prefix) {
    return std::any_of(calls.begin(), calls.end(),
                       [&](const auto& call) { return call.first.compare(0, prefix.size(), prefix) == 0; });
}

class GameThreadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        initFileSystem("BundlePC");
        loadThreadDefinitions();
    }
    void TearDown() override { harness.reset(); }

    void start(HarnessOptions options) {
        options.workerThread = true;
        harness = std::make_unique<GameHarness>(options);
    }
    World& world() { return harness->world(); }
    Simulator& simulator() { return harness->simulator(); }
    void changeLevel(const std::string& level) {
        simulator().requestLevel(level, Simulator::StartEntry, fpVector2());
        ASSERT_TRUE(harness->runUntilSettled(MaxStepsPerLevelChange)) << "the change to " << level << " never ended";
        ASSERT_EQ(world().level->name, level);
    }

    const std::thread::id mainThread = std::this_thread::get_id();
    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    std::unique_ptr<GameHarness> harness;
};

TEST_F(GameThreadsTest, TheBuildsInterfaceAchievementAndSaveWorkArrivesOnTheMainThread) {
    // Each kind of work a build leaves behind: the notice of a lost save at the start, the
    // base items' achievement progress, the map's cells and depths, the death conversation,
    // and the save with its notice on leaving the mine.
    user.write("savegame_0.dat", "broken");
    ThreadedCalls achievementSaves;
    const EventConnection saved = localAchievements().progressSaved().connect(
        &achievementSaves, [](ThreadedCalls* saves) { saves->emplace_back("saveProgress", std::this_thread::get_id()); });
    test::LogCapture log;
    HarnessOptions options;
    options.withSession = true;
    options.saveFiles = true;
    options.gameRules = true;
    options.start.giveBaseItems = true;
    start(options);
    harness->seams().hardnessTierDepth = 3.0f;
    world().progress.items.counts["pickaxe_pre"] = 1;
    SettingsHandler::instance().setValue("Profile.FirstDeath", 1);

    changeLevel("fixture_deep");
    changeLevel("fixture_mine");
    harness->objects().killActor(*world().player());
    simulator().showGameOver(0);
    harness->userInterface().gameOverClosed.fireNoArgs();
    ASSERT_TRUE(harness->runUntilSettled(MaxStepsPerLevelChange));
    ASSERT_EQ(world().level->name, "fixture_town");
    harness->runSteps(5);

    const ThreadedCalls& calls = harness->recordings().callThreads;
    for (const char* expected :
         {"UserInterface.showSaveProblem", "UserInterface.setMapCellSystem", "UserInterface.addMapTierDepth",
          "UserInterface.startConversation death_first", "UserInterface.showSavedGameNotice"})
        EXPECT_TRUE(called(calls, expected)) << expected;
    EXPECT_EQ(callsOffThread(calls, mainThread), std::vector<std::string>());
    EXPECT_GE(achievementSaves.size(), 4u);  // the base items and each level start
    EXPECT_EQ(callsOffThread(achievementSaves, mainThread), std::vector<std::string>());

    // The builds really ran elsewhere: the start read the save and the builds wrote their
    // checkpoints on the worker; the save file was written on the main thread.
    const ThreadedCalls& persistence = harness->seams().persistenceThreads;
    const std::vector<std::string> worker = callsOffThread(persistence, mainThread);
    for (const char* expected : {"WorldPersistence.loadSave", "WorldPersistence.writeEntities"})
        EXPECT_NE(std::find(worker.begin(), worker.end(), expected), worker.end()) << expected;
    EXPECT_TRUE(called(persistence, "WorldPersistence.save"));
    EXPECT_EQ(std::count(worker.begin(), worker.end(), "WorldPersistence.save"), 0);
    EXPECT_FALSE(SettingsHandler::instance().getBool("Profile.FirstDeath"));
}

TEST_F(GameThreadsTest, ASlidingActorsLoopEndsWithTheActorOnTheMainThreadEvenWhenABuildRemovesIt) {
    start(HarnessOptions());
    const auto sliding = [this](std::uint32_t handle) {
        ActorObject* actor = world().spawnActor("crawler", {300, 200}, {1, 0});
        actor->slideSound = handle;
        return actor;
    };
    const auto stops = [this](const std::string& call) {
        std::vector<std::thread::id> threads;
        for (const auto& [recorded, thread] : harness->recordings().callThreads)
            if (recorded == call) threads.push_back(thread);
        return threads;
    };

    world().removeEntity(sliding(7));
    harness->runSteps(1);
    EXPECT_EQ(stops("GameAudio.stop 7"), std::vector<std::thread::id>{mainThread}) << "killed in play";

    sliding(9);
    changeLevel("fixture_deep");
    EXPECT_EQ(stops("GameAudio.stop 9"), std::vector<std::thread::id>{mainThread}) << "left behind by a level change";
}

TEST_F(GameThreadsTest, AGameMadeOnTheWorkerChangesLevelTwentyTimesAndQuits) {
    HarnessOptions options;
    options.withSession = true;
    options.saveFiles = true;
    options.gameRules = true;
    start(options);
    const std::vector<std::string> tour = {"fixture_deep", "fixture_mine", "fixture_town", "fixture_mine",
                                           "fixture_cave"};
    for (int change = 0; change < 20; ++change) {
        SCOPED_TRACE(change);
        changeLevel(tour[std::size_t(change) % tour.size()]);
        harness->runSteps(3);
    }
    EXPECT_EQ(callsOffThread(harness->recordings().callThreads, mainThread), std::vector<std::string>());
    world().quitRequested.fireNoArgs();
    for (int step = 0; step < 600 && !harness->left(); ++step) harness->runSteps(1);
    EXPECT_TRUE(harness->left());
    // The harness destroys the Game on the worker.
    harness.reset();
}

} // namespace
} // namespace zor
