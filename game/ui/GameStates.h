#pragma once
// The game's side of system initialisation: its game states by number, the view sizes,
// the session and the other hooks the engine calls.

#include <memory>

namespace zor {

class GameSession;

// Registers a factory for every game state number that has none yet, the script node
// types, the shape pair tests and the patch library's section reader. Calling it again
// changes nothing.
void registerGameFactories();

// The main viewport lays out 640 x 360 units (a second one 320 x 240), scale mode 0.
void setDefaultViewSizes();

// Makes the program's session, all fields zero.
std::shared_ptr<GameSession> createGameSession();

// Hands the engine the game's initialisation hooks; main calls it before start-up.
void installGameHooks();

} // namespace zor
