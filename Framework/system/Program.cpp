#include "Framework/system/Program.h"

#include "Framework/core/commands/Commands.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/input/SdlInput.h"
#include "Framework/platform/Debugger.h"
#include "Framework/platform/MessageBox.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/AudioOutput.h"
#include "Framework/system/MainLoop.h"
#include "Framework/system/StartUp.h"
#include "Framework/system/SystemCore.h"
#include "Framework/system/Window.h"

#include <chrono>
#include <stdexcept>
#include <string>

namespace zor {

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
    try {
        try {
            startUp();
            runCommandLine(argc, argv);
            setupInputBindings();
            runMainLoop();
            SettingsHandler::instance().saveUserSettings();
            deleteWorkQueues();
            SystemEvents::instance().shutdown.fire();
            VertexBufferPool::shutdown();
            shutdownSystem();
            return 0;
        } catch (...) {
            throw toMainError(std::current_exception());
        }
    } catch (const MainError& error) {
        destroyWindow();
        showErrorMessageBox(ProductName, error.message);
        return -1;
    }
}

} // namespace zor
