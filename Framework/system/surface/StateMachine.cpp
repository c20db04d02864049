#include "Framework/system/surface/StateMachine.h"

#include "Framework/graphics/texture/TextureCache.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/SystemHandlers.h"

#include <algorithm>
#include <utility>

namespace zor {

namespace {

// Anything but a known state number means the first state; negative numbers included,
// which would otherwise leave the game without a state.
std::int32_t validStateId(std::int32_t id) { return id >= StateLogos && id < NoState ? id : StateLogos; }

} // namespace

StateMachine& stateMachine() {
    static StateMachine machine;
    return machine;
}

void resetStateMachine() {
    StateMachine& machine = stateMachine();
    machine.currentSurface.reset();
    machine.currentStateId = NoState;
    machine.pendingStateId = StateLogos;
    machine.fadePhase = FadeOut;
    machine.fadeTimer = FadeTime;
    machine.fadeLevel = 1.0f;
}

StateFactoryMap& stateFactories() {
    static StateFactoryMap factories;
    return factories;
}

bool registerStateFactory(std::int32_t id, StateFactory factory) {
    return stateFactories().emplace(id, std::move(factory)).second;
}

int requestState(const StateRequest& request) {
    StateMachine& machine = stateMachine();
    const std::int32_t value = validStateId(request.value);
    switch (request.kind) {
    case RequestNextState:
        beginStateSwitch(validStateId(machine.currentStateId + 1));
        break;
    case RequestState:
        beginStateSwitch(value);
        break;
    case RequestStateAtOnce:
        machine.pendingStateId = value;
        machine.fadeTimer = FadeTime;
        machine.fadePhase = FadeOut;
        machine.fadeLevel = 1.0f;
        break;
    case RequestReload:
        beginStateSwitch(machine.currentStateId);
        break;
    case RequestQuit:
        callQuitHandler();
        break;
    default:
        break;
    }
    return 0;
}

void beginStateSwitch(std::int32_t id) {
    StateMachine& machine = stateMachine();
    if (machine.fadePhase == FadeOut) return;
    machine.fadePhase = FadeOut;
    machine.fadeTimer = 0.0f;
    machine.pendingStateId = id;
}

bool updateFade(float dt) {
    StateMachine& machine = stateMachine();
    machine.fadeTimer += dt;
    if (machine.fadeTimer >= FadeTime) {
        if (machine.fadePhase == FadeOut) {
            machine.fadeLevel = 1.0f;
            machine.currentSurface.reset();
            machine.fadeTimer = 0.0f;
            machine.currentStateId = machine.pendingStateId;
            machine.fadePhase = FadeIn;
            TextureCache::purge();
            machine.currentSurface = createState(&requestState, systemComponents().get());
            return true;
        }
        machine.fadePhase = FadeNone;
        machine.fadeTimer = 0.0f;
        machine.fadeLevel = 0.0f;
        return false;
    }
    float level = machine.fadeTimer / FadeRampTime;
    if (machine.fadePhase == FadeIn) level = 1.0f - level;
    machine.fadeLevel = std::clamp(level, 0.0f, 1.0f);
    return false;
}

std::unique_ptr<StateSurface> createState(StateRequestFunction request, SystemComponents* components) {
    const auto found = stateFactories().find(stateMachine().currentStateId);
    if (found == stateFactories().end()) return nullptr;
    return found->second(std::move(request), components);
}

} // namespace zor
