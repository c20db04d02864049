#pragma once
// The game's own requests for a change of game state, made through the state request
// handler the engine hands it at the end of system initialisation.

#include "Framework/system/surface/StateRequest.h"

namespace zor {

// Keeps the handler and watches the setting "Debug.ForceSpecificPatch": setting it to a
// patch name reloads the patch library and restarts the in-game state at once, so a level
// designer sees the patch without leaving the game.
void watchForcedPatchSetting(StateRequestFunction request);

// Once per update step: the menu debug commands "state"/"levels" (to the level list) and
// "menu"/"restart" (back to the menus) become state requests.
void serveStateRequests();

} // namespace zor
