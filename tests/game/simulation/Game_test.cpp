// The Game's step order, pause, time scale, level changes with their fades and worker
// build, quit and demo restart, driven headless through the harness.

#include "game/simulation/Game.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/world/World.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/system/ApplicationState.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;

constexpr float Step = GameHarness::StepLength;

// Counts the firings of a list without arguments.
struct Counter {
    explicit Counter(EventList<>& list) { connection = list.connect(this, [](Counter* c) { ++c->count; }); }
    int count = 0;
    EventConnection connection;
};

// Draws until a fade of the Game's length is over, summing as the Game does.
int framesPerFade() {
    float elapsed = 0.0f;
    int frames = 0;
    while (elapsed < Game::FadeSeconds) {
        elapsed += Step;
        ++frames;
    }
    return frames;
}

TEST(Game, StartsInItsFirstLevelWithItsGraphicsMade) {
    GameHarness harness;
    EXPECT_EQ(harness.world().level->name, "fixture_mine");
    EXPECT_FALSE(harness.simulator().levelChangePending());
    EXPECT_EQ(harness.recordings().calls,
              (std::vector<std::string>{"ScriptSimulator.build", "Visualizer.createRenderResources",
                                        "UserInterface.createRenderResources", "UserInterface.setMapCellSystem"}));
    // A new game starts black and fades in.
    EXPECT_EQ(harness.game().fade().direction, 0);
    EXPECT_EQ(harness.game().fade().elapsed, 0.0f);
    EXPECT_EQ(harness.game().fade().unused, 1.0f);  // opaque black
}

TEST(Game, TheStartLevelIsTheOneAskedForOnceElseTheRespawnLevel) {
    GameHarness harness;  // declares the two settings
    SettingsHandler::instance().setValue("Debug.SetLevel", std::string("fixture_secret"));
    EXPECT_EQ(Simulator::takeStartLevel(), "fixture_secret");
    EXPECT_EQ(Simulator::takeStartLevel(), "fixture_town");
    harness.simulator().setStartEntry();
    EXPECT_EQ(harness.simulator().requestedLevel(), "fixture_town");
    EXPECT_EQ(harness.simulator().requestedEntry(), "[start]");
}

TEST(Game, OneStepRunsItsSubsystemsInOrder) {
    GameHarness harness;
    harness.recordings().calls.clear();
    harness.runSteps(1);
    EXPECT_EQ(harness.recordings().calls,
              (std::vector<std::string>{"Visualizer.handleDebugInput", "UserInterface.handleInput",
                                        "ScriptSimulator.update", "UserInterface.setStatusBar 0 10 10",
                                        "UserInterface.setStatusBar 1 5 5", "UserInterface.setStatusBar 2 2 2",
                                        "UserInterface.setMapToolInfo 0 0", "Visualizer.update", "Audiolizer.update",
                                        "UserInterface.update", "Visualizer.render", "UserInterface.draw"}));
    EXPECT_EQ(harness.world().stepCounter, 1);
    EXPECT_FLOAT_EQ(harness.game().fade().elapsed, Step);
}

TEST(Game, APauseIsAnnouncedOnceAndFreezesTheSimulation) {
    for (const bool bySlot : {false, true}) {
        SCOPED_TRACE(bySlot ? "inventory slot selected" : "pause screen");
        GameHarness harness;
        Counter paused(harness.world().pauseStarted);
        harness.runSteps(2);
        test::Recordings& recordings = harness.recordings();
        recordings.visualizerSteps.clear();
        recordings.scriptSteps.clear();
        recordings.audiolizerSteps.clear();
        recordings.userInterfaceSteps.clear();
        (bySlot ? harness.userInterface().slotSelected : harness.userInterface().pauseScreen) = true;
        EXPECT_TRUE(harness.game().isPaused());
        harness.runSteps(3);
        EXPECT_EQ(paused.count, 1);
        EXPECT_EQ(harness.world().stepCounter, 2);
        EXPECT_TRUE(recordings.scriptSteps.empty());
        EXPECT_TRUE(recordings.audiolizerSteps.empty());
        EXPECT_EQ(recordings.visualizerSteps, (std::vector<float>{0.0f, 0.0f, 0.0f}));
        EXPECT_EQ(recordings.userInterfaceSteps, (std::vector<float>{Step, Step, Step}));

        if (bySlot)
            harness.userInterface().clearInventorySelection();
        else
            harness.userInterface().pauseScreen = false;
        harness.runSteps(1);
        EXPECT_EQ(harness.world().stepCounter, 3);
        (bySlot ? harness.userInterface().slotSelected : harness.userInterface().pauseScreen) = true;
        harness.runSteps(2);
        EXPECT_EQ(paused.count, 2);
    }
}

