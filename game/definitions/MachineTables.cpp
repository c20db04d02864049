#include "game/definitions/MachineTables.h"

#include "Framework/core/Errors.h"

namespace zor {

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
                throw CheckReleaseError("Could not build " + machines.elementName() + " definition '" +
                                        machine->name + "' in file '" + fileName + "', reason: its state '" +
                                        state.name + "' runs the machine '" + state.subMachine +
                                        "', which is not defined before it in the file");
            states.push_back(
                StateCreationData::subMachineState(state.name, *subMachine->second, transitions, state.resetOnEnter));
        }
        table[machine->name] = StateCreationData::machine(machine->name, machine->initialState, states);
    }
}

void buildAnimationMachines() { buildMachineTable(animationRegistry(), kAnimationsFile, animationMachineTable()); }

void buildBehaviorMachines() { buildMachineTable(behaviorRegistry(), kBehaviorsFile, behaviorMachineTable()); }

} // namespace zor
