// The sample game on a real worker thread, as the program runs it, with the game's own
// movement, contacts, rules and save files: its levels, their townsfolk and creatures, a
// death and the continue. Whatever the builds leave for the interface, the sound and the
// files arrives on the main thread.

#include "game/simulation/Game.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"

#include "tests/support/common/TempFolder.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

// Generous: steps while the worker builds are empty.
constexpr int MaxStepsPerLevelChange = 1000000;

std::vector<std::string> callsOffThread(const std::vector<std::pair<std::string, std::thread::id>>& calls,
                                        std::thread::id thread) {
    std::vector<std::string> off;
    for (const auto& [call, caller] : calls)
        if (caller != thread) off.push_back(call);
    return off;
}

TEST(SampleThreads, TheSampleGamesLevelsDeathAndContinueLeaveTheInterfaceAndFilesToTheMainThread) {
    const std::thread::id mainThread = std::this_thread::get_id();
    test::TempFolder user;
    test::ScopedEnv userDir("ZOR_USER_DIR", user.path().string());
    HarnessOptions options(3, "mine1");
    options.sampleData = true;
    options.workerThread = true;
    options.withSession = true;
    options.saveFiles = true;
    options.gameRules = true;
    options.gameMovement = true;
    options.gameContacts = true;
    GameHarness harness(options);
    const auto changeLevel = [&harness](const std::string& level) {
        harness.simulator().requestLevel(level, Simulator::StartEntry, fpVector2());
        ASSERT_TRUE(harness.runUntilSettled(MaxStepsPerLevelChange)) << "the change to " << level << " never ended";
        ASSERT_EQ(harness.world().level->name, level);
        harness.runSteps(60);
    };

    harness.runSteps(60);
    for (const char* level : {"cinder_hollow", "mine1", "shalebury", "mine1"}) changeLevel(level);
    harness.objects().killActor(*harness.world().player());
    harness.simulator().showGameOver(0);
    harness.userInterface().gameOverClosed.fireNoArgs();
    ASSERT_TRUE(harness.runUntilSettled(MaxStepsPerLevelChange));
    EXPECT_EQ(harness.world().level->name, "shalebury");
    harness.runSteps(60);

    const auto& calls = harness.recordings().callThreads;
    for (const char* expected : {"UserInterface.startConversation death_first", "UserInterface.showSavedGameNotice"})
        EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [&](const auto& call) { return call.first == expected; }))
            << expected;
    EXPECT_EQ(callsOffThread(calls, mainThread), std::vector<std::string>());
    for (const auto& [call, thread] : harness.seams().persistenceThreads) {
        if (call == "WorldPersistence.save") {
            EXPECT_EQ(thread, mainThread) << "the save file was written off the main thread";
        }
    }
}

} // namespace
} // namespace zor
