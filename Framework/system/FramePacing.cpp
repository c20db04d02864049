#include "Framework/system/FramePacing.h"

#include <cmath>

namespace zor {

namespace {

constexpr float DefaultUpdatesPerSecond = 60.0f;
// Seconds each pass sleeps while the window has no focus.
constexpr double UnfocusedSleepSeconds = 0.020;

} // namespace

FramePacing FramePacing::fromRates(float updatesPerSecond, float maxFramesPerSecond, float minFramesPerSecond) {
    FramePacing pacing;
    const float updates =
        updatesPerSecond > 0.0f && std::isfinite(updatesPerSecond) ? updatesPerSecond : DefaultUpdatesPerSecond;
    pacing.step = 1.0 / double(updates);
    pacing.minFrameTime = 1.0f / maxFramesPerSecond;
    pacing.maxFrameTime = 1.0f / minFramesPerSecond;
    return pacing;
}

FramePass planFramePass(const FramePacing& pacing, float frameTime, double accumulator) {
    FramePass pass;
    pass.frameTime = frameTime > pacing.maxFrameTime ? pacing.maxFrameTime : frameTime;
    pass.accumulator = accumulator;
    if (pass.frameTime > pacing.minFrameTime) {
        pass.kind = FramePass::Frame;
        pass.accumulator += double(pass.frameTime);
        while (pass.accumulator >= pacing.step) {
            pass.accumulator -= pacing.step;
            ++pass.steps;
        }
    } else if (pass.frameTime < 0.0f) {
        pass.kind = FramePass::Reset;
    }
    return pass;
}

unsigned frameSleepMilliseconds(float frameTime, float minFrameTime, double timerResolution) {
    const double remaining = double(minFrameTime) - double(frameTime) - timerResolution;
    return remaining > 0.001 ? unsigned(remaining * 1000.0) : 0u;
}

double passSleepSeconds(const FramePass& pass, const FramePacing& pacing, const SleepRules& rules) {
    if (rules.disableSleep) return 0.0;
    double seconds = 0.0;
    if (pass.kind == FramePass::Wait && !rules.busyWait)
        seconds += frameSleepMilliseconds(pass.frameTime, pacing.minFrameTime, rules.timerResolution) / 1000.0;
    if (rules.unfocused) seconds += UnfocusedSleepSeconds;
    return seconds;
}

} // namespace zor
