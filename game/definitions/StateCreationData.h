#pragma once
// The compiled form of a machine definition: one record per machine, sub-machine and
// state, from which the simulation builds a running machine (a machine for every record
// with children, a plain state for every leaf). No record is shared between two trees:
// a sub-machine used in several places is deep-copied into each.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/definitions/MachineDefinition.h"

namespace zor {

// The running state of the simulation; the records only carry callables that take it.
class BehaviorMachineState;

struct StateCreationData {
    struct Transition {
        std::string input; // the key the running machine looks the transition up by
        MachineTransitionDefinition definition;
    };

    // Called with (this state, the other state): on enter the state left, null when a
    // machine enters its first state; on exit the state entered, never null. Empty
    // callables are skipped.
    using Callback = std::function<void(BehaviorMachineState& self, BehaviorMachineState* other)>;
    using Children = std::vector<std::shared_ptr<StateCreationData>>;

    std::string name;
    std::vector<Transition> transitions;
    Callback onEnter;
    Callback onExit;
    std::string initialState;
    Children children;
    // The state's definition (owned by its registry), null for machines and sub-machines.
    const MachineStateDefinition* definition = nullptr;
    bool resetOnEnter = false;

    // Deep-copies `children`; resetOnEnter false.
    StateCreationData(std::string name, std::vector<Transition> transitions, Callback onEnter, Callback onExit,
                      std::string initialState, const Children& children, const MachineStateDefinition* definition);
    // A sub-machine placed as a state: the base's callables, initial state, definition and
    // a deep copy of its children, the base's transitions followed by `extraTransitions`.
    StateCreationData(std::string name, const StateCreationData& base, const std::vector<Transition>& extraTransitions,
                      bool resetOnEnter);
    // Member-wise, with the children deep-copied.
    StateCreationData(const StateCreationData& other);
    StateCreationData& operator=(const StateCreationData&) = delete;

    static std::shared_ptr<StateCreationData> leafState(std::string name, std::vector<Transition> transitions,
                                                        const MachineStateDefinition& definition);
    static std::shared_ptr<StateCreationData> machine(std::string name, std::string initialState,
                                                      const Children& states);
    static std::shared_ptr<StateCreationData> subMachineState(std::string name, const StateCreationData& subMachine,
                                                              const std::vector<Transition>& transitions,
                                                              bool resetOnEnter);
};

// The properties read for a state whose definition is null: always empty.
const MachineProperties& emptyStateProperties();

} // namespace zor