TEST(Game, AGameOverSlowsTheSimulationButNotTheInterface) {
    GameHarness harness;
    Counter over(harness.world().gameOver);
    harness.simulator().showGameOver(25);
    harness.simulator().showGameOver(30);  // once per game over
    EXPECT_EQ(over.count, 1);
    EXPECT_EQ(harness.recordings().callsStartingWith("UserInterface.showGameOver"),
              (std::vector<std::string>{"UserInterface.showGameOver 25"}));

    test::Recordings& recordings = harness.recordings();
    for (int i = 0; i < 90; ++i) {
        const float scale = harness.simulator().timeScale();
        harness.runSteps(1);
        EXPECT_FLOAT_EQ(recordings.audiolizerSteps.back(), Step * scale) << i;
        EXPECT_FLOAT_EQ(recordings.visualizerSteps.back(), Step * scale) << i;
        EXPECT_EQ(recordings.userInterfaceSteps.back(), Step) << i;
    }
    EXPECT_LT(harness.simulator().timeScale(), 0.5f);
    EXPECT_GT(harness.simulator().timeScale(), 0.0f);
    EXPECT_NE(harness.world().tintColor, World::DefaultTintColor);
    // Scripts do not run during a game over.
    EXPECT_TRUE(recordings.scriptSteps.empty());

    harness.world().shake.remaining = 2.0f;
    harness.world().ambientColor = PackedColor(0xFF000000);
    harness.userInterface().setHudHidden(true);
    harness.userInterface().gameOverClosed.fireNoArgs();
    EXPECT_FALSE(harness.simulator().gameOver());
    EXPECT_EQ(harness.simulator().timeScale(), 1.0f);
    EXPECT_EQ(harness.world().tintColor, World::DefaultTintColor);
    EXPECT_EQ(harness.world().ambientColor, PackedColor(0xFFFFFFFF));
    EXPECT_EQ(harness.world().shake.remaining, 0.0f);
    EXPECT_EQ(harness.world().shake.curve, 10);
    EXPECT_FALSE(harness.userInterface().hudHidden());
    EXPECT_EQ(recordings.callsStartingWith("UserInterface.clearBanners").size(), 1u);
    EXPECT_EQ(recordings.callsStartingWith("GameAudio.stopAllSounds").size(), 1u);
    EXPECT_EQ(recordings.musicAttenuations, (std::vector<float>{1.0f}));
    // Off to the respawn level, or back to the start of a cave.
    EXPECT_EQ(harness.simulator().requestedLevel(), "fixture_town");
    EXPECT_EQ(harness.simulator().requestedEntry(), "[start]");
    harness.world().level->isCave = true;
    harness.simulator().showGameOver(0);
    harness.userInterface().gameOverClosed.fireNoArgs();
    EXPECT_EQ(harness.simulator().requestedLevel(), "fixture_mine");
}

