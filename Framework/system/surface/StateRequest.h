#pragma once
// How game states ask for a change of state.

#include <cstdint>
#include <functional>

namespace zor {

enum StateRequestKind : std::int32_t {
    RequestNextState = 0,      // the state after the current one (after the last: the first)
    RequestState = 1,          // state `value`, with a fade
    RequestStateAtOnce = 2,    // state `value`, black at once, no fade-out
    RequestReload = 3,         // the current state again
    RequestQuit = 4,           // end the program
};

// The game's states by number. NoState is only the id before the first state exists.
enum GameStateId : std::int32_t {
    StateLogos = 0,
    StateMenus = 1,
    StateIntro = 2,
    StateIngame = 3,
    StateLevels = 4,
    StateErrorMenu = 5,
    NoState = 6,
};

struct StateRequest {
    std::int32_t kind = RequestNextState;
    std::int32_t value = 0;
};

// The callable game states request changes through; it always returns 0.
using StateRequestFunction = std::function<int(const StateRequest& request)>;

} // namespace zor
