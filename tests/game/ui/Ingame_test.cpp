// The in-game state with a real worker thread and the sample data: it saves the session,
// loads the graphics and sprite sets and builds the Game there, hands it to the main
// thread, ends play on its quit key and destroys the Game on the worker, also when the
// state itself goes first.

#include "game/ui/Ingame.h"

#include "game/presentation/IngameGraphics.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/ports/ForwardingPorts.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/physics/ShapePairTests.h"

#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/SpriteManagers.h"
#include "Framework/input/InputState.h"
#include "Framework/input/KeyNames.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/SystemComponents.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/game/RecordingPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>
#include <vector>

namespace zor {
namespace {

// What the worker had loaded when the Game made its presentation.
struct LoadsSeen {
    bool graphics = false;
    std::vector<std::string> missingSets;
};

class LoadWatchingPorts final : public ForwardingPorts {
public:
    LoadWatchingPorts(std::shared_ptr<const GamePorts> inner, SystemComponents& components, LoadsSeen& seen)
        : ForwardingPorts(std::move(inner)), m_components(components), m_seen(seen) {}

    std::shared_ptr<Visualizer> makeVisualizer(SystemComponents* components, IngameGraphics* graphics,
                                               World& world) const override {
        m_seen.graphics = graphics && graphics->lightTile() && graphics->tiles() && graphics->decals() &&
                          graphics->beams();
        for (const std::string& set : Ingame::preloadSpriteSets())
            if (!m_components.spriteManagers->find(set)) m_seen.missingSets.push_back(set);
        return ForwardingPorts::makeVisualizer(components, graphics, world);
    }

private:
    SystemComponents& m_components;
    LoadsSeen& m_seen;
};

// Holds the worker at the job it posts until opened.
class WorkerGate {
public:
    void close() {
        m_open = std::promise<void>();
        appState().threadedQueue->post([opened = m_open.get_future().share()] { opened.wait(); });
    }
    void open() { m_open.set_value(); }

private:
    std::promise<void> m_open;
};

class IngameTest : public ::testing::Test {
protected:
    void SetUp() override {
        initFileSystem("BundlePC");
        // As start-up installs them before the game's data is loaded.
        installPatchLibraryReader();
        installShapePairTests();
        if (!SettingsHandler::exists()) m_settings = std::make_unique<SettingsHandler>();
        SettingsHandler::instance().loadDefinitions("Definitions/settings.xml");
        Screen::initViewports();
        Screen::viewports().front().virtualWidth = 640.0f;
        Screen::viewports().front().virtualHeight = 360.0f;
        Screen::setCurrentViewportIndex(0);
        Screen::setFrameTime(1.0f / 60.0f);
        ApplicationState& app = appState();
        app.pumpedQueue = std::make_unique<PumpedWorkQueue>();
        app.threadedQueue = std::make_unique<ThreadedWorkQueue>();
        programGamePorts() = std::make_shared<LoadWatchingPorts>(ports, components, loads);
        input.bind(Ingame::QuitButton, "Key.Escape");
        if (!SystemEvents::exists()) m_events = std::make_unique<SystemEvents>();
    }
    void TearDown() override {
        appState().threadedQueue.reset();
        appState().pumpedQueue.reset();
        programGamePorts() = std::make_shared<GamePorts>();
    }

