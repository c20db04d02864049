#pragma once
// The main loop's timing rules as plain arithmetic: how long a frame counts, whether a
// pass draws a frame, how many fixed update steps a frame runs and how long the loop may
// sleep.

namespace zor {

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

// Whole milliseconds to sleep while waiting for the next frame: the rest of the minimum
// frame time, less one timer resolution so the sleep never overshoots; 0 when that is
// 1 ms or less.
unsigned frameSleepMilliseconds(float frameTime, float minFrameTime, double timerResolution);

// How the loop may sleep after a pass.
struct SleepRules {
    double timerResolution = 0.001;  // seconds
    bool busyWait = false;           // "System.BusyWait": spin instead of the frame sleep
    bool disableSleep = false;       // debug flag "perf"/"disableSleep": no sleep at all
    bool unfocused = false;          // the window has lost the focus
};

// Seconds to sleep after a pass: a waiting pass sleeps out the rest of the frame
// (frameSleepMilliseconds) unless busy waiting; any pass sleeps 20 ms more while the
// window has no focus. Nothing with disableSleep.
double passSleepSeconds(const FramePass& pass, const FramePacing& pacing, const SleepRules& rules);

} // namespace zor
