#pragma once
// Debug flags: toggles and one-shot triggers (the debug commands are one-shots
// too), each known by a category ("system", "perf", "game", "game debug", ...)
// and a name. The flag values are process-wide and owned here, so every
// declaration of the same flag reaches the same value, a flag outlives the
// objects that declare it, and a debug front end can find each one.
//
// Every flag is false at program start. The code that acts on a one-shot
// clears it in the same step (flag.exchange(false)).

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace zor {

struct DebugToggle {
    enum Kind : int32_t { Toggle = 0, OneShot = 1 };

    DebugToggle(std::string name, Kind kind, std::string category);

    Kind kind;
    std::string name;
    std::string category;
};

// Atomic because the worker thread reads some flags while the front end on
// the main thread sets them.
using DebugFlag = std::atomic<bool>;

// Declares the flag and returns it. Declaring a category and name again
// changes nothing: the first kind stays and the same flag is returned.
DebugFlag& declareDebugToggle(const DebugToggle& toggle);

// The flag of a declared category and name, or null.
DebugFlag* findDebugFlag(const std::string& category, const std::string& name);

// Every declaration, in declaration order.
std::vector<DebugToggle> declaredDebugToggles();

// The application core's flags.
struct CoreDebugFlags {
    DebugFlag& capture;           // capture mode of the main loop
    DebugFlag& disableVSync;      // swap interval 0 every frame
    DebugFlag& disableSleep;      // no frame-pacing sleep, none while unfocused
    DebugFlag& settings;          // one-shot: open the settings debug menu
    DebugFlag& slowMo;            // step and frame time x 0.25
    DebugFlag& speedUp;           // step and frame time x 4
    DebugFlag& still;             // step and frame time 0
    DebugFlag& step;              // one-shot: set still, run one unscaled step
    DebugFlag& crash;             // one-shot: access fault on the main thread
    DebugFlag& clearDebugDraw;    // one-shot: empty the debug-draw queues
    DebugFlag& showLog;           // keep the on-screen log sink attached
    DebugFlag& showFps;           // show the performance overlay
    DebugFlag& resetProgress;     // one-shot: reset settings to defaults and save
    DebugFlag& resetAchievements; // one-shot: reset the local achievements
};

// Declares the core flags in the order above on first use.
const CoreDebugFlags& coreDebugFlags();

} // namespace zor
