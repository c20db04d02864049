// The in-game host with a real worker thread: it builds the Game there, hands it to the
// main thread, ends play on its quit key and destroys the Game on the worker, also when
// the host itself goes first.

#include "game/ui/Ingame.h"

#include "game/simulation/ports/GamePorts.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/physics/ShapePairTests.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/screen/Screen.h"
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
#include <thread>
#include <vector>

namespace zor {
namespace {

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
        programGamePorts() = ports;
        input.bind(Ingame::QuitButton, "Key.Escape");
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

    test::LogCapture log;
    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    std::unique_ptr<SettingsHandler> m_settings;
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

} // namespace
} // namespace zor