TEST(Game, ALevelChangeFadesOutBuildsOnTheWorkerAndFadesIn) {
    GameHarness harness;
    World& world = harness.world();
    Counter unloading(world.levelUnloading);
    Counter started(world.levelStarted);
    Counter ready(world.levelReady);
    const std::int32_t oldOre = world.spawnResource("ore", {10, 10}, -1)->id();
    // Asked for while the game's first fade-in still runs: that fade-in ends first, then a
    // whole fade-out runs before the build is posted.
    harness.simulator().requestLevel("fixture_deep", "[start]", {});
    const int frames = framesPerFade();
    for (int i = 1; i <= 2 * frames; ++i) {
        harness.recordings().calls.clear();
        harness.runSteps(1);
        EXPECT_FALSE(harness.game().levelBuildRunning()) << i;
        EXPECT_EQ(world.stepCounter, i) << i;  // still simulated
        // Input is swallowed before anything sees it.
        EXPECT_TRUE(harness.recordings().callsStartingWith("Visualizer.handleDebugInput").empty()) << i;
        EXPECT_EQ(harness.game().fade().direction, i <= frames ? 0 : 1) << i;
    }
    EXPECT_TRUE(harness.game().fadeOver());

    // The posting step updates nothing else, not even the interface.
    harness.recordings().calls.clear();
    harness.runSteps(1);
    EXPECT_TRUE(harness.game().levelBuildRunning());
    EXPECT_TRUE(appState().backgroundLoading);
    EXPECT_EQ(unloading.count, 1);
    EXPECT_EQ(started.count, 0);
    EXPECT_EQ(world.stepCounter, 2 * frames);
    EXPECT_TRUE(harness.recordings().calls.empty());
    EXPECT_TRUE(harness.workerQueue().hasPendingWork());

    // The next step: the worker builds, the main thread takes it back, the level fades in.
    harness.runSteps(1);
    EXPECT_FALSE(harness.game().levelBuildRunning());
    EXPECT_FALSE(appState().backgroundLoading);
    EXPECT_EQ(started.count, 1);
    EXPECT_EQ(ready.count, 1);
    EXPECT_EQ(world.level->name, "fixture_deep");
    // The old level's entities are gone; the new one has its player.
    EXPECT_EQ(world.findEntity(oldOre), nullptr);
    ASSERT_NE(world.player(), nullptr);
    EXPECT_EQ(world.player()->getPosition(), fpVector2(120, 320));
    EXPECT_FALSE(harness.simulator().levelChangePending());
    EXPECT_EQ(harness.game().fade().direction, 0);
    EXPECT_FLOAT_EQ(harness.game().fade().elapsed, Step);
    EXPECT_EQ(world.saveState.levels.size(), 2u);
}

TEST(Game, ABuildThatEndsAtOnceLowersTheLoadingFlagForGood) {
    // The worker may finish the build before the poster goes on: the flag it lowers must
    // not be raised after it.
    test::HarnessOptions options;
    options.workerRunsAtPost = true;
    GameHarness harness(options);
    harness.simulator().requestLevel("fixture_deep", "[start]", {});
    harness.runSteps(2 * framesPerFade() + 1);
    EXPECT_TRUE(harness.game().levelBuildRunning());  // the hand-back waits for the main thread
    EXPECT_EQ(harness.world().level->name, "fixture_deep");
    EXPECT_FALSE(appState().backgroundLoading);
    harness.runSteps(1);
    EXPECT_FALSE(harness.game().levelBuildRunning());
}

TEST(Game, AFailedLevelBuildIsReportedAndLeavesTheGameBuilding) {
    GameHarness harness;
    harness.runSteps(framesPerFade());
    harness.simulator().requestLevel("fixture_deep", "[start]", {});
    harness.runSteps(framesPerFade() + 1);
    ASSERT_TRUE(harness.game().levelBuildRunning());
    harness.recordings().scriptBuildFailure = "the graph is broken";
    try {
        harness.runSteps(1);
        ADD_FAILURE() << "the build did not fail";
    } catch (const CheckReleaseError& error) {
        EXPECT_STREQ(error.what(), "Could not change level: the graph is broken");
    }
    EXPECT_TRUE(harness.game().levelBuildRunning());
}

TEST(Game, AQuitFadesOutFreezesTheGameAndLeavesOnce) {
    GameHarness harness;
    harness.runSteps(framesPerFade());
    Counter leaving(harness.world().leavingGame);
    harness.world().quitRequested.fireNoArgs();
    ASSERT_TRUE(harness.game().quitRequested());
    harness.runSteps(3);
    const float elapsed = harness.game().fade().elapsed;
    harness.world().quitRequested.fireNoArgs();  // a second request changes nothing
    EXPECT_EQ(harness.game().fade().elapsed, elapsed);
    EXPECT_EQ(harness.game().fade().direction, 1);
    EXPECT_EQ(harness.world().stepCounter, framesPerFade());
    EXPECT_TRUE(harness.recordings().callsStartingWith("UserInterface.update").size() ==
                std::size_t(framesPerFade()));
    EXPECT_TRUE(harness.game().handleInput(harness.input()));

    harness.runSteps(framesPerFade());
    EXPECT_TRUE(harness.left());
    EXPECT_EQ(leaving.count, 1);
    EXPECT_EQ(harness.recordings().musicAttenuations, (std::vector<float>{1.0f}));
    harness.runSteps(5);
    EXPECT_EQ(leaving.count, 1);
}

