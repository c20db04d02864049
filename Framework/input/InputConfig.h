#pragma once
// The controls and controller mapping files: the player's copies in the user folder,
// created from the defaults in the game data folder when missing or empty.

#include "Framework/input/ConfigFile.h"

#include <memory>
#include <set>
#include <string>

namespace zor {

class InputState;

namespace InputConfigFiles {
constexpr const char* DefaultControls = "Config/default_controls.cfg";
constexpr const char* UserControls = "controls.cfg";
constexpr const char* DefaultGamepads = "Config/default_gamepads.cfg";
constexpr const char* UserGamepads = "gamepads.cfg";
} // namespace InputConfigFiles

// Binds every entry of a controls file. Entries with more than one "=" and bindings that
// name no key or threshold button are skipped with a log line; lines without "=" (blank
// lines, comments, headings) are skipped quietly. Returns the names that got a binding.
std::set<std::string> applyControls(const ConfigFile& controls, InputState& input);

// Reads the player's "controls.cfg", makes it the input state's controls configuration
// and binds it; false when the file is missing or empty (nothing is bound then). Every
// button of the default controls that the player's file leaves without a binding gets
// its default ones, with one warning naming the file and the buttons.
bool loadUserControls(InputState& input);
// Copies the default controls to the player's "controls.cfg" and loads that; when the copy
// cannot be written, binds the default itself. A missing default throws CheckReleaseError.
void installDefaultControls(InputState& input);

// Reads the player's "gamepads.cfg", or, when it is missing or empty, the default, which
// is copied to the player's file. A missing default throws CheckReleaseError.
void loadGamepadMappings();
// The mappings read by loadGamepadMappings; null before.
std::shared_ptr<const ConfigFile> gamepadMappings();

// The first line of `mappings` that starts with the GUID text (letter case counts);
// empty when none does.
std::string findGamepadMapping(const ConfigFile& mappings, const std::string& guid);
// The same over the loaded gamepads file; empty when none was loaded.
std::string findGamepadMapping(const std::string& guid);

} // namespace zor
