#include "game/simulation/PlayStart.h"

#include "game/simulation/GameSession.h"
#include "game/simulation/StateRequests.h"

#include "Framework/core/settings/SettingsHandler.h"

namespace zor {

namespace {

// Reads the setting and puts its default back.
template <class T, class Read>
T take(SettingsHandler& settings, const std::string& key, Read read) {
    const T value = (settings.*read)(key);
    settings.setValue(key, settings.setting(key).DefaultValue.value);
    return value;
}

} // namespace

PlayStart takePlayStart(GameSession* session) {
    SettingsHandler& settings = SettingsHandler::instance();
    if (session) session->selectProfile(session->currentProfile, true);
    PlayStart start;
    start.forcedPatch = settings.takeString("Debug.ForceSpecificPatch");
    start.setLevel = settings.takeString("Debug.SetLevel");
    start.forcedStartPosition = take<fpVector2>(settings, "Debug.ForceStartPosition", &SettingsHandler::getVector2);
    start.giveBaseItems = take<bool>(settings, "Debug.GiveBaseItems", &SettingsHandler::getBool);
    start.newGame = takeNewGameRequest();
    return start;
}

} // namespace zor
