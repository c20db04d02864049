#include "game/simulation/behavior/instructions/GeneralInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/entity/ActorObject.h"

#include "Framework/store/AchievementStore.h"

namespace zor {

namespace {

// Suicides count toward their achievement only where the player could see them.
constexpr float SuicideWitnessDistance = 200.0f;

} // namespace

MachineInstruction spawn(ActorObject& actor, BehaviorData& data) {
    actor.pendingSpawn.assign(data.getText("SpawnEnemy", ""));
    post(actor, "spawnDone");
    return MachineInstruction::Finished;
}

MachineInstruction setGoodLoot(ActorObject& actor, BehaviorData&) {
    actor.goodLoot = true;
    post(actor, "setGoodLootDone");
    return MachineInstruction::Finished;
}

MachineInstruction setCheckEdgeTimer(ActorObject& actor, BehaviorData& data) {
    actor.edgeTimer = data.getFloat("Time", 0.1f);
    post(actor, "done");
    return MachineInstruction::Finished;
}

MachineInstruction suicide(ActorObject& actor, BehaviorData& data) {
    actor.hitPoints = 0.0f;
    // Without a player there is no witness, so only the counter is skipped.
    const ActorObject* player = playerOf(data);
    if (!player) return MachineInstruction::Running;
    const std::string counter = "cntr_suicide_" + actor.definition().name;
    if (hasAchievementCounter(counter) &&
        (player->getPosition() - actor.getPosition()).length() <= SuicideWitnessDistance)
        updateAchievementCounter(1, false, counter);
    return MachineInstruction::Running;
}

MachineInstruction zombiefy(ActorObject& actor, BehaviorData&) {
    actor.dying = true;
    return MachineInstruction::Running;
}

MachineInstruction setActivateBarrels(ActorObject& actor, BehaviorData& data) {
    actor.activatesBarrels = data.getInt("ActivateBarrels", 0) != 0;
    post(actor, "done");
    return MachineInstruction::Running;
}

} // namespace zor
