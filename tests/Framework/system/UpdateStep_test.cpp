#include "Framework/core/Errors.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/core/threads/WorkerFailure.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/debug/PerfOverlay.h"
#include "Framework/input/InputState.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/GameHooks.h"
#include "Framework/system/ISettingsDebugMenu.h"
#include "Framework/system/OnScreenLog.h"
#include "Framework/system/SettingsDebugMenuService.h"
#include "Framework/system/StartUp.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/SystemHandlers.h"
#include "Framework/system/UpdateStep.h"
#include "Framework/system/surface/StateMachine.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "game/simulation/GameSession.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

std::vector<UpdateRecord> g_updates;
std::vector<std::int32_t> g_made;
bool g_throwInUpdate = false;
int g_stateInputs = 0;

class StepState : public StateSurface {
public:
    bool handleInput(InputState&) override {
        ++g_stateInputs;
        return true;
    }
    void update(const UpdateRecord& record) override {
        g_updates.push_back(record);
        if (g_throwInUpdate) throw CheckReleaseError("Could not read the cave");
    }
};

class UpdateStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!LogHandler::exists()) new LogHandler();
        g_updates.clear();
        g_made.clear();
        g_throwInUpdate = false;
        g_stateInputs = 0;
        stateFactories().clear();
        for (std::int32_t id = 0; id < NoState; ++id)
            registerStateFactory(id, [id](StateRequestFunction, SystemComponents*) -> std::unique_ptr<StateSurface> {
                g_made.push_back(id);
                return std::make_unique<StepState>();
            });
        resetStateMachine();
        ApplicationState& app = appState();
        app.totalTime = 0.0f;
        app.stateFailed = false;
        app.mainThreadId = std::this_thread::get_id();
        app.processorCount = 4;
        setLoadErrorHandler([this](const std::string& text) { loadErrors.push_back(text); });
    }
    void TearDown() override {
        const CoreDebugFlags& flags = coreDebugFlags();
        for (DebugFlag* flag : {&flags.slowMo, &flags.speedUp, &flags.still, &flags.step, &flags.showLog,
                                &flags.showFps, &flags.clearDebugDraw, &flags.resetProgress, &flags.settings})
            *flag = false;
        if (appState().onScreenLogId != 0) setOnScreenLog(false);
        appState().stateFailed = false;
        resetStateMachine();
        stateFactories().clear();
        setLoadErrorHandler(nullptr);
    }

    std::vector<std::string> loadErrors;
};

TEST_F(UpdateStepTest, DebugTimeControls) {
    const CoreDebugFlags& flags = coreDebugFlags();
    struct Case {
        const char* what;
        bool slowMo, speedUp, still;
        float stepLength, dt;
    };
    const Case cases[] = {
        {"plain", false, false, false, 1.0f / 60.0f, 1.0f / 60.0f},
        {"slow motion", true, false, false, 0.04f, 0.01f},
        {"speed-up", false, true, false, 0.01f, 0.04f},
        {"both cancel out", true, true, false, 0.02f, 0.02f},
        {"still stops time", true, true, true, 0.02f, 0.0f},
        {"a long step is cut to 0.1 s", false, false, false, 0.5f, 0.1f},
        {"and so is a sped-up one", false, true, false, 0.05f, 0.1f},
    };
    updateStep(0.0f);  // makes the first state
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        flags.slowMo = c.slowMo;
        flags.speedUp = c.speedUp;
        flags.still = c.still;
        g_updates.clear();
        const float before = appState().totalTime;
        updateStep(c.stepLength);
        ASSERT_EQ(g_updates.size(), 1u);
        EXPECT_FLOAT_EQ(g_updates[0].stepLength, c.dt);
        EXPECT_FLOAT_EQ(appState().totalTime - before, c.dt);
        EXPECT_FLOAT_EQ(float(g_updates[0].totalTime), appState().totalTime);
        // The render's frame time follows the same controls, without the limit.
        EXPECT_FLOAT_EQ(debugScaledTime(c.stepLength), c.still ? 0.0f : c.stepLength * (c.slowMo ? 0.25f : 1.0f) *
                                                                             (c.speedUp ? 4.0f : 1.0f));
    }
}

TEST_F(UpdateStepTest, SingleStepRunsOneUnscaledUpdateAndStaysStill) {
    const CoreDebugFlags& flags = coreDebugFlags();
    updateStep(0.0f);
    flags.slowMo = true;
    flags.step = true;
    g_updates.clear();
    updateStep(0.02f);
    updateStep(0.02f);
    ASSERT_EQ(g_updates.size(), 2u);
    EXPECT_FLOAT_EQ(g_updates[0].stepLength, 0.02f);
    EXPECT_FLOAT_EQ(g_updates[1].stepLength, 0.0f);
    EXPECT_FALSE(flags.step);
    EXPECT_TRUE(flags.still);
}

