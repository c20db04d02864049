#include "game/definitions/MachineDefinition.h"

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<MachineDefinition>;

void MachineDefinition::read(const pugi::xml_node& element) { readMachineDefinition(element, *this); }

void readMachineDefinition(const pugi::xml_node& element, MachineDefinition& machine) {
    machine.name = requireXmlChildText(element, "Name");
    machine.initialState = requireXmlChildText(element, "InitialState");
    for (const pugi::xml_node stateNode : element.children("State")) {
        MachineStateDefinition state;
        state.subMachine = xmlAttributeString(stateNode, "Machine", "");
        state.name = xmlAttributeString(stateNode, "Name", state.subMachine);
        state.stateText = xmlAttributeString(stateNode, "State", state.name);
        state.resetOnEnter = xmlAttributeBool(stateNode, "ResetOnEnter", false);
        for (const pugi::xml_node transitionNode : stateNode.children("Transition")) {
            MachineTransitionDefinition transition;
            transition.input = requireXmlAttributeText(transitionNode, "Input");
            transition.destination = requireXmlAttributeText(transitionNode, "Destination");
            transition.stealInput = xmlAttributeBool(transitionNode, "StealInput", true);
            state.transitions.push_back(std::move(transition));
        }
        for (const pugi::xml_node propertyNode : stateNode.children("Property")) {
            const std::string name = requireXmlAttributeText(propertyNode, "Name");
            state.properties[name] =
                MachineProperty{name, OptionalSettingValue(SettingValue(requireXmlAttributeText(propertyNode, "Value")))};
        }
        machine.states.push_back(std::move(state));
    }
}

DefinitionRegistry<AnimationDefinition>& animationRegistry() {
    static DefinitionRegistry<AnimationDefinition> registry("Animations", "Animation", "Name");
    return registry;
}

DefinitionRegistry<BehaviorDefinition>& behaviorRegistry() {
    static DefinitionRegistry<BehaviorDefinition> registry("Behaviors", "Machine", "Name");
    return registry;
}

} // namespace zor
