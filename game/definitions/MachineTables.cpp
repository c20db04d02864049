#include "game/definitions/MachineTables.h"

#include "Framework/core/Errors.h"

#include <algorithm>

namespace zor {

namespace {

std::string buildError(const DefinitionRegistry<MachineDefinition>& machines, const std::string& fileName,
                       const MachineDefinition& machine, const std::string& reason) {
    return "Could not build " + machines.elementName() + " definition '" + machine.name + "' in file '" + fileName +
           "', reason: " + reason;
}

bool hasState(const MachineDefinition& machine, const std::string& name) {
    return std::any_of(machine.states.begin(), machine.states.end(),
                       [&](const MachineStateDefinition& state) { return state.name == name; });
}

// A running machine looks its initial state and every destination up among its own states;
// a name that is not there would leave it without a current state.
void checkStateNames(const DefinitionRegistry<MachineDefinition>& machines, const std::string& fileName,
                     const MachineDefinition& machine) {
    if (!hasState(machine, machine.initialState))
        throw CheckReleaseError(buildError(machines, fileName, machine,
                                           "its initial state '" + machine.initialState +
                                               "' names no state of the machine"));
    for (const MachineStateDefinition& state : machine.states)
        for (const MachineTransitionDefinition& transition : state.transitions)
            if (!transition.destination.empty() && !hasState(machine, transition.destination))
                throw CheckReleaseError(buildError(machines, fileName, machine,
                                                   "its state '" + state.name + "' has a transition on '" +
                                                       transition.input + "' to '" + transition.destination +
                                                       "', which names no state of the machine"));
}

} // namespace

MachineTable& animationMachineTable() {
    static MachineTable table;
    return table;
}

MachineTable& behaviorMachineTable() {
    static MachineTable table;
    return table;
}

void buildMachineTable(const DefinitionRegistry<MachineDefinition>& machines, const std::string& fileName,
                       MachineTable& table) {
    for (const std::shared_ptr<MachineDefinition>& machine : machines.definitions()) {
        checkStateNames(machines, fileName, *machine);
        StateCreationData::Children states;
        states.reserve(machine->states.size());
        for (const MachineStateDefinition& state : machine->states) {
            std::vector<StateCreationData::Transition> transitions;
            transitions.reserve(state.transitions.size());
            for (const MachineTransitionDefinition& transition : state.transitions)
                transitions.push_back({transition.input, transition});
            if (state.subMachine.empty()) {
                states.push_back(StateCreationData::leafState(state.name, std::move(transitions), state));
                continue;
            }
            const auto subMachine = table.find(state.subMachine);
            if (subMachine == table.end())
                throw CheckReleaseError(buildError(machines, fileName, *machine,
                                                   "its state '" + state.name + "' runs the machine '" +
                                                       state.subMachine +
                                                       "', which is not defined before it in the file"));
            states.push_back(
                StateCreationData::subMachineState(state.name, *subMachine->second, transitions, state.resetOnEnter));
        }
        table[machine->name] = StateCreationData::machine(machine->name, machine->initialState, states);
    }
}

void buildAnimationMachines() { buildMachineTable(animationRegistry(), kAnimationsFile, animationMachineTable()); }

void buildBehaviorMachines() { buildMachineTable(behaviorRegistry(), kBehaviorsFile, behaviorMachineTable()); }

} // namespace zor