TEST_F(UpdateStepTest, FirstStepMakesStateZeroAndTheRecordTellsTheFade) {
    updateStep(0.1f);
    EXPECT_EQ(g_made, std::vector<std::int32_t>({0}));
    ASSERT_EQ(g_updates.size(), 1u);
    EXPECT_TRUE(g_updates[0].fading);
    for (int i = 0; i < 3; ++i) updateStep(0.1f);
    EXPECT_FALSE(g_updates.back().fading);
    EXPECT_EQ(stateMachine().fadeLevel, 0.0f);
}

TEST_F(UpdateStepTest, LoadErrorInTheStateStopsItForGood) {
    updateStep(0.1f);
    g_throwInUpdate = true;
    updateStep(0.1f);
    EXPECT_EQ(loadErrors, std::vector<std::string>({"Could not read the cave"}));
    EXPECT_TRUE(appState().stateFailed);
    g_updates.clear();
    const float before = appState().totalTime;
    updateStep(0.1f);
    EXPECT_TRUE(g_updates.empty());
    EXPECT_FLOAT_EQ(appState().totalTime - before, 0.1f);  // the time is still kept
}

TEST_F(UpdateStepTest, FailedWorkerJobReachesTheLoadErrorHandler) {
    updateStep(0.1f);
    recordWorkerFailure("Could not read file 'Levels/deep.xml'");
    g_updates.clear();
    updateStep(0.1f);
    EXPECT_EQ(loadErrors, std::vector<std::string>({"Worker thread: Could not read file 'Levels/deep.xml'"}));
    EXPECT_TRUE(appState().stateFailed);
    EXPECT_TRUE(g_updates.empty());
}

TEST_F(UpdateStepTest, InstalledLoadErrorHandlerEndsTheProgramWithItsText) {
    setLoadErrorHandler(&raiseLoadError);
    recordWorkerFailure("bad patch");
    try {
        updateStep(0.1f);
        FAIL() << "no MainError";
    } catch (const MainError& error) {
        EXPECT_EQ(error.message,
                  "Error while loading: Worker thread: bad patch\n\nPlease verify game cache integrity.");
    }
    EXPECT_THROW(reportLoadError("x"), MainError);
    setLoadErrorHandler(nullptr);
    EXPECT_THROW(reportLoadError("x"), std::bad_function_call);
}

TEST_F(UpdateStepTest, ErrorLoggedWhileTheOnScreenLogExistsSwitchesToTheErrorMenu) {
    setOnScreenLog(true);
    ASSERT_NE(appState().onScreenLogId, 0);
    LogHandler::log(LogHandler::Warning, "test", "a warning changes nothing");
    EXPECT_EQ(stateMachine().pendingStateId, StateLogos);
    // From another thread an error changes nothing either.
    std::thread([] { LogHandler::log(LogHandler::Error, "test", "worker error"); }).join();
    EXPECT_EQ(stateMachine().pendingStateId, StateLogos);

    LogHandler::log(LogHandler::Error, "test", "the sample data is broken");
    updateStep(0.1f);
    EXPECT_EQ(g_made, std::vector<std::int32_t>({StateErrorMenu}));

    // The first step removes the sink again unless showLog is on.
    EXPECT_EQ(appState().onScreenLogId, 0);
    coreDebugFlags().showLog = true;
    updateStep(0.1f);
    EXPECT_NE(appState().onScreenLogId, 0);
}

} // namespace
} // namespace zor

