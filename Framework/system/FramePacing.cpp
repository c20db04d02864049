#include "Framework/system/FramePacing.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

namespace zor {

namespace {

constexpr float DefaultUpdatesPerSecond = 60.0f;
// Seconds each pass sleeps while the window has no focus.
constexpr double UnfocusedSleepSeconds = 0.020;

constexpr const char* UpdatesKey = "System.UpdatesPerSecond";
constexpr const char* MaxFramesKey = "System.MaxFramesPerSecond";
constexpr const char* MinFramesKey = "System.MinFramesPerSecond";

bool inRange(float rate) {
    return rate >= LowestPacingRate && rate <= HighestPacingRate;
}

// Puts the declared default back and returns it; `fallback` when even that is unusable.
float refuse(SettingsHandler& settings, const char* key, const std::string& why, float fallback) {
    const OptionalSettingValue defaultValue = settings.setting(key).DefaultValue;
    LogHandler::log(LogHandler::Warning, "System",
                    std::string(key) + " " + settings.getString(key) + " refused (" + why + "); the default " +
                        valueAsString(defaultValue) + " is kept");
    if (defaultValue.isSet) settings.setValue(key, defaultValue.value);
    const float rate = settings.getFloat(key);
    return inRange(rate) ? rate : fallback;
}

float rateOf(SettingsHandler& settings, const char* key, float fallback) {
    const float rate = settings.getFloat(key);
    if (inRange(rate)) return rate;
    std::ostringstream range;
    range << "not from " << LowestPacingRate << " to " << HighestPacingRate;
    return refuse(settings, key, range.str(), fallback);
}

} // namespace

FramePacing readFramePacing(SettingsHandler& settings) {
    const FramePacing standard;
    const float updates = rateOf(settings, UpdatesKey, float(1.0 / standard.step));
    float maxFrames = rateOf(settings, MaxFramesKey, 1.0f / standard.minFrameTime);
    float minFrames = rateOf(settings, MinFramesKey, 1.0f / standard.maxFrameTime);
    if (minFrames > maxFrames) {
        minFrames = refuse(settings, MinFramesKey, std::string("above ") + MaxFramesKey, 1.0f / standard.maxFrameTime);
        if (minFrames > maxFrames)
            maxFrames = refuse(settings, MaxFramesKey, std::string("below ") + MinFramesKey, 1.0f / standard.minFrameTime);
    }
    return FramePacing::fromRates(updates, maxFrames, minFrames);
}

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

double frameSleepSeconds(float frameTime, float minFrameTime, double timerResolution) {
    const double remaining = double(minFrameTime) - double(frameTime) - timerResolution - FrameSpinSeconds;
    return remaining > 0.0 ? remaining : 0.0;
}

double passSleepSeconds(const FramePass& pass, const FramePacing& pacing, const SleepRules& rules) {
    if (rules.disableSleep) return 0.0;
    double seconds = 0.0;
    if (pass.kind == FramePass::Wait && !rules.busyWait)
        seconds += frameSleepSeconds(pass.frameTime, pacing.minFrameTime, rules.timerResolution);
    if (rules.unfocused) seconds += UnfocusedSleepSeconds;
    return seconds;
}

UnpacedSyncWatch::UnpacedSyncWatch(double refreshRate)
    : m_refreshRate(refreshRate > 0.0 && std::isfinite(refreshRate) ? refreshRate : 60.0) {}

bool UnpacedSyncWatch::observe(float frameTime, bool syncAsked) {
    if (m_unpaced) return false;
    if (!syncAsked || !(frameTime > 0.0f)) {
        m_frames = 0;
        m_seconds = 0.0;
        return false;
    }
    m_seconds += double(frameTime);
    if (++m_frames < WatchedFrames) return false;
    m_unpaced = m_seconds / m_frames * FasterThan < 1.0 / m_refreshRate;
    m_frames = 0;
    m_seconds = 0.0;
    return m_unpaced;
}

float UnpacedSyncWatch::minFrameTime(float configured, bool syncAsked) const {
    if (!m_unpaced || !syncAsked) return configured;
    return std::max(configured, float(1.0 / m_refreshRate));
}

} // namespace zor