    // One update step of the main thread as the main loop runs it, and a frame while the
    // game is on screen.
    void step(Ingame& host) {
        appState().pumpedQueue->pump();
        UpdateRecord record;
        record.stepLength = 1.0f / 60.0f;
        host.update(record);
        if (host.playing()) host.render();
        input.update(record.stepLength);
    }
    template <class Done>
    bool stepUntil(Ingame& host, Done done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            step(host);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    // Runs the hand-backs until neither queue has work left.
    void settle() {
        ApplicationState& app = appState();
        while (app.threadedQueue->hasPendingWork() || app.pumpedQueue->hasPendingWork()) {
            app.pumpedQueue->pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // Only while the worker holds no game, or once it has handed its work back.
    bool recorded(const std::string& call) const {
        const std::vector<std::string>& calls = ports->recordings->calls;
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    void pressQuit() { input.setKeyPressed(*findKeyCode("Key.Escape"), true); }
    static float loaderAlpha(const Ingame& host) { return host.loader().sprite()->localState().a; }

    test::LogCapture log;
    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    std::unique_ptr<SettingsHandler> m_settings;
    std::unique_ptr<SystemEvents> m_events;
    LoadsSeen loads;
    WorkerGate gate;
    std::shared_ptr<test::RecordingPorts> ports = std::make_shared<test::RecordingPorts>();
    SystemComponents components{nullptr, nullptr, nullptr, nullptr};
    InputState input;
    std::vector<StateRequest> requests;
    StateRequestFunction request = [this](const StateRequest& r) {
        requests.push_back(r);
        return 0;
    };
};

TEST_F(IngameTest, PlaysUntilTheQuitKeyThenGoesToTheMenusOnceTheGameIsGone) {
    auto host = std::make_unique<Ingame>(request, components);
    ASSERT_TRUE(stepUntil(*host, [&] { return host->playing(); })) << "the game was never handed back";
    EXPECT_TRUE(recorded("Visualizer.createRenderResources"));
    EXPECT_FALSE(components.spriteManagers->loadOnDemand());
    ASSERT_TRUE(stepUntil(*host, [&] { return !ports->recordings->userInterfaceSteps.empty(); }));

    pressQuit();
    EXPECT_TRUE(host->handleInput(input));
    ASSERT_TRUE(stepUntil(*host, [&] { return !requests.empty(); })) << "no way back to the menus";
    EXPECT_TRUE(recorded("Visualizer.destroyed"));
    // The World said it was leaving on the main thread, before the Game went.
    EXPECT_EQ(ports->recordings->musicAttenuations, (std::vector<float>{1.0f}));
    for (int i = 0; i < 10; ++i) step(*host);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, RequestState);
    EXPECT_EQ(requests[0].value, StateMenus);
    host.reset();
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(IngameTest, AHostGoneBeforeItsGameIsBuiltLeavesTheGameToTheWorker) {
    auto host = std::make_unique<Ingame>(request, components);
    host.reset();
    settle();
    EXPECT_TRUE(recorded("ScriptSimulator.build"));
    EXPECT_FALSE(recorded("Visualizer.createRenderResources"));
    EXPECT_TRUE(recorded("Visualizer.destroyed"));
    EXPECT_TRUE(ports->recordings->musicAttenuations.empty());  // never shown, never left
    EXPECT_TRUE(requests.empty());
}

TEST_F(IngameTest, AHostGoneWhilePlayingLeavesAndDestroysItsGame) {
    auto host = std::make_unique<Ingame>(request, components);
    ASSERT_TRUE(stepUntil(*host, [&] { return host->playing(); }));
    host.reset();
    settle();
    EXPECT_TRUE(recorded("Visualizer.destroyed"));
    EXPECT_EQ(ports->recordings->musicAttenuations, (std::vector<float>{1.0f}));
    EXPECT_TRUE(requests.empty());
}

TEST_F(IngameTest, SavesTheSessionBeforeTheLoadsWhichAllRunBeforeTheGameIsBuilt) {
    components.gameSession = std::make_shared<GameSession>();
    gate.close();
    auto host = std::make_unique<Ingame>(request, components);
    // Written on the main thread while the worker is still held.
    EXPECT_TRUE(std::filesystem::exists(user.path() / GameSession::FileName));
    gate.open();
    ASSERT_TRUE(stepUntil(*host, [&] { return host->playing(); }));
    EXPECT_TRUE(loads.graphics);
    EXPECT_TRUE(loads.missingSets.empty()) << loads.missingSets.front();
    host.reset();
    settle();
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(IngameTest, ASessionThatCannotBeSavedIsAWarningAndPlayGoesOn) {
    components.gameSession = std::make_shared<GameSession>();
    // A folder where the session file should be: it cannot be written.
    std::filesystem::create_directories(user.path() / GameSession::FileName);
    auto host = std::make_unique<Ingame>(request, components);
    EXPECT_FALSE(log.warnings.empty());
    ASSERT_TRUE(stepUntil(*host, [&] { return host->playing(); }));
    host.reset();
    settle();
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(IngameTest, ASpriteSetAlreadyRegisteredIsNotLoadedAgain) {
    const std::string kept = "Sprites/enemies-quellox";
    components.spriteManagers->get(kept);
    gate.close();
    auto host = std::make_unique<Ingame>(request, components);
    // Dropped after the posting looked: a job of its own would register it again.
    components.spriteManagers->release(kept);
    gate.open();
    ASSERT_TRUE(stepUntil(*host, [&] { return host->playing(); }));
    EXPECT_EQ(loads.missingSets, (std::vector<std::string>{kept}));
    host.reset();
    settle();
}

TEST_F(IngameTest, TheLoaderFadesInOverAQuarterSecond) {
    const float stepLength = 1.0f / 60.0f;
    gate.close();
    auto host = std::make_unique<Ingame>(request, components);
    ASSERT_NE(host->loader().sprite(), nullptr);
    for (int i = 0; i < 6; ++i) step(*host);
    EXPECT_NEAR(loaderAlpha(*host), 6 * 4 * stepLength, 1e-5f);
    for (int i = 0; i < 9; ++i) step(*host);
    EXPECT_FLOAT_EQ(loaderAlpha(*host), 1.0f);
    gate.open();
    host.reset();
    settle();
}

TEST_F(IngameTest, AnUnfocusedGameIsSteppedAndDrawnWithoutTimeAndGetsNoInput) {
    auto host = std::make_unique<Ingame>(request, components);
    ASSERT_TRUE(stepUntil(*host, [&] { return host->playing(); }));
    step(*host);
    std::vector<float>& updates = ports->recordings->userInterfaceSteps;
    std::vector<float>& renders = ports->recordings->visualizerRenderSteps;
    ASSERT_FALSE(updates.empty());
    EXPECT_GT(updates.back(), 0.0f);
    EXPECT_GT(renders.back(), 0.0f);

    SystemEvents::instance().focusLost.fireNoArgs();
    step(*host);
    EXPECT_EQ(updates.back(), 0.0f);
    EXPECT_EQ(renders.back(), 0.0f);
    pressQuit();
    EXPECT_FALSE(host->handleInput(input));

    SystemEvents::instance().focusGained.fireNoArgs();
    step(*host);
    EXPECT_GT(updates.back(), 0.0f);
    EXPECT_GT(renders.back(), 0.0f);
    host.reset();
    settle();
}

TEST_F(IngameTest, ASecondGameInTheSameRunLoadsItsDefinitionsAtOnce) {
    for (int game = 0; game < 2; ++game) {
        requests.clear();
        auto host = std::make_unique<Ingame>(request, components);
        ASSERT_TRUE(stepUntil(*host, [&] { return host->playing(); })) << "game " << game;
        pressQuit();
        EXPECT_TRUE(host->handleInput(input));
        ASSERT_TRUE(stepUntil(*host, [&] { return !requests.empty(); })) << "game " << game;
        host.reset();
    }
    EXPECT_TRUE(log.errors.empty());
}

} // namespace
} // namespace zor
