#pragma once
// The game's own requests for a change of game state, made through the state request
// handler the engine hands it at the end of system initialisation.

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/system/surface/StateRequest.h"

namespace zor {

// Keeps the handler and watches the setting "Debug.ForceSpecificPatch": once the game data
// is loaded, setting it to a patch name reloads the patch library and restarts the in-game
// state at once, so a level designer sees the patch without leaving the game. A value given
// earlier (on the command line) is left for the play start.
void watchForcedPatchSetting(StateRequestFunction request);

// The one-shot debug commands of category "state" ("menu", "restart", "levels") and
// "menu"/"restart", the older name of "state"/"menu"; declared on first use.
struct StateCommands {
    DebugFlag& menu;
    DebugFlag& restart;
    DebugFlag& levels;
    DebugFlag& menuAlias;
};
StateCommands stateCommands();

// Once per update step, the first command given, one request per step: "restart" starts a
// new game in the town with the base items (the in-game state reloaded, the slot's save
// not read), "levels" goes to the level list, "menu" (or its older name) back to the menus.
void serveStateRequests();

// Whether a "restart" asked for a new game since the last call; main thread.
bool takeNewGameRequest();

} // namespace zor