namespace zor {
namespace {

TEST_F(UpdateStepTest, FrameRateDisplayFollowsItsFlagAndDebugDrawingIsClearedOnce) {
    const CoreDebugFlags& flags = coreDebugFlags();
    updateStep(0.0f);
    flags.showFps = true;
    updateStep(0.01f);
    EXPECT_TRUE(PerfOverlay::global().shown());
    flags.showFps = false;
    updateStep(0.01f);
    EXPECT_FALSE(PerfOverlay::global().shown());

    new DebugDraw();
    DebugDraw& debugDraw = DebugDraw::instance();
    debugDraw.screenLayer.addLine(fpSegment(fpVector2(0, 0), fpVector2(4, 4)), 10.0f, PackedColor(0xFFFFFFFFu));
    debugDraw.worldLayer.addGrid(fpRect(0, 0, 8, 8), fpVector2(4, 4), 10.0f, PackedColor(0xFFFFFFFFu));
    updateStep(0.01f);
    EXPECT_EQ(debugDraw.screenLayer.lines.size(), 1u) << "kept while the flag is off";
    flags.clearDebugDraw = true;
    updateStep(0.01f);
    EXPECT_FALSE(flags.clearDebugDraw);
    EXPECT_TRUE(debugDraw.screenLayer.lines.empty());
    EXPECT_TRUE(debugDraw.worldLayer.grids.empty());
    delete DebugDraw::instancePointer();
}

TEST_F(UpdateStepTest, ResetProgressWaitsForASessionThenResetsAllButPermanentAndProfileSettings) {
    test::TempFolder user;
    test::ScopedEnv userDir("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    new SettingsHandler();
    SettingsHandler& settings = SettingsHandler::instance();
    const std::pair<const char*, std::uint32_t> declared[] = {
        {"Test.Temporary", SettingTemporary},
        {"Test.Persistent", SettingPersistent},
        {"Test.Permanent", SettingPermanent},
        {"Test.Profile", SettingProfile},
    };
    for (const auto& [key, persistence] : declared) {
        settings.declare(key, "", std::int32_t(1), persistence, SettingInternal);
        settings.setValue(key, std::int32_t(7));
    }
    const CoreDebugFlags& flags = coreDebugFlags();
    flags.resetProgress = true;
    updateStep(0.01f);
    EXPECT_TRUE(flags.resetProgress) << "no session yet: the request waits";
    EXPECT_EQ(settings.getInt("Test.Persistent"), 7);

    systemComponents() =
        std::make_shared<SystemComponents>(nullptr, nullptr, nullptr, nullptr, nullptr, std::make_shared<GameSession>());
    updateStep(0.01f);
    EXPECT_FALSE(flags.resetProgress);
    EXPECT_EQ(settings.getInt("Test.Temporary"), 1);
    EXPECT_EQ(settings.getInt("Test.Persistent"), 1);
    EXPECT_EQ(settings.getInt("Test.Permanent"), 7);
    EXPECT_EQ(settings.getInt("Test.Profile"), 7);
    const std::string saved = user.read("settings.xml");
    EXPECT_NE(saved.find("Key=\"Test.Permanent\" Value=\"7\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Test.Persistent"), std::string::npos) << saved;

    systemComponents().reset();
    delete SettingsHandler::instancePointer();
    initFileSystem("BundlePC");
}

// Counts what the engine asks of the settings debug menu.
struct MenuLog {
    std::vector<std::int32_t> openedAt;
    int inputs = 0;
    int updates = 0;
    bool takesInput = true;
};

class FakeSettingsMenu : public ISettingsDebugMenu {
public:
    FakeSettingsMenu(MenuLog& log, std::int32_t startPage) : page(startPage), m_log(log) {}
    std::int32_t pagePosition() const override { return page; }
    bool handleInput(InputState&) override {
        ++m_log.inputs;
        return m_log.takesInput;
    }
    void update(const UpdateRecord&) override { ++m_log.updates; }

    std::int32_t page;

private:
    MenuLog& m_log;
};

TEST_F(UpdateStepTest, SettingsDebugMenuOpensOnItsFlagTakesInputFirstAndRemembersItsPage) {
    MenuLog log;
    gameHooks().createSettingsDebugMenu = [&log](SystemComponents&, std::int32_t page) {
        log.openedAt.push_back(page);
        return std::make_unique<FakeSettingsMenu>(log, page);
    };
    systemComponents() = std::make_shared<SystemComponents>(nullptr, nullptr, nullptr, nullptr);
    ApplicationState& app = appState();
    app.settingsMenuPosition = 2;
    const CoreDebugFlags& flags = coreDebugFlags();

    updateStep(0.01f);
    EXPECT_EQ(g_stateInputs, 1);
    flags.settings = true;
    updateStep(0.01f);
    ASSERT_EQ(log.openedAt, std::vector<std::int32_t>({2}));
    EXPECT_FALSE(flags.settings);
    EXPECT_EQ(log.updates, 1);

    updateStep(0.01f);
    EXPECT_EQ(log.inputs, 1);
    EXPECT_EQ(g_stateInputs, 2) << "the menu took the input";
    log.takesInput = false;
    updateStep(0.01f);
    EXPECT_EQ(g_stateInputs, 3) << "input the menu leaves reaches the state";
    EXPECT_EQ(log.updates, 3);

    flags.settings = true;
    updateStep(0.01f);
    EXPECT_EQ(log.openedAt.size(), 1u) << "the flag updates an open menu";

    auto* menu = static_cast<FakeSettingsMenu*>(app.settingsDebugMenu.get());
    menu->page = 5;
    menu->closed.fireNoArgs();
    EXPECT_NE(app.settingsDebugMenu, nullptr) << "deleted in the next step, not inside its own event";
    updateStep(0.01f);
    EXPECT_EQ(app.settingsDebugMenu, nullptr);
    EXPECT_EQ(app.settingsMenuPosition, 5);

    flags.settings = true;
    updateStep(0.01f);
    EXPECT_EQ(log.openedAt, std::vector<std::int32_t>({2, 5}));
    static_cast<FakeSettingsMenu*>(app.settingsDebugMenu.get())->page = 1;
    closeSettingsDebugMenu();
    EXPECT_EQ(app.settingsDebugMenu, nullptr);
    EXPECT_EQ(app.settingsMenuPosition, 1);

    gameHooks().createSettingsDebugMenu = nullptr;
    systemComponents().reset();
    app.settingsMenuPosition = 0;
}

} // namespace
} // namespace zor
