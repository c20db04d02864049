#pragma once
// The settings of the program: declared in code, then in "Definitions/settings.xml" of the
// game data, then the user's values from "settings.xml" of the user folder.

#include "Framework/core/settings/SettingsHandler.h"

#include <cstdint>
#include <string>

namespace zor {

// The settings the user's "settings.xml" holds.
inline constexpr std::uint32_t UserSettingsMask = SettingPersistent | SettingPermanent;

// The version of this build, stored in the setting "Version".
std::string buildVersion();

// Creates the SettingsHandler and fills it; runs once (later calls return at once). A
// stored "Version" other than this build's is replaced and "settings.xml" rewritten.
// A broken declaration file throws CheckReleaseError; a user "settings.xml" that cannot be
// read is renamed "settings.xml.corrupt" with a warning, and the defaults stay.
void setUpSettings();

} // namespace zor
