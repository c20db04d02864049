#include "game/simulation/StateRequests.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/events/EventList.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "game/definitions/PatchLibrary.h"

#include <string>
#include <utility>

namespace zor {

namespace {

struct GameRequests {
    StateRequestFunction request;
    EventConnection forcedPatchConnection;
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
            loadPatchSets();
            watched->request({RequestStateAtOnce, StateIngame});
        });
}

void serveStateRequests() {
    static DebugFlag& levels = declareDebugToggle(DebugToggle("levels", DebugToggle::OneShot, "state"));
    static DebugFlag& restart = declareDebugToggle(DebugToggle("restart", DebugToggle::OneShot, "menu"));
    if (levels.exchange(false)) request({RequestState, StateLevels});
    if (restart.exchange(false)) request({RequestState, StateMenus});
}

} // namespace zor
