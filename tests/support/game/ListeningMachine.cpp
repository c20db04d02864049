#include "tests/support/game/ListeningMachine.h"

#include "game/definitions/MachineTables.h"
#include "game/world/entity/ActorObject.h"

#include <deque>
#include <map>

namespace zor::test {

std::shared_ptr<BehaviorMachine> listeningMachine(const std::vector<std::string>& inputs) {
    // The records point into their registries, which live as long as the program.
    static std::deque<DefinitionRegistry<MachineDefinition>> registries;
    static std::map<std::vector<std::string>, std::shared_ptr<StateCreationData>> compiled;
    auto found = compiled.find(inputs);
    if (found == compiled.end()) {
        std::string transitions;
        for (const std::string& input : inputs) transitions += "<Transition Input=\"" + input + "\" Destination=\"\"/>";
        DefinitionRegistry<MachineDefinition>& registry = registries.emplace_back("Animations", "Animation", "Name");
        registry.loadText("listening machine", "<Animations><Animation><Name>listener</Name>"
                                                "<InitialState>idle</InitialState><State Name=\"idle\">" +
                                                    transitions + "</State></Animation></Animations>");
        MachineTable table;
        buildMachineTable(registry, "listening machine", table);
        found = compiled.emplace(inputs, table.at("listener")).first;
    }
    return makeBehaviorMachine(found->second);
}

bool heard(const ActorObject& actor, const std::string& input) {
    return actor.behaviorMachine && actor.behaviorMachine->takeInput(input, false);
}

} // namespace zor::test
