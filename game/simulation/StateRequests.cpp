#include "game/simulation/StateRequests.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/events/EventList.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/definitions/PatchLibrary.h"
#include "game/world/level/Level.h"

#include <string>
#include <utility>

namespace zor {

namespace {

struct GameRequests {
    StateRequestFunction request;
    EventConnection forcedPatchConnection;
    bool newGame = false;
};

GameRequests& requests() {
    static GameRequests state;
    return state;
}

void request(const StateRequest& stateRequest) {
    if (requests().request) requests().request(stateRequest);
}

} // namespace

void watchForcedPatchSetting(StateRequestFunction handler) {
    GameRequests& state = requests();
    state.request = std::move(handler);
    state.forcedPatchConnection = SettingsHandler::instance().settingsChanged().connect(
        &state, [](GameRequests* watched, const std::string& key, const OptionalSettingValue&,
                   const SettingsHandler::Setting&) {
            if (key != "Debug.ForceSpecificPatch" || !watched->request) return;
            if (SettingsHandler::instance().getString(key).empty()) return;
            // Given before the game data is loaded (the command line), the value waits for
            // the play start, which takes it; the library is not read twice at once.
            if (!allDefinitionsLoaded()) return;
            loadPatchSets();
            watched->request({RequestStateAtOnce, StateIngame});
        });
}

bool takeNewGameRequest() {
    return std::exchange(requests().newGame, false);
}

StateCommands stateCommands() {
    return {declareDebugToggle(DebugToggle("menu", DebugToggle::OneShot, "state")),
            declareDebugToggle(DebugToggle("restart", DebugToggle::OneShot, "state")),
            declareDebugToggle(DebugToggle("levels", DebugToggle::OneShot, "state")),
            declareDebugToggle(DebugToggle("restart", DebugToggle::OneShot, "menu"))};
}

void serveStateRequests() {
    static const StateCommands commands = stateCommands();
    if (commands.restart.exchange(false)) {
        SettingsHandler& settings = SettingsHandler::instance();
        settings.setValue("Debug.SetLevel", std::string(Level::TownName));
        settings.setValue("Debug.GiveBaseItems", 1);
        requests().newGame = true;
        request({RequestReload, 0});
        return;
    }
    if (commands.levels.exchange(false)) {
        request({RequestState, StateLevels});
        return;
    }
    // Both names of the way back to the menus make one request.
    const bool menu = commands.menu.exchange(false);
    if (commands.menuAlias.exchange(false) || menu) request({RequestState, StateMenus});
}

} // namespace zor
