#pragma once
// What a game starts from besides its save: the debug requests of the settings. The host
// takes them on the main thread before the Game is built on the worker, which must not
// change settings.

#include "Framework/core/math/Vector.h"

#include <string>

namespace zor {

class GameSession;

struct PlayStart {
    // "Debug.SetLevel": the level play starts in instead of the respawn level; empty for none.
    std::string setLevel;
    // "Debug.ForceSpecificPatch": "<patch set>;<patch>", a level of that one patch.
    std::string forcedPatch;
    // "Debug.ForceStartPosition": used only when both coordinates are not 0.
    fpVector2 forcedStartPosition;
    // "Debug.GiveBaseItems": the first pickaxe, run, charge jump and two jump plates.
    bool giveBaseItems = false;
    // The debug command "restart": a new game, whatever the slot's save holds.
    bool newGame = false;
};

// Main thread, right before a Game is made: selects the session's current slot (loading
// its profile settings, or resetting them for a slot that did not exist yet, which then
// exists), then takes the one-shot settings of PlayStart, each reset to its default. A null
// session leaves the profile settings alone.
PlayStart takePlayStart(GameSession* session);

} // namespace zor
