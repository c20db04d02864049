// The boss's generators: each registers with the boss, stays hidden until the boss calls
// it, appears once its place is free, and reports its hits and its destruction. A
// destroyed generator stays in the boss's list, hidden and without collision, and can be
// called again.

#include "game/simulation/behavior/instructions/BossInstructions.h"

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/instructions/BossSupport.h"
#include "game/simulation/behavior/instructions/InstructionSupport.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/physics/PhysicsSystem.h"

#include <cstdint>

namespace zor {

namespace {

// What keeps a generator from appearing: every group but tiles, trigger, bounds, exits and
// beams.
constexpr std::uint32_t OccupiedMask = 0x37B6F;
// A generator this many hit points or more below its full ones is destroyed.
constexpr float GeneratorToughness = 11.0f;

void hide(ActorObject& generator) {
    generator.visible = false;
    generator.physicalObject.collidable = false;
}

} // namespace

// Waits (kept updated although hidden) until the boss has claimed its id.
MachineInstruction generatorSetup(ActorObject& generator, BehaviorData& data) {
    generator.updateOnce = true;
    if (data.firstStep) hide(generator);
    ActorObject* boss = bossOf(data);
    if (!boss) return MachineInstruction::Running;
    boss->ownedEntityIds.push_back(generator.id());
    post(generator, "done");
    return MachineInstruction::Finished;
}

MachineInstruction generatorActivation(ActorObject& generator, BehaviorData& data) {
    if (data.physics && data.physics->testRect(firstBodyBounds(generator), OccupiedMask)) {
        generator.updateOnce = true;
        return MachineInstruction::Running;
    }
    generator.hitPoints = generator.definition().hitPoints;
    generator.physicalObject.collidable = true;
    generator.visible = true;
    data.world->spawnEffect("explosion_egg_small", firstBodyCentre(generator), 0.0f, 1.0f);
    post(generator, "done");
    return MachineInstruction::Finished;
}

// Without a live boss the generator still answers for itself; nobody hears the report.
MachineInstruction generatorCheckDamage(ActorObject& generator, BehaviorData& data) {
    ActorObject* boss = bossOf(data);
    if (generator.hitPoints > generator.definition().hitPoints - GeneratorToughness) {
        if (boss && boss->behaviorMachine) post(*boss, "generatorAttacked");
        post(generator, "false");
        return MachineInstruction::Finished;
    }
    hide(generator);
    generator.updateOnce = true;
    World& world = *data.world;
    const fpVector2 centre = firstBodyCentre(generator);
    world.spawnEffect("generator_explosion", centre, 0.0f, 1.0f);
    if (boss) {
        if (boss->behaviorMachine) post(*boss, "generatorDestroyed");
        boss->sendAnimationInput("doneShooting", BossPart::Eye);
    }
    world.spawnResource("refill_all", centre, -1.0f);
    post(generator, "true");
    return MachineInstruction::Finished;
}

} // namespace zor
