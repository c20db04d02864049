#include "Framework/system/Program.h"

#include "Framework/core/commands/Commands.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/render/RenderThread.h"
#include "Framework/input/SdlInput.h"
#include "Framework/platform/Debugger.h"
#include "Framework/platform/Display.h"
#include "Framework/platform/MessageBox.h"
#include "Framework/platform/QuitSignals.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/AudioOutput.h"
#include "Framework/system/MainLoop.h"
#include "Framework/system/StartUp.h"
#include "Framework/system/SystemCore.h"
#include "Framework/system/Window.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace zor {

namespace {

// The exit status of a fatal error (a POSIX parent sees 255).
constexpr int FatalExitCode = -1;

// What the shutdown saves: a failure is told on standard error, as it may be the last
// thing the program says.
void saveUserSettings() {
    if (!SettingsHandler::exists()) return;
    std::string error;
    if (!SettingsHandler::instance().saveUserSettings(&error))
        std::fprintf(stderr, "Warning: the settings could not be saved: %s\n", escapeNonPrintable(error).c_str());
}

// The shutdown order after the settings are saved: work queues (the worker joined), the
// shutdown list, vertex buffers, the game state and the services (the music thread joined,
// the sound device closed). Safe at any point of start-up: what was never made is skipped.
void stopServices() {
    deleteWorkQueues();
    if (SystemEvents::exists()) SystemEvents::instance().shutdown.fire();
    VertexBufferPool::shutdown();
    shutdownSystem();
}

// After a fatal error the services still run (the music thread calls OpenAL, the worker
// may load); they stop as on a normal shutdown, without saving what may be inconsistent.
void stopServicesAfterFatalError() {
    try {
        stopServices();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Also failed while shutting down: %s\n", escapeNonPrintable(error.what()).c_str());
    } catch (...) {
        std::fprintf(stderr, "Also failed while shutting down.\n");
    }
}

// The display's connection broke inside an X call: nothing may touch X or OpenGL again,
// and that call must not return. The shutdown runs here without them.
[[noreturn]] void endAfterLostDisplay() {
    markRenderContextLost();
    std::fprintf(stderr, "The connection to the display %s was lost; the game saves its settings and ends.\n",
                 escapeNonPrintable(displayName()).c_str());
    try {
        saveUserSettings();
        stopServices();
    } catch (...) {
        std::fprintf(stderr, "The shutdown after the lost display failed.\n");
    }
    std::fflush(stdout);
    std::fflush(stderr);
    // Exit handlers would talk to the dead display (SDL_Quit) and wait for ever.
    _exit(LostDisplayExitCode);
}

} // namespace

MainError toMainError(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const MainError& mainError) {
        return mainError;
    } catch (const std::runtime_error& runtimeError) {
        return MainError(std::string("Unexpected runtime error: ") + runtimeError.what());
    } catch (const std::exception& exception) {
        return MainError(std::string("Unexpected exception: ") + exception.what());
    } catch (...) {
        if (isDebuggerAttached()) throw;
        return MainError("Unknown exception.");
    }
}

int runProgram(int argc, char** argv) {
    appState().startTime = std::chrono::steady_clock::now();
    // Before any thread exists: the choice forks.
    chooseAudioOutput();
    onDisplayLost(&endAfterLostDisplay);
    try {
        try {
            startUp();
            runCommandLine(argc, argv);
            setupInputBindings();
            runMainLoop();
            saveUserSettings();
            stopServices();
            return 0;
        } catch (...) {
            throw toMainError(std::current_exception());
        }
    } catch (const MainError& error) {
        stopServicesAfterFatalError();
        closeVideo();
        // Nothing is left to shut down while the box waits.
        exitOnQuitSignal(FatalExitCode);
        showErrorMessageBox(ProductName, escapeNonPrintable(error.message));
        return FatalExitCode;
    }
}

} // namespace zor
