#include "Framework/system/FramePacing.h"

#include "Framework/core/settings/SettingsHandler.h"
#include "tests/support/common/LogCapture.h"

#include <gtest/gtest.h>

#include <limits>

namespace zor {
namespace {

TEST(FramePacing, OutOfRangeRatesAreRefusedWithAWarningAndTheirDefaultsKept) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        float updates, maxFrames, minFrames;
        const char* refused;  // the setting the warning names; null for none
        float step, minFrameTime, maxFrameTime;
    };
    const Case cases[] = {
        {"in range", 30.0f, 120.0f, 5.0f, nullptr, 1.0f / 30.0f, 1.0f / 120.0f, 0.2f},
        {"no frames at all", 60.0f, 0.0f, 10.0f, "System.MaxFramesPerSecond", 1.0f / 60.0f, 1.0f / 300.0f, 0.1f},
        {"negative updates", -5.0f, 300.0f, 10.0f, "System.UpdatesPerSecond", 1.0f / 60.0f, 1.0f / 300.0f, 0.1f},
        {"not a number", 60.0f, 300.0f, nan, "System.MinFramesPerSecond", 1.0f / 60.0f, 1.0f / 300.0f, 0.1f},
        {"too many frames", 60.0f, 1e6f, 10.0f, "System.MaxFramesPerSecond", 1.0f / 60.0f, 1.0f / 300.0f, 0.1f},
        {"minimum above maximum", 60.0f, 30.0f, 50.0f, "System.MinFramesPerSecond", 1.0f / 60.0f, 1.0f / 30.0f, 0.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsHandler settings;
        settings.declare("System.UpdatesPerSecond", "", 60.0f, SettingPermanent, SettingInternal);
        settings.declare("System.MaxFramesPerSecond", "", 300.0f, SettingPermanent, SettingInternal);
        settings.declare("System.MinFramesPerSecond", "", 10.0f, SettingPermanent, SettingInternal);
        settings.setValue("System.UpdatesPerSecond", c.updates);
        settings.setValue("System.MaxFramesPerSecond", c.maxFrames);
        settings.setValue("System.MinFramesPerSecond", c.minFrames);
        test::LogCapture log;
        const FramePacing pacing = readFramePacing(settings);
        EXPECT_FLOAT_EQ(float(pacing.step), c.step);
        EXPECT_FLOAT_EQ(pacing.minFrameTime, c.minFrameTime);
        EXPECT_FLOAT_EQ(pacing.maxFrameTime, c.maxFrameTime);
        if (!c.refused) {
            EXPECT_TRUE(log.warnings.empty());
            continue;
        }
        ASSERT_EQ(log.warnings.size(), 1u);
        EXPECT_NE(log.warnings[0].find(c.refused), std::string::npos) << log.warnings[0];
        // Refused for good: the saved settings hold the default again.
        const SettingsHandler::Setting& setting = settings.setting(c.refused);
        EXPECT_TRUE(setting.Value == setting.DefaultValue) << log.warnings[0];
        // A frame comes.
        EXPECT_EQ(planFramePass(pacing, 0.05f, 0.0).kind, FramePass::Frame);
    }
}

TEST(FramePacing, PassesOfTheMainLoop) {
    const FramePacing standard = FramePacing::fromRates(60.0f, 300.0f, 10.0f);
    const FramePacing fast = FramePacing::fromRates(120.0f, 60.0f, 20.0f);
    struct Case {
        const char* what;
        const FramePacing& pacing;
        float frameTime;
        double accumulator;
        FramePass::Kind kind;
        float usedFrameTime;
        int steps;
        double accumulatorAfter;
    };
    const Case cases[] = {
        {"three whole steps leave nothing", standard, 0.05f, 0.0, FramePass::Frame, 0.05f, 3, 0.0},
        {"a long frame is cut to the minimum rate", standard, 0.3f, 0.0, FramePass::Frame, 0.1f, 6, 0.0},
        {"exactly the minimum frame time waits", standard, 1.0f / 300.0f, 0.0, FramePass::Wait, 1.0f / 300.0f, 0, 0.0},
        {"a little more runs a frame", standard, 0.004f, 0.0, FramePass::Frame, 0.004f, 0, 0.004},
        {"left-over time counts", standard, 0.01f, 0.01, FramePass::Frame, 0.01f, 1, 0.02 - 1.0 / 60.0},
        {"a counter that went back resets", standard, -0.5f, 0.01, FramePass::Reset, -0.5f, 0, 0.01},
        {"no time waits and keeps the accumulator", standard, 0.0f, 0.01, FramePass::Wait, 0.0f, 0, 0.01},
        {"other rates", fast, 0.1f, 0.0, FramePass::Frame, 0.05f, 6, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FramePass pass = planFramePass(c.pacing, c.frameTime, c.accumulator);
        EXPECT_EQ(pass.kind, c.kind);
        EXPECT_FLOAT_EQ(pass.frameTime, c.usedFrameTime);
        EXPECT_EQ(pass.steps, c.steps);
        EXPECT_NEAR(pass.accumulator, c.accumulatorAfter, 1e-6);
        EXPECT_GE(pass.accumulator, 0.0);
        EXPECT_LT(pass.accumulator, c.pacing.step);
    }
}

TEST(FramePacing, UpdateRatesThatAreNotPositiveNumbersCountAsSixty) {
    for (float rate : {0.0f, -60.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        const FramePacing pacing = FramePacing::fromRates(rate, 300.0f, 10.0f);
        EXPECT_DOUBLE_EQ(pacing.step, 1.0 / 60.0) << rate;
        // The steps of a frame end.
        EXPECT_EQ(planFramePass(pacing, 0.1f, 0.0).steps, 6) << rate;
    }
    const FramePacing pacing = FramePacing::fromRates(30.0f, 200.0f, 5.0f);
    EXPECT_DOUBLE_EQ(pacing.step, 1.0 / 30.0);
    EXPECT_FLOAT_EQ(pacing.minFrameTime, 0.005f);
    EXPECT_FLOAT_EQ(pacing.maxFrameTime, 0.2f);
}

TEST(FramePacing, SleepStopsATimerResolutionAndTheSpinShortOfTheFrame) {
    struct Case {
        float frameTime, minFrameTime;
        double resolution;
        double seconds;
    };
    const Case cases[] = {
        {0.0f, 0.01f, 0.001, 0.01 - 0.001 - FrameSpinSeconds},  // no longer whole milliseconds
        {0.002f, 0.01f, 0.0005, 0.008 - 0.0005 - FrameSpinSeconds},
        {0.0f, 1.0f / 300.0f, 0.00005, 1.0 / 300.0 - 0.00005 - FrameSpinSeconds},
        {0.0f, 0.0019f, 0.001, 0.0019 - 0.001 - FrameSpinSeconds},  // under a millisecond is slept too
        {0.0095f, 0.01f, 0.0, 0.0005 - FrameSpinSeconds},
        {0.0099f, 0.01f, 0.0, 0.0},  // the last fraction is spun
        {0.02f, 0.01f, 0.001, 0.0},  // already late
    };
    for (const Case& c : cases)
        EXPECT_NEAR(frameSleepSeconds(c.frameTime, c.minFrameTime, c.resolution), c.seconds, 1e-7)
            << c.frameTime << " of " << c.minFrameTime << " at resolution " << c.resolution;
}

TEST(FramePacing, SleepAfterAPassFollowsFocusBusyWaitAndDisableSleep) {
    const FramePacing pacing = FramePacing::fromRates(60.0f, 100.0f, 10.0f);  // frames at least 10 ms apart
    const FramePass waiting = planFramePass(pacing, 0.0015f, 0.0);
    const FramePass frame = planFramePass(pacing, 0.05f, 0.0);
    const FramePass reset = planFramePass(pacing, -1.0f, 0.0);
    ASSERT_EQ(waiting.kind, FramePass::Wait);
    ASSERT_EQ(frame.kind, FramePass::Frame);
    ASSERT_EQ(reset.kind, FramePass::Reset);
    struct Case {
        const char* what;
        const FramePass& pass;
        bool busyWait, disableSleep, unfocused;
        double seconds;
    };
    const Case cases[] = {
        {"a waiting pass sleeps out the frame", waiting, false, false, false, 0.0075 - FrameSpinSeconds},
        {"busy waiting spins instead", waiting, true, false, false, 0.0},
        {"a drawn frame does not sleep", frame, false, false, false, 0.0},
        {"nor does a reset", reset, false, false, false, 0.0},
        {"without focus every pass sleeps 20 ms more", frame, false, false, true, 0.020},
        {"also while busy waiting", waiting, true, false, true, 0.020},
        {"and on top of the frame sleep", waiting, false, false, true, 0.0275 - FrameSpinSeconds},
        {"disableSleep: no frame sleep", waiting, false, true, false, 0.0},
        {"disableSleep: none without focus either", waiting, false, true, true, 0.0},
    };
    for (const Case& c : cases) {
        SleepRules rules;
        rules.timerResolution = 0.001;
        rules.busyWait = c.busyWait;
        rules.disableSleep = c.disableSleep;
        rules.unfocused = c.unfocused;
        EXPECT_NEAR(passSleepSeconds(c.pass, pacing, rules), c.seconds, 1e-7) << c.what;
    }
}

TEST(FramePacing, SyncThatPacesNothingCapsFramesAtTheRefreshRate) {
    struct Case {
        const char* what;
        double refresh;
        float frameTime;
        bool syncAsked;
        bool unpaced;
    };
    const Case cases[] = {
        {"frames four times the refresh", 60.0, 1.0f / 250.0f, true, true},
        {"frames at the refresh", 60.0, 1.0f / 60.0f, true, false},
        {"a little faster is a slow display's jitter", 60.0, 1.0f / 75.0f, true, false},
        {"without sync asked, any rate is wanted", 60.0, 1.0f / 250.0f, false, false},
        {"an unknown refresh counts as 60", 0.0, 1.0f / 250.0f, true, true},
        {"a fast display", 144.0, 1.0f / 250.0f, true, true},
        {"a faster display", 240.0, 1.0f / 250.0f, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnpacedSyncWatch watch(c.refresh);
        int found = 0;
        for (int frame = 0; frame < 3 * UnpacedSyncWatch::WatchedFrames; ++frame)
            if (watch.observe(c.frameTime, c.syncAsked)) ++found;
        EXPECT_EQ(watch.unpaced(), c.unpaced);
        EXPECT_EQ(found, c.unpaced ? 1 : 0) << "told once";
        const float refreshTime = float(1.0 / (c.refresh > 0.0 ? c.refresh : 60.0));
        EXPECT_EQ(watch.minFrameTime(1.0f / 300.0f, true), c.unpaced ? refreshTime : 1.0f / 300.0f);
        EXPECT_EQ(watch.minFrameTime(1.0f / 300.0f, false), 1.0f / 300.0f) << "sync switched off: no cap";
        EXPECT_EQ(watch.minFrameTime(0.1f, true), 0.1f) << "a lower configured rate stays";
    }

    // A frame without sync in between starts the watch again.
    UnpacedSyncWatch watch(60.0);
    for (int frame = 0; frame < UnpacedSyncWatch::WatchedFrames - 1; ++frame) watch.observe(0.004f, true);
    watch.observe(0.004f, false);
    for (int frame = 0; frame < UnpacedSyncWatch::WatchedFrames - 1; ++frame) watch.observe(0.004f, true);
    EXPECT_FALSE(watch.unpaced());
    EXPECT_TRUE(watch.observe(0.004f, true));
}

} // namespace
} // namespace zor
