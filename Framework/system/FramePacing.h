#pragma once
// The main loop's timing rules as plain arithmetic: how long a frame counts, whether a
// pass draws a frame, how many fixed update steps a frame runs and how long the loop may
// sleep.

namespace zor {

class SettingsHandler;

struct FramePacing {
    // Seconds per update step. Kept in double so that a frame of exactly n steps (0.05 s
    // at 60 steps per second) runs n steps rather than n - 1 and a rounding remainder.
    double step = 1.0 / 60.0;
    float minFrameTime = 1.0f / 300.0f;  // a frame runs only when more time has passed
    float maxFrameTime = 0.1f;           // longer frames are cut to this (the game slows down)

    // From "System.UpdatesPerSecond", "System.MaxFramesPerSecond" and
    // "System.MinFramesPerSecond". An update rate that is not a positive number would
    // never finish a frame's steps; it counts as 60.
    static FramePacing fromRates(float updatesPerSecond, float maxFramesPerSecond, float minFramesPerSecond);
};

// Every pacing rate lies in this range, in steps or frames a second.
constexpr float LowestPacingRate = 1.0f;
constexpr float HighestPacingRate = 1000.0f;

// The pacing of the three settings. A rate outside the range, or a minimum frame rate above
// the maximum (no frame would ever be drawn), is refused with a warning naming the setting:
// the setting goes back to its default, so the value does not outlive the run either.
FramePacing readFramePacing(SettingsHandler& settings);

struct FramePass {
    enum Kind { Frame, Wait, Reset };

    Kind kind = Wait;
    float frameTime = 0.0f;    // after the cut to maxFrameTime
    int steps = 0;             // update steps this frame runs
    double accumulator = 0.0;  // time left over after them (unchanged unless a frame runs)
};

// One pass of the loop with `frameTime` seconds since the last frame: a frame when it
// exceeds minFrameTime, a reset when it is negative (the counter went back), else a wait.
FramePass planFramePass(const FramePacing& pacing, float frameTime, double accumulator);

// The loop spins through this last part of a frame's wait instead of sleeping it, so that
// a late wake-up does not make the frame late: a quarter of a millisecond beyond the
// timer's own lateness.
constexpr double FrameSpinSeconds = 0.00025;

// Seconds to sleep while waiting for the next frame: the rest of the minimum frame time,
// less the timer resolution and FrameSpinSeconds; 0 when nothing is left.
double frameSleepSeconds(float frameTime, float minFrameTime, double timerResolution);

// How the loop may sleep after a pass.
struct SleepRules {
    double timerResolution = 0.001;  // seconds
    bool busyWait = false;           // "System.BusyWait": spin instead of the frame sleep
    bool disableSleep = false;       // debug flag "perf"/"disableSleep": no sleep at all
    bool unfocused = false;          // the window has lost the focus
};

// Seconds to sleep after a pass, counted from the moment its frame time was taken (the
// loop sleeps to that point, not for that long): a waiting pass sleeps out the rest of
// the frame (frameSleepSeconds) unless busy waiting; any pass sleeps 20 ms more while the
// window has no focus. Nothing with disableSleep.
double passSleepSeconds(const FramePass& pass, const FramePacing& pacing, const SleepRules& rules);

// Notices vertical sync that paces nothing (a virtual or headless display, some drivers):
// with sync asked for, frames that keep coming far faster than the display refreshes.
// The loop then caps frames at the refresh rate while sync stays asked for.
class UnpacedSyncWatch {
public:
    // Frames watched before deciding, and how much faster than the refresh they must come.
    static constexpr int WatchedFrames = 60;
    static constexpr double FasterThan = 1.5;

    // refreshRate: the display's, in frames a second (0 when unknown: 60 is assumed).
    explicit UnpacedSyncWatch(double refreshRate);

    // After each frame, with its frame time and whether sync is asked for. True once: on
    // the frame that shows sync does not pace.
    bool observe(float frameTime, bool syncAsked);
    bool unpaced() const { return m_unpaced; }
    double refreshRate() const { return m_refreshRate; }
    // The minimum frame time to use: at least one refresh while sync is asked for and
    // found not to pace.
    float minFrameTime(float configured, bool syncAsked) const;

private:
    double m_refreshRate;
    int m_frames = 0;
    double m_seconds = 0.0;
    bool m_unpaced = false;
};

} // namespace zor
