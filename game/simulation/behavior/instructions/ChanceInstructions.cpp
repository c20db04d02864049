#include "game/simulation/behavior/instructions/GeneralInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/World.h"

#include "Framework/core/math/Randomizer.h"

namespace zor {

MachineInstruction flipCoin(ActorObject& actor, BehaviorData& data) {
    post(actor, data.world->random().nextBool() ? "heads" : "tails");
    return MachineInstruction::Finished;
}

MachineInstruction randomChance(ActorObject& actor, BehaviorData& data) {
    const float chance = data.getFloat("Chance", 0.0f);
    post(actor, chance > data.world->random().nextFloat() ? "true" : "false");
    return MachineInstruction::Finished;
}

} // namespace zor
