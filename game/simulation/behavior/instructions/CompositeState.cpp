#include "game/simulation/behavior/instructions/GeneralInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/EnemySimulator.h"

#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

#include "Framework/core/log/LogHandler.h"

#include <algorithm>

namespace zor {

namespace {

constexpr int MaxParts = 10;

// A composite inside a composite would run itself with the same parameters without end,
// so it counts as a name that is not in the table.
InstructionHandler partHandler(const ActorObject& actor, const BehaviorData& data, std::string_view name) {
    const InstructionHandler handler = data.enemySimulator->findInstruction(name);
    if (handler != compositeState) return handler;
    const std::string& state = actor.behaviorMachine->name();
    if (data.enemySimulator->firstWarning("nested CompositeState", state))
        LogHandler::log(LogHandler::Warning, "Behavior",
                        "The state '" + state + "' of the behaviour '" + actor.definition().behavior +
                            "' runs CompositeState inside CompositeState; the inner one is skipped");
    return nullptr;
}

} // namespace

MachineInstruction compositeState(ActorObject& actor, BehaviorData& data) {
    if (!data.enemySimulator) return MachineInstruction::Running;
    MachineInstruction result = MachineInstruction::Finished;
    char parameter[] = "State0";
    for (int part = 0; part < MaxParts; ++part) {
        parameter[5] = char('0' + part);
        const std::string_view name = data.getText(parameter, "");
        if (name.empty()) {
            if (part == 0) return MachineInstruction::Running;
            break;
        }
        // A name without handler is no error here; it only keeps the state waiting.
        const InstructionHandler handler = partHandler(actor, data, name);
        result = std::min(result, handler ? handler(actor, data) : MachineInstruction::Running);
    }
    return result;
}

} // namespace zor
