#include "Framework/system/SettingsDebugMenuService.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/GameHooks.h"
#include "Framework/system/ISettingsDebugMenu.h"

#include <vector>

namespace zor {

namespace {

std::vector<EventConnection>& menuConnections() {
    static std::vector<EventConnection> connections;
    return connections;
}

void deleteMenu() {
    ApplicationState& app = appState();
    if (!app.settingsDebugMenu) return;
    app.settingsMenuPosition = app.settingsDebugMenu->pagePosition();
    app.settingsDebugMenu.reset();
}

} // namespace

void pollSettingsDebugMenu(const UpdateRecord& record, SystemComponents& components) {
    ApplicationState& app = appState();
    if (app.settingsMenuCloseRequest) {
        deleteMenu();
        app.settingsMenuCloseRequest = false;
    }
    if (coreDebugFlags().settings.exchange(false)) {
        if (app.settingsDebugMenu) {
            app.settingsDebugMenu->update(record);
            return;
        }
        const GameHooks& hooks = gameHooks();
        if (hooks.createSettingsDebugMenu) {
            app.settingsDebugMenu = hooks.createSettingsDebugMenu(components, app.settingsMenuPosition);
            menuConnections().push_back(app.settingsDebugMenu->closed.connect(
                &app, [](ApplicationState* state) { state->settingsMenuCloseRequest = true; }));
        }
    }
    if (app.settingsDebugMenu) app.settingsDebugMenu->update(record);
}

void closeSettingsDebugMenu() {
    deleteMenu();
    appState().settingsMenuCloseRequest = false;
}

} // namespace zor
