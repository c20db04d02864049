#include "Framework/system/StartUp.h"

#include "Framework/core/Errors.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/events/SystemEvents.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/localization/LocalizedFileName.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/graphics/textureset/TextureSet.h"
#include "Framework/platform/CrashHandler.h"
#include "Framework/platform/Debugger.h"
#include "Framework/platform/QuitSignals.h"
#include "Framework/store/StoreService.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/DebugCommand.h"
#include "Framework/system/SettingsSetUp.h"
#include "Framework/system/SystemCore.h"
#include "Framework/system/SystemHandlers.h"
#include "Framework/system/Window.h"

#include <filesystem>
#include <string>

namespace zor {

namespace {

// Assets are authored at three times the layout unit.
constexpr float AssetScale = 1.0f / 3.0f;

const char* const GameDataFolder = "BundlePC";

// The game data folder: in the working folder, else beside the program, so the game also
// starts from elsewhere (a desktop launcher, another shell folder).
std::string findGameDataFolder() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (fs::is_directory(GameDataFolder, ignored)) return GameDataFolder;
    const fs::path programFolder = fs::read_symlink("/proc/self/exe", ignored).parent_path();
    if (!programFolder.empty() && fs::is_directory(programFolder / GameDataFolder, ignored))
        return (programFolder / GameDataFolder).string();
    const std::string besideProgram = programFolder.empty() ? std::string("(unknown)") : programFolder.string();
    throw MainError(std::string("The game data folder ") + GameDataFolder +
                    " was found neither in the working folder " + fs::current_path(ignored).string() +
                    " nor beside the program in " + besideProgram + ".");
}

} // namespace

[[noreturn]] void raiseLoadError(const std::string& text) {
    throw MainError("Error while loading: " + text + "\n\nPlease verify game cache integrity.");
}

void requestQuit() { appState().quit = true; }

void startUp() {
    installQuitSignalHandlers();
    storeInit();
    // An attached debugger should stop at a fault itself.
    if (!isDebuggerAttached()) installCrashTranslator();
    setLoadErrorHandler(&raiseLoadError);
    setQuitHandler(&requestQuit);
    // The log and the system events live until the process ends.
    if (!LogHandler::exists()) new LogHandler();
    if (!SystemEvents::exists()) new SystemEvents();
    initFileSystem(findGameDataFolder());
    setCrashFileFolder(resolvePath("", FileLocation::User));
    setUpSettings();
    createWindow();
    checkOpenGLSupport();
    Screen::initViewports();
    textureScale = AssetScale;
    textureMapScale = AssetScale;
    setLocalizedFileSuffix("");
    applyScreenSettings(true);
    initSystem();
    VertexBufferPool::init(VertexBufferPool::MappedFramesBeforeReuse);
    coreDebugFlags();
    registerDebugCommand();
}

} // namespace zor
