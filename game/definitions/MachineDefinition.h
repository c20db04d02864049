#pragma once
// Hierarchical state machines written as data: behaviour machines choose what an actor
// does (each state names an instruction), animation machines what it shows. Both kinds
// share this record; the build passes (MachineTables.h) compile them for the simulation.

#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "Framework/core/settings/SettingValue.h"
#include "game/definitions/DefinitionRegistry.h"
#include "game/definitions/NameMap.h"

namespace zor {

struct MachineTransitionDefinition {
    std::string input;       // the event or input that fires it
    std::string destination; // a state name
    bool stealInput = true;
};

// A parameter of a state's instruction. The value is the text as written; instructions
// convert it on each read.
struct MachineProperty {
    std::string name;
    OptionalSettingValue value;
};

using MachineProperties = NameMap<MachineProperty>;

struct MachineStateDefinition {
    std::string name;
    // The instruction of a behaviour state, the animation of an animation state.
    std::string stateText;
    // Another machine of the same file that this state runs; empty for a plain state.
    std::string subMachine;
    bool resetOnEnter = false;
    std::vector<MachineTransitionDefinition> transitions;
    MachineProperties properties;
};

struct MachineDefinition {
    std::string name;
    std::string initialState;
    // Those of the definition follow the template's.
    std::vector<MachineStateDefinition> states;

    void read(const pugi::xml_node& element);
};

using AnimationDefinition = MachineDefinition;
using BehaviorDefinition = MachineDefinition;

// The reader of both kinds. "Name" and "InitialState" are required, and so are "Input"
// and "Destination" of a transition and "Name" and "Value" of a property. A state's name
// defaults to its sub-machine's name and its text to its name; a later property of the
// same name replaces an earlier one.
void readMachineDefinition(const pugi::xml_node& element, MachineDefinition& machine);

extern template class DefinitionRegistry<MachineDefinition>;

constexpr char kAnimationsFile[] = "Definitions/animations.xml";
constexpr char kBehaviorsFile[] = "Definitions/behaviors.xml";

// Root "Animations", element "Animation", key "Name"; file kAnimationsFile.
DefinitionRegistry<AnimationDefinition>& animationRegistry();
// Root "Behaviors", element "Machine", key "Name"; file kBehaviorsFile.
DefinitionRegistry<BehaviorDefinition>& behaviorRegistry();

} // namespace zor
