#include "Framework/system/SettingsSetUp.h"

#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/system/ApplicationState.h"

namespace zor {

std::string buildVersion() { return "1.05"; }

void setUpSettings() {
    ApplicationState& app = appState();
    if (app.settingsSetUp) return;
    if (!SettingsHandler::exists()) new SettingsHandler();
    SettingsHandler& settings = SettingsHandler::instance();
    settings.declare("Version", "The version number of this build.", buildVersion(), SettingPermanent,
                     SettingInternal);
    settings.declare("MusicVolume", "Normalized music volume. Range[0,1]. Example: \"0.3\".", 0.3f, SettingPermanent,
                     SettingPublic);
    settings.declare("SoundVolume", "Normalized sound volume. Range[0,1]. Example: \"0.8\".", 0.8f, SettingPermanent,
                     SettingPublic);
    settings.loadDefinitions("Definitions/settings.xml");
    settings.readValues("settings.xml", UserSettingsMask);
    if (settings.getString("Version") != buildVersion()) {
        settings.setValue("Version", buildVersion());
        settings.writeValues("settings.xml", UserSettingsMask);
    }
    app.settingsSetUp = true;
}

} // namespace zor
