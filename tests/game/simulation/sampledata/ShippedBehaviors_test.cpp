// The shipped behaviours: every state runs a registered instruction, and a hundred
// creatures, townsfolk, barrels, podiums and teleporters running them allocate nothing per
// step.
// This program counts every operator new while the flag below is set.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/behavior/EnemySimulator.h"

#include "game/definitions/MachineTables.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

#include "tests/support/game/GameHarness.h"

#include "tests/support/allocations/CountingAllocator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

// Appends "machine/state: name" for every instruction a leaf of the tree runs, the parts
// of a composite included, that the table lacks.
void collectUnregistered(const StateCreationData& state, const std::string& machine, const EnemySimulator& enemies,
                         std::vector<std::string>& missing) {
    for (const auto& child : state.children) collectUnregistered(*child, machine, enemies, missing);
    if (!state.children.empty()) return;
    const std::string instruction = state.definition ? state.definition->stateText : state.name;
    if (!enemies.findInstruction(instruction)) missing.push_back(machine + "/" + state.name + ": " + instruction);
    if (instruction != "CompositeState" || !state.definition) return;
    for (const auto& [name, property] : state.definition->properties) {
        if (name.size() != 6 || name.compare(0, 5, "State") != 0) continue;
        const std::string part = valueAsString(property.value);
        if (part == "CompositeState" || !enemies.findInstruction(part))
            missing.push_back(machine + "/" + state.name + " " + name + ": " + part);
    }
}

std::unique_ptr<GameHarness> sampleGame() {
    HarnessOptions options(3, "mine1");
    options.sampleData = true;
    return std::make_unique<GameHarness>(options);
}

TEST(ShippedBehaviors, EveryStateOfEveryBehaviourRunsARegisteredInstruction) {
    const auto harness = sampleGame();
    const EnemySimulator& enemies = harness->objects().enemySimulator();
    std::vector<std::string> missing;
    int machines = 0;
    for (const auto& [name, machine] : behaviorMachineTable()) {
        ASSERT_NE(machine, nullptr) << name;
        collectUnregistered(*machine, name, enemies, missing);
        ++machines;
    }
    EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing);
    // The general, podium, teleporter, movement, NPC, barrel, creature, combat and boss
    // instructions: a registrar that lost one would leave data naming it dead.
    EXPECT_EQ(enemies.instructionCount(), 76u);
    // The creatures' machines are among them.
    for (const char* machine : {"crawler_hunt", "spitter_guard", "wisp_drift", "grub_cling", "townsfolk"})
        EXPECT_EQ(behaviorMachineTable().count(machine), 1u) << machine;
    EXPECT_GT(machines, 0);
}

TEST(ShippedBehaviors, AHundredActorsRunningThemAllocateNothingPerStep) {
    const auto harness = sampleGame();
    World& world = harness->world();
    EnemySimulator& enemies = harness->objects().enemySimulator();
    const fpVector2 home = world.player()->getPosition();
    const char* const kinds[] = {"wenna",        "powder_barrel", "upgrade_podium", "teleporter",
                                 "mire_crawler", "gleam_spitter", "arc_wisp",       "cling_grub"};
    std::vector<ActorObject*> actors;
    for (int index = 0; index < 100; ++index) {
        // Every fifth actor stands by the player, townsfolk and creatures in turn; the rest
        // well away from it.
        const bool near = index % 5 == 0;
        const char* kind = index % 10 == 0 ? "brannoc" : near ? kinds[4 + index / 10 % 4] : kinds[index % 8];
        const float x = home.x + (near ? 20.0f : 600.0f + 3.0f * float(index));
        ActorObject* actor = world.spawnActorFacingRight(kind, {x, home.y - float(index / 5)});
        ASSERT_NE(actor, nullptr);
        ASSERT_NE(actor->behaviorMachine, nullptr) << kind;
        actors.push_back(actor);
    }
    UpdateRecord record;
    record.stepLength = GameHarness::StepLength;
    const auto step = [&] {
        for (ActorObject* actor : actors) {
            enemies.tickActor(*actor, record);
            // The audio takes the queued cues each step.
            actor->pendingSounds.clear();
        }
    };
    for (int warm = 0; warm < 120; ++warm) step();

    int walkingSteps = 0;
    int greetingSteps = 0;
    test::countingAllocations = true;
    for (int frame = 0; frame < 600; ++frame) {
        step();
        for (ActorObject* actor : actors) {
            walkingSteps += actor->moveVector.x != 0.0f ? 1 : 0;
            greetingSteps += actor->behaviorMachine->name() == "greet" ? 1 : 0;
        }
    }
    test::countingAllocations = false;
    EXPECT_EQ(test::countedAllocations.load(), 0);
    // The run did work: townsfolk both walked and greeted.
    EXPECT_GT(walkingSteps, 0);
    EXPECT_GT(greetingSteps, 0);
}

} // namespace
} // namespace zor
