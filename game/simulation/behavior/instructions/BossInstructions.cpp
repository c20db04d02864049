// The boss's set-up, its choice of attack and the release of enemies through its hatch.

#include "game/simulation/behavior/instructions/BossInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/BossFight.h"
#include "game/simulation/behavior/EnemySimulator.h"
#include "game/simulation/behavior/instructions/BossSupport.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/definitions/MachineTables.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Randomizer.h"

#include <cstdint>

namespace zor {

namespace {

// The boss's aim at set-up: down and to the left, toward the arena floor (3 pi / 4).
constexpr float StartAimAngle = 2.3561945f;
// The hatch stays shut while this many objects more than at the start of the fight live.
constexpr std::int32_t MaxReleasedObjects = 6;
// In the last phase a draw at or above this releases again.
constexpr float SecondReleaseDraw = 0.3f;
constexpr float HeartbeatShortening = 0.5f;  // seconds below HeartBeatTime

// The part gets a machine of its own from the animation table; a missing machine leaves
// the part as it was, reported once.
void installPartMachine(ActorObject& boss, const BehaviorData& data, const std::string& part,
                        const std::string& machineName) {
    const MachineTable& table = animationMachineTable();
    const auto found = table.find(machineName);
    if (found == table.end() || !found->second) {
        if (!data.enemySimulator || data.enemySimulator->firstWarning("boss animation", machineName))
            LogHandler::log(LogHandler::Warning, "Behavior",
                            "The boss '" + boss.definition().name + "' needs the animation machine '" + machineName +
                                "' for its part '" + part + "', which does not exist");
        return;
    }
    AnimationPart& entry = boss.animationParts[part];
    entry.machine = makeBehaviorMachine(found->second);
}

std::int32_t extraObjects(const BehaviorData& data) {
    return std::int32_t(data.world->gameObjects().size()) - data.bossFight->baseObjectCount;
}

} // namespace

// Takes two steps when the constant sound already plays, so that it starts again.
MachineInstruction bossSetup(ActorObject& boss, BehaviorData& data) {
    const std::string& sound = boss.definition().constantSound;
    // Without a sound of its own there is nothing to restart, and waiting would never end.
    if (!sound.empty() && boss.constantSound == sound) {
        boss.constantSound.clear();
        return MachineInstruction::Running;
    }
    boss.ownedEntityIds.clear();
    data.world->bossId = boss.id();
    boss.aimAngle = StartAimAngle;
    boss.constantSound = sound;
    post(boss, "done");
    return MachineInstruction::Finished;
}

MachineInstruction bossStart(ActorObject& boss, BehaviorData& data) {
    installPartMachine(boss, data, BossPart::Eye, "BossEye");
    installPartMachine(boss, data, BossPart::Eyelids, "BossEye");
    installPartMachine(boss, data, BossPart::Hatch, "BossHatch");
    World& world = *data.world;
    world.bossPhase = 0;
    boss.facing = fpVector2();
    world.cameraFocusTargetId = boss.id();
    boss.hitPoints = boss.definition().hitPoints;
    BossFight& fight = *data.bossFight;
    fight = BossFight();
    fight.baseObjectCount = std::int32_t(world.gameObjects().size());
    boss.constantSound = boss.definition().constantSound;
    post(boss, "done");
    return MachineInstruction::Finished;
}

// Later phases beat faster: the wait before the next heartbeat shrinks by the phase number.
MachineInstruction bossIdle(ActorObject& boss, BehaviorData& data) {
    const std::int32_t phase = data.world->bossPhase;
    if (data.firstStep && phase > 0 &&
        boss.heartbeatCountdown > boss.definition().heartbeatTime - HeartbeatShortening)
        boss.heartbeatCountdown -= float(phase);
    return MachineInstruction::Running;
}

MachineInstruction bossAttack(ActorObject& boss, BehaviorData& data) {
    const float r = data.world->random().nextFloat();
    const char* attack = "spawnEnemy";
    switch (data.world->bossPhase) {
    case 1:
        if (r >= 0.5f) attack = "targetLaser";
        break;
    case 2:
        if (r >= 0.7f)
            attack = "spinLaser";
        else if (r >= 0.35f)
            attack = "targetLaser";
        break;
    default:
        break;
    }
    post(boss, attack);
    return MachineInstruction::Finished;
}

// The release itself is the boss's weapon attack: weapon 1 early on, weapon 2 in the last
// phase, which may release again.
MachineInstruction spawnEnemy(ActorObject& boss, BehaviorData& data) {
    const std::int32_t phase = data.world->bossPhase;
    if (data.firstStep) {
        if (extraObjects(data) >= MaxReleasedObjects) {
            post(boss, "done");
            return MachineInstruction::Finished;
        }
        if (phase == 0 || phase == 1)
            chooseWeapon(boss, 1);
        else if (phase == 2)
            chooseWeapon(boss, 2);
        boss.attackPressed = true;
        boss.sendAnimationInput("open", BossPart::Hatch);
        boss.pendingSounds.emplace_back("boss_open_hatch");
    }
    if (attackUnderWay(boss)) return MachineInstruction::Running;
    if (extraObjects(data) < MaxReleasedObjects && phase == 2 &&
        data.world->random().nextFloat() >= SecondReleaseDraw) {
        boss.attackPressed = true;
        return MachineInstruction::Running;
    }
    boss.sendAnimationInput("close", BossPart::Hatch);
    post(boss, "done");
    return MachineInstruction::Finished;
}

} // namespace zor
