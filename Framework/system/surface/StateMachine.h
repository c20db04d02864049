#pragma once
// The game's top level: exactly one game state is current. A change fades the screen to
// black over FadeTime seconds, deletes the old state, drops unused textures, creates the
// new state through the factory registered for its number and fades back in.
// Main thread only.

#include "Framework/system/surface/StateRequest.h"
#include "Framework/system/surface/StateSurface.h"

#include <functional>
#include <map>
#include <memory>

namespace zor {

class SystemComponents;

enum FadePhase : std::int32_t { FadeNone = 0, FadeIn = 1, FadeOut = 2 };

// Length of each half of a state change.
constexpr float FadeTime = 0.25f;
// The level ramps over this much of each half, so it is fully black (or fully clear)
// a little before the half ends.
constexpr float FadeRampTime = 0.2375f;

struct StateMachine {
    std::unique_ptr<StateSurface> currentSurface;
    std::int32_t currentStateId = NoState;
    std::int32_t pendingStateId = 0;  // made at the end of the fade-out
    std::int32_t fadePhase = FadeNone;
    float fadeTimer = 0.0f;
    float fadeLevel = 0.0f;  // 0 clear, 1 black
};

StateMachine& stateMachine();

// The state of system initialisation: no state yet, fading out towards state 0 with the
// timer already at its end, so the first fade step creates state 0 and fades it in.
void resetStateMachine();

using StateFactory =
    std::function<std::unique_ptr<StateSurface>(StateRequestFunction request, SystemComponents* components)>;
using StateFactoryMap = std::map<std::int32_t, StateFactory>;

StateFactoryMap& stateFactories();
// Registers the factory unless the number already has one; returns whether it did.
bool registerStateFactory(std::int32_t id, StateFactory factory);

// The state request handler; always returns 0. Ids outside 0..5 become 0.
int requestState(const StateRequest& request);
// Starts a fade-out towards `id`, unless a fade-out already runs.
void beginStateSwitch(std::int32_t id);
// Advances a running fade by dt; true in the step in which a new state was created.
bool updateFade(float dt);
// The factory's new state for the current state id, or null without a factory.
std::unique_ptr<StateSurface> createState(StateRequestFunction request, SystemComponents* components);

} // namespace zor
