// The movement steps allocate nothing once warm: this test program counts every operator
// new while actors walk, turn at edges, fall and animate and the camera follows.

#include "tests/game/simulation/movement/MovementFixture.h"

#include "game/simulation/movement/ActorMovement.h"
#include "game/simulation/movement/ObjectPhysics.h"
#include "game/world/physics/PhysicsSystem.h"

#include "tests/support/allocations/CountingAllocator.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor::test {
namespace {

TEST(MovementAllocation, ActorStepsPhysicsSensesAndTheCameraAllocateNothingOnceWarm) {
    auto harness = movementGame();
    World& world = harness->world();
    std::vector<ActorObject*> actors = {world.player()};
    for (float x : {260.0f, 300.0f, 340.0f})
        actors.push_back(world.spawnActor("m_pacer", {x, 280.0f}, {x < 300.0f ? -1.0f : 1.0f, 0.0f}));
    actors.push_back(world.spawnActor("m_pacer", {500.0f, 200.0f}, {1.0f, 0.0f}));
    actors.push_back(world.spawnActor("m_runner", {600.0f, 320.0f}, {1.0f, 0.0f}));
    world.shakeCamera(4.0f, 100.0f, 0);
    harness->runSteps(1);  // the behaviours step with the record of the running step
    // The contact recorder writes a text per contact; the default contact rules do nothing.
    harness->objects().physics()->contactCallback = nullptr;

    ActorMovement movement;
    ObjectPhysics physics;
    GameObjectSimulator& objects = harness->objects();
    const auto step = [&] {
        for (ActorObject* actor : actors) {
            ObjectStepContext context = stepContext();
            context.previousGround = actor->groundState;
            movement.updateActor(objects, *actor, context);
            physics.stepObjectPhysics(objects, *actor, context);
            physics.updateActorSenses(objects, *actor, context);
        }
        physics.updateCamera(objects, GameHarness::StepLength);
    };
    // Warm: scratch lists grown, and the broadphase's cell lists grown in every cell the
    // pacers' rounds cross.
    for (int i = 0; i < 600; ++i) step();
    world.soundRequests.reserve(world.soundRequests.size() + 256);
    world.constantSoundIds.reserve(64);

    countedAllocations = 0;
    countingAllocations = true;
    for (int i = 0; i < 300; ++i) step();
    countingAllocations = false;
    EXPECT_EQ(countedAllocations.load(), 0);
    EXPECT_NE(actors[1]->getPosition().x, 260.0f) << "the pacers walked";
}

} // namespace
} // namespace zor::test
