#include "game/definitions/StateCreationData.h"

namespace zor {

namespace {

StateCreationData::Children deepCopy(const StateCreationData::Children& children) {
    StateCreationData::Children copies;
    copies.reserve(children.size());
    for (const auto& child : children)
        copies.push_back(std::make_shared<StateCreationData>(*child));
    return copies;
}

} // namespace

StateCreationData::StateCreationData(std::string name_, std::vector<Transition> transitions_, Callback onEnter_,
                                     Callback onExit_, std::string initialState_, const Children& children_,
                                     const MachineStateDefinition* definition_)
    : name(std::move(name_)),
      transitions(std::move(transitions_)),
      onEnter(std::move(onEnter_)),
      onExit(std::move(onExit_)),
      initialState(std::move(initialState_)),
      children(deepCopy(children_)),
      definition(definition_) {}

StateCreationData::StateCreationData(std::string name_, const StateCreationData& base,
                                     const std::vector<Transition>& extraTransitions, bool resetOnEnter_)
    : name(std::move(name_)),
      onEnter(base.onEnter),
      onExit(base.onExit),
      initialState(base.initialState),
      children(deepCopy(base.children)),
      definition(base.definition),
      resetOnEnter(resetOnEnter_) {
    transitions.reserve(base.transitions.size() + extraTransitions.size());
    transitions.insert(transitions.end(), base.transitions.begin(), base.transitions.end());
    transitions.insert(transitions.end(), extraTransitions.begin(), extraTransitions.end());
}

StateCreationData::StateCreationData(const StateCreationData& other)
    : name(other.name),
      transitions(other.transitions),
      onEnter(other.onEnter),
      onExit(other.onExit),
      initialState(other.initialState),
      children(deepCopy(other.children)),
      definition(other.definition),
      resetOnEnter(other.resetOnEnter) {}

std::shared_ptr<StateCreationData> StateCreationData::leafState(std::string name, std::vector<Transition> transitions,
                                                                const MachineStateDefinition& definition) {
    return std::make_shared<StateCreationData>(std::move(name), std::move(transitions), Callback(), Callback(),
                                               std::string(), Children(), &definition);
}

std::shared_ptr<StateCreationData> StateCreationData::machine(std::string name, std::string initialState,
                                                              const Children& states) {
    return std::make_shared<StateCreationData>(std::move(name), std::vector<Transition>(), Callback(), Callback(),
                                               std::move(initialState), states, nullptr);
}

std::shared_ptr<StateCreationData> StateCreationData::subMachineState(std::string name,
                                                                      const StateCreationData& subMachine,
                                                                      const std::vector<Transition>& transitions,
                                                                      bool resetOnEnter) {
    return std::make_shared<StateCreationData>(std::move(name), subMachine, transitions, resetOnEnter);
}

const MachineProperties& emptyStateProperties() {
    static const MachineProperties empty;
    return empty;
}

} // namespace zor
