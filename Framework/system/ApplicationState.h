#pragma once
// The engine's global record: flags and owning pointers that start-up, the main loop, the
// update step and shutdown share. Main thread only, except backgroundLoading (below).
// The debug flags live in the debug flag registry (coreDebugFlags) and a worker's failure
// in the worker-failure record (WorkerFailure.h).

#include "Framework/core/math/Vector.h"
#include "Framework/core/threads/WorkQueue.h"
#include "Framework/system/ISettingsDebugMenu.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

struct SDL_Window;

namespace zor {

class Randomizer;

struct ApplicationState {
    // The page of the settings debug menu, kept while the menu is closed.
    std::int32_t settingsMenuPosition = 0;
    std::unique_ptr<ISettingsDebugMenu> settingsDebugMenu;
    // Set when the user closed the menu; the next step deletes it.
    bool settingsMenuCloseRequest = false;
    // The global generator, made by system initialisation and kept until the process ends.
    Randomizer* randomizer = nullptr;
    // Set while the game loads in the background; jobs on the worker thread may clear it.
    // It only changes how a single-processor machine yields to the worker.
    std::atomic<bool> backgroundLoading{false};
    bool settingsSetUp = false;
    // The current game state is no longer updated or drawn.
    bool stateFailed = false;
    std::unique_ptr<PumpedWorkQueue> pumpedQueue;
    std::unique_ptr<ThreadedWorkQueue> threadedQueue;
    float totalTime = 0.0f;  // the sum of the scaled steps
    std::int32_t onScreenLogId = 0;  // 0 while there is no on-screen log sink
    // The error line that last sent the game to the error state, which shows it: the
    // on-screen log's lines go with its sink.
    std::string lastErrorLine;
    std::thread::id mainThreadId;
    int processorCount = 0;

    // The window.
    bool fullscreen = false;
    bool unfocused = false;
    bool overlayActive = false;
    bool quit = false;
    float cursorTimer = 0.0f;  // seconds the cursor stays shown in full screen
    SDL_Window* window = nullptr;
    void* glContext = nullptr;
    std::int32_t vsync = 0;  // the applied swap interval
    iVector2 windowSize;     // the last applied window size

    // When the program began, for the start-up time it reports.
    std::chrono::steady_clock::time_point startTime = std::chrono::steady_clock::now();
};

ApplicationState& appState();

} // namespace zor
