#include "Framework/system/SettingsSetUp.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/system/ApplicationState.h"

namespace zor {

namespace {

const char* const LogSource = "Settings";
const char* const UserSettingsFile = "settings.xml";
const char* const CorruptSettingsFile = "settings.xml.corrupt";

// A file that cannot be read is kept aside rather than overwritten by the defaults at the
// next save, so the player's values can still be mended by hand.
void readUserSettings(SettingsHandler& settings) {
    std::string error;
    if (settings.readValues(UserSettingsFile, UserSettingsMask, &error) || error.empty()) return;
    settings.resetToDefaults(UserSettingsMask);
    const std::string path = resolvePath(UserSettingsFile, FileLocation::User);
    const std::string kept = renameUserFile(UserSettingsFile, CorruptSettingsFile)
                                 ? std::string("it is kept as ") + CorruptSettingsFile
                                 : "it could not be kept aside";
    LogHandler::log(LogHandler::Warning, LogSource,
                    "The settings file " + path + " cannot be read (" + error + "); " + kept +
                        " and the default settings are used");
}

} // namespace

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
    readUserSettings(settings);
    if (settings.getString("Version") != buildVersion()) {
        settings.setValue("Version", buildVersion());
        std::string error;
        if (!settings.writeValues(UserSettingsFile, UserSettingsMask, &error))
            LogHandler::log(LogHandler::Warning, LogSource, "Could not save the settings to " + error);
    }
    app.settingsSetUp = true;
}

} // namespace zor