TEST(Game, ADemoRestartReplacesEverySubsystemAndDropsTheQuitListener) {
    GameHarness harness;
    harness.runSteps(framesPerFade());
    // Marks on the old World and interface, which the new ones do not carry.
    harness.world().progress.secretsFound = 7;
    harness.userInterface().setHudHidden(true);
    harness.world().restartRequested.fireNoArgs();
    harness.world().restartRequested.fireNoArgs();
    harness.recordings().calls.clear();
    harness.runSteps(framesPerFade() + 1);

    World& world = harness.world();
    EXPECT_EQ(world.progress.secretsFound, 0);
    EXPECT_EQ(world.stepCounter, 1);
    EXPECT_FALSE(harness.userInterface().hudHidden());
    EXPECT_TRUE(world.demo);
    EXPECT_EQ(world.level->name, "deepvault");
    EXPECT_EQ(harness.recordings().callsStartingWith("Visualizer.createRenderResources").size(), 1u);
    // The start level, then the demo's level.
    EXPECT_EQ(harness.recordings().callsStartingWith("ScriptSimulator.build").size(), 2u);
    EXPECT_EQ(harness.game().fade().direction, 0);

    world.quitRequested.fireNoArgs();
    EXPECT_FALSE(harness.game().quitRequested());
    // The restart itself is still offered.
    world.restartRequested.fireNoArgs();
    EXPECT_EQ(harness.game().fade().direction, 1);
}

TEST(Game, InputGoesToTheFirstTaker) {
    GameHarness harness;
    harness.runSteps(framesPerFade());
    Game& game = harness.game();
    InputState& input = harness.input();
    EXPECT_FALSE(game.handleInput(input));  // nothing takes it yet
    harness.recordings().visualizer->takesInput = true;
    harness.recordings().calls.clear();
    EXPECT_TRUE(game.handleInput(input));
    EXPECT_TRUE(harness.recordings().callsStartingWith("UserInterface.handleInput").empty());
    harness.recordings().visualizer->takesInput = false;
    harness.userInterface().takesInput = true;
    EXPECT_TRUE(game.handleInput(input));
    harness.userInterface().takesInput = false;
    harness.userInterface().pauseScreen = true;
    EXPECT_TRUE(game.handleInput(input));
    harness.userInterface().pauseScreen = false;
    harness.simulator().showGameOver(0);
    EXPECT_FALSE(game.handleInput(input));
}

TEST(Game, ClearPersistentKeepsOnlyTheCurrentLevelsRecord) {
    GameHarness harness;
    harness.world().saveState.levels["fixture_elsewhere"] = std::make_shared<PersistentLevelInfo>();
    ASSERT_EQ(harness.world().saveState.levels.size(), 2u);
    DebugFlag* clear = findDebugFlag("game", "clearPersistent");
    ASSERT_NE(clear, nullptr);
    *clear = true;
    harness.runSteps(1);
    EXPECT_FALSE(*clear);
    ASSERT_EQ(harness.world().saveState.levels.size(), 1u);
    EXPECT_EQ(harness.world().saveState.levels.count("fixture_mine"), 1u);
}

// A game with something of every kind of random draw: refills, orb clusters, a level
// change and a game over.
std::uint64_t scriptedRunHash(std::uint32_t seed) {
    GameHarness harness({seed, "fixture_mine"});
    harness.world().spawnPlayer()->setPosition({320, 200});
    for (int step = 0; step < 600; ++step) {
        World& world = harness.world();
        if (step % 40 == 0) world.spawnResource("orb_cluster", {float(step), 100}, -1);
        if (step % 55 == 0 && world.player()) world.spawnResource("supply_crate", {50, float(step)}, -1);
        if (step == 150) harness.simulator().requestLevel("fixture_deep", "[start]", {});
        if (step == 300) harness.simulator().showGameOver(10);
        if (step == 420) harness.userInterface().gameOverClosed.fireNoArgs();
        harness.runSteps(1);
    }
    return harness.stateHash();
}

TEST(Game, TwoRunsWithOneSeedEndInTheSameState) {
    const std::uint64_t first = scriptedRunHash(42);
    EXPECT_EQ(scriptedRunHash(42), first);
    EXPECT_NE(scriptedRunHash(43), first);
}

} // namespace
} // namespace zor
