// The force field, the vulnerable period and the phases of the fight: the boss is shielded
// while one of its generators stands; with all of them down it can be hurt, and each 12
// hit points it loses end a phase, call generators back and raise the field again.

#include "game/simulation/behavior/instructions/BossInstructions.h"

#include "game/simulation/Simulator.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/BossFight.h"
#include "game/simulation/behavior/instructions/BossSupport.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"
#include "game/simulation/ports/UserInterface.h"

#include "game/definitions/NameEnumerations.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

#include "Framework/core/math/Randomizer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zor {

namespace {

constexpr float HitPointsPerPhase = 12.0f;
constexpr std::int32_t LastPhase = 3;
constexpr float VulnerableSeconds = 30.0f;
constexpr float FieldDownMusic = 0.3f;
constexpr float EndingMusicFade = 10.0f;       // seconds
constexpr float FirstEndingStep = 4.0f;        // seconds until the screen turns white
constexpr float ExplosionSpread = 50.0f;       // pixels each way
constexpr std::uint8_t BackdropStep[] = {0, 105, 105};  // red, green, blue lost per phase

PackedColor darkerBackdrop(PackedColor colour) {
    return PackedColor::fromChannels(std::uint8_t(colour.red() - BackdropStep[0]),
                                     std::uint8_t(colour.green() - BackdropStep[1]),
                                     std::uint8_t(colour.blue() - BackdropStep[2]), 255);
}

bool isStandingGenerator(const World& world, std::int32_t id) {
    const GameObject* generator = world.findGameObject(id);
    return generator && generator->visible;
}

// The field falls: the released enemies and every shot in flight go with it.
void dropForceField(ActorObject& boss, const BehaviorData& data) {
    World& world = *data.world;
    for (const auto& [id, object] : world.gameObjects())
        if (object->kind() == GameObjectKind::Actor &&
            (static_cast<ActorObject*>(object)->definition().collisionGroup & CollisionGroup::Enemies) != 0)
            static_cast<ActorObject*>(object)->hitPoints = 0.0f;
    // Removal waits for the end of the step, so the table stays as it is while it is walked.
    for (const auto& [id, projectile] : world.projectiles())
        if (projectile->alive()) world.removeEntity(projectile);
    queuePlayerSound(data, "boss_become_vulnerable");
    queuePlayerSound(data, "boss_open_hatch");
    for (const std::string* part : {&BossPart::Body, &BossPart::Eye, &BossPart::Eyelids})
        boss.sendAnimationInput("disabled", *part);
    boss.sendAnimationInput("open", BossPart::Hatch);
    boss.hidden = true;
    boss.invulnerable = false;
    setMusicAttenuation(data, FieldDownMusic);
    world.ambientColor = BossDarkGrey;
    boss.constantSound.clear();
}

void defeat(ActorObject& boss, const BehaviorData& data) {
    World& world = *data.world;
    world.shakeCamera(10.0f, 10.0f, 0);
    world.cameraFocusTargetId = 0;
    if (ActorObject* player = playerOf(data)) player->busyFlags |= BusyFlag::Script;
    if (data.userInterface) data.userInterface->setHudHidden(true);
    for (const std::string* part : {&BossPart::Body, &BossPart::Eye, &BossPart::Eyelids})
        boss.sendAnimationInput("destroyed", *part);
    boss.pendingSounds.emplace_back("fallblock_rumble");
    if (data.simulator) data.simulator->audio().stopMusic(EndingMusicFade);
    data.bossFight->sequenceTimer = FirstEndingStep;
    post(boss, "itIsOverNow");
}

// A hit that the phase holds; in the last phase a strong weapon may blow a piece off.
void holdPhase(ActorObject& boss, const BehaviorData& data) {
    World& world = *data.world;
    world.shakeCamera(5.0f, 0.5f, 1);
    boss.sendAnimationInput("damaged", BossPart::Eyelids);
    if (world.bossPhase == 2) {
        const ActorObject* player = playerOf(data);
        const std::int32_t weapon = player ? player->weaponIndex : 0;
        const float chance = weapon == 1 ? 0.4f : weapon == 2 ? 0.1f : 0.7f;
        if (chance >= world.random().nextFloat()) {
            const float dx = world.random().nextFloatRange(-ExplosionSpread, ExplosionSpread);
            const float dy = world.random().nextFloatRange(-ExplosionSpread, ExplosionSpread);
            world.spawnEffect("boss_explosion", boss.center() + fpVector2(dx, dy), 0.0f, 1.0f);
        }
    }
    post(boss, "false");
}

// The generators to call: more when the boss took no hit in the phase.
std::size_t generatorsToCall(const ActorObject& boss, std::int32_t phase) {
    const bool untouched = boss.hitPoints == boss.definition().hitPoints - HitPointsPerPhase * float(phase);
    if (!untouched) return phase == 0 ? 1 : 2;
    switch (phase) {
    case 0:
        return 3;
    case 1:
        return 5;
    case 2:
        return 7;
    default:
        return 0;
    }
}

void callGenerator(GameObject& generator) {
    if (generator.kind() == GameObjectKind::Actor) {
        auto& actor = static_cast<ActorObject&>(generator);
        if (actor.behaviorMachine) post(actor, "spawnGenerator");
    }
    generator.updateOnce = true;
    generator.visible = true;
}

// List positions of `count` different live generators, ascending. The draws are taken
// over the whole list and repeat on a dead or chosen one; with fewer live generators than
// asked for every live one is called, since the draws could never find enough.
std::vector<std::size_t> chooseGenerators(const std::vector<std::int32_t>& ids, std::size_t count, World& world) {
    std::vector<std::size_t> live;
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (world.findGameObject(ids[i])) live.push_back(i);
    if (live.size() <= count) return live;
    std::vector<std::size_t> chosen;
    while (chosen.size() < count) {
        const std::size_t position = world.random().nextIndex(std::uint32_t(ids.size()));
        if (!world.findGameObject(ids[position])) continue;
        if (std::find(chosen.begin(), chosen.end(), position) != chosen.end()) continue;
        chosen.push_back(position);
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

} // namespace

MachineInstruction checkGenerators(ActorObject& boss, BehaviorData& data) {
    World& world = *data.world;
    world.shakeCamera(30.0f, 1.0f, 1);
    boss.beamsEnabled = false;
    const auto& ids = boss.ownedEntityIds;
    if (std::any_of(ids.begin(), ids.end(), [&](std::int32_t id) { return isStandingGenerator(world, id); })) {
        boss.sendAnimationInput("close", BossPart::Hatch);
        post(boss, "true");
        return MachineInstruction::Finished;
    }
    dropForceField(boss, data);
    post(boss, "false");
    return MachineInstruction::Running;
}

MachineInstruction vulnerable(ActorObject& boss, BehaviorData& data) {
    if (data.firstStep) boss.constantSound = "boss_vulnerable";
    boss.sendAnimationInput("open", BossPart::Hatch);
    BossFight& fight = *data.bossFight;
    fight.phaseTimer += data.stepTime();
    if (fight.phaseTimer >= VulnerableSeconds) {
        fight.phaseTimer = 0.0f;
        boss.invulnerable = true;
        setMusicAttenuation(data, 1.0f);
        boss.constantSound.clear();
        post(boss, "tooLongTime");
    }
    return MachineInstruction::Running;
}

// Damage beyond the phase is not carried into the next one.
MachineInstruction checkNextPhase(ActorObject& boss, BehaviorData& data) {
    World& world = *data.world;
    const float threshold = boss.definition().hitPoints - HitPointsPerPhase * float(world.bossPhase + 1);
    if (boss.hitPoints > threshold) {
        holdPhase(boss, data);
        return MachineInstruction::Finished;
    }
    boss.hitPoints = threshold;
    boss.invulnerable = true;
    data.bossFight->phaseTimer = 0.0f;
    setMusicAttenuation(data, 1.0f);
    boss.constantSound.clear();
    ++world.bossPhase;
    if (world.bossPhase >= LastPhase) {
        defeat(boss, data);
        return MachineInstruction::Finished;
    }
    data.bossFight->backdropColour = darkerBackdrop(data.bossFight->backdropColour);
    boss.aimTurnSpeed += 1.0f;
    queuePlayerSound(data, "boss_respawn");
    post(boss, "true");
    return MachineInstruction::Finished;
}

// Waits until enough generators have registered.
MachineInstruction respawnGenerators(ActorObject& boss, BehaviorData& data) {
    World& world = *data.world;
    data.bossFight->phaseTimer = 0.0f;
    const std::int32_t phase = world.bossPhase;
    std::size_t count = generatorsToCall(boss, phase);
    const std::vector<std::int32_t>& ids = boss.ownedEntityIds;
    if (ids.size() < count) return MachineInstruction::Running;
    if (phase == 0) {
        // The first phase calls the generators of the first group, in list order.
        for (const std::int32_t id : ids) {
            if (count == 0) break;
            GameObject* generator = world.findGameObject(id);
            if (!generator || generator->name != "1") continue;
            callGenerator(*generator);
            --count;
        }
    } else {
        for (const std::size_t position : chooseGenerators(ids, count, world))
            callGenerator(*world.findGameObject(ids[position]));
    }
    boss.sendAnimationInput("restoreForceField", BossPart::Body);
    boss.hidden = false;
    world.ambientColor = data.bossFight->backdropColour;
    setMusicAttenuation(data, 1.0f);
    boss.constantSound = boss.definition().constantSound;
    post(boss, "done");
    return MachineInstruction::Finished;
}

// Two seconds from dark grey to the backdrop, which then stays.
MachineInstruction restoreBackdrop(ActorObject&, BehaviorData& data) {
    BossFight& fight = *data.bossFight;
    data.world->ambientColor = fadeColour(BossDarkGrey, fight.backdropColour, 0.5f * fight.phaseTimer);
    fight.phaseTimer += data.stepTime();
    return MachineInstruction::Running;
}

} // namespace zor
