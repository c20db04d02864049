#include "Framework/core/Errors.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/threads/WorkerFailure.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/OnScreenLog.h"
#include "Framework/system/StartUp.h"
#include "Framework/system/SystemHandlers.h"
#include "Framework/system/UpdateStep.h"
#include "Framework/system/surface/StateMachine.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

std::vector<UpdateRecord> g_updates;
std::vector<std::int32_t> g_made;
bool g_throwInUpdate = false;

class StepState : public StateSurface {
public:
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
        for (DebugFlag* flag : {&flags.slowMo, &flags.speedUp, &flags.still, &flags.step, &flags.showLog})
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
