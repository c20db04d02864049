// The object physics step and the actor checks after it, on the level physics of a harness
// game: whole pixels at rest, the terminal and limited speeds, the running speed cap and
// the senses behaviour machines receive.

#include "tests/game/simulation/movement/MovementFixture.h"

#include "game/simulation/movement/ObjectPhysics.h"

#include <gtest/gtest.h>

#include <ostream>

namespace zor::test {
namespace {

struct PhysicsGame : ::testing::Test {
    std::unique_ptr<GameHarness> harness = movementGame();
    ObjectPhysics physics;

    ActorObject& spawn(const std::string& name, const fpVector2& position, float facingX = 1.0f) {
        ActorObject* actor = harness->world().spawnActor(name, position, {facingX, 0.0f});
        EXPECT_NE(actor, nullptr) << name;
        return *actor;
    }
    void stepPhysics(GameObject& object, ObjectStepContext context = stepContext()) {
        physics.stepObjectPhysics(harness->objects(), object, context);
    }
};

TEST_F(PhysicsGame, AnObjectSnapsToWholePixelsOnlyFromItsSecondRestingStep) {
    struct Case {
        int restingSteps;
        bool movedBetween;
        float x;
    };
    for (const Case& c : {Case{1, false, 300.4f}, Case{2, false, 300.0f}, Case{3, false, 300.0f},
                          Case{2, true, 300.4f}}) {
        ActorObject& pebble = spawn("m_pebble", {300.4f, 200.0f});
        pebble.gravityHold = true;
        for (int i = 0; i < c.restingSteps; ++i) {
            if (c.movedBetween && i == c.restingSteps - 1) {
                pebble.physicalObject.velocity = {0.0f, 6.0f};
                stepPhysics(pebble);
                pebble.physicalObject.velocity = {};
            }
            stepPhysics(pebble);
        }
        EXPECT_EQ(pebble.getPosition().x, c.x) << c.restingSteps << " resting steps, moved " << c.movedBetween;
        harness->world().removeEntity(&pebble);
        harness->world().processRemovals();
    }
}

TEST_F(PhysicsGame, FallsAtMostAtTerminalSpeedAndWithinTheContextsLimitKeepingTheSidewaysSpeed) {
    struct Case {
        fpVector2 velocity;
        float speedLimit;
        fpVector2 expected;
    };
    for (const Case& c : {Case{{70.0f, 1200.0f}, 0.0f, {70.0f, 1000.0f}},
                          Case{{-250.0f, 5000.0f}, 0.0f, {-250.0f, 1000.0f}},
                          Case{{70.0f, 900.0f}, 0.0f, {70.0f, 900.0f}},
                          Case{{0.0f, -1500.0f}, 0.0f, {0.0f, -1500.0f}},
                          Case{{300.0f, -300.0f}, 140.0f, {140.0f, -140.0f}},
                          Case{{-30.0f, 600.0f}, 140.0f, {-30.0f, 140.0f}}}) {
        ActorObject& pebble = spawn("m_pebble", {400.0f, 120.0f});
        pebble.gravityHold = true;
        pebble.physicalObject.velocity = c.velocity;
        ObjectStepContext context = stepContext(1.0f / 600.0f);
        context.speedLimit = c.speedLimit;
        stepPhysics(pebble, context);
        EXPECT_EQ(pebble.physicalObject.velocity, c.expected)
            << c.velocity.x << ", " << c.velocity.y << " limit " << c.speedLimit;
        harness->world().removeEntity(&pebble);
        harness->world().processRemovals();
    }
}

TEST_F(PhysicsGame, GravityPullsAlongTheFacingWithGravityFromRotationAndNotWhileHeld) {
    ActorObject& pebble = spawn("m_pebble", {400.0f, 120.0f});
    stepPhysics(pebble);
    EXPECT_EQ(pebble.physicalObject.gravity, fpVector2(0.0f, 1500.0f));
    pebble.gravityHold = true;
    stepPhysics(pebble);
    EXPECT_EQ(pebble.physicalObject.gravity, fpVector2());
    pebble.gravityHold = false;
    ObjectStepContext pool = stepContext();
    pool.gravityScale = 0.5f;
    stepPhysics(pebble, pool);
    EXPECT_EQ(pebble.physicalObject.gravity, fpVector2(0.0f, 750.0f));
}

TEST_F(PhysicsGame, TheRunningCapRisesWithTheRunAndFallsBy300PerSecondAfterIt) {
    struct Case {
        const char* what;
        bool running;
        std::int32_t ground;
        float groundSpeed;
        float velocityX;
        float step;
        float expectedGroundSpeed;
        float expectedVelocityX;
    };
    for (const Case& c : {
             Case{"walking is capped at WalkSpeed", false, 1, 0.0f, 180.0f, 0.1f, 0.0f, 100.0f},
             Case{"a slow runner keeps WalkSpeed", true, 1, 0.0f, 40.0f, 0.1f, 100.0f, 40.0f},
             Case{"a runner raises the cap to its speed", true, 1, 100.0f, 250.0f, 0.1f, 250.0f, 250.0f},
             Case{"the cap stops at MaxRunSpeed", true, 1, 100.0f, -500.0f, 0.1f, 400.0f, -400.0f},
             Case{"after the run the cap falls", false, 1, 400.0f, 390.0f, 0.5f, 250.0f, 250.0f},
             Case{"in the air the cap is 10 % higher", false, 0, 250.0f, 300.0f, 0.0f, 250.0f, 275.0f},
             Case{"a runner in the air keeps its cap", true, 0, 200.0f, -500.0f, 0.1f, 200.0f, -220.0f},
         }) {
        ActorObject& runner = spawn("m_runner", {500.0f, 320.0f});
        runner.running = c.running;
        runner.groundState = c.ground;
        runner.groundSpeed = c.groundSpeed;
        runner.physicalObject.velocity = {c.velocityX, 0.0f};
        ObjectStepContext context = stepContext(c.step);
        context.previousGround = c.ground;
        physics.updateActorSenses(harness->objects(), runner, context);
        EXPECT_FLOAT_EQ(runner.groundSpeed, c.expectedGroundSpeed) << c.what;
        EXPECT_FLOAT_EQ(runner.physicalObject.velocity.x, c.expectedVelocityX) << c.what;
        harness->world().removeEntity(&runner);
        harness->world().processRemovals();
    }
}

struct SenseCase {
    const char* what;
    float velocityX;
    const char* neighbour;  // null: none; placed overlapping the watcher's left edge by 1 px
    bool atEdge;
    bool metEnemy;
    bool metSomeone;
};

void PrintTo(const SenseCase& c, std::ostream* out) { *out << c.what; }

class Senses : public ::testing::TestWithParam<SenseCase> {};

// The watcher stands on the ledge 8 px from its right end.
TEST_P(Senses, ReachTheMachineOnlyWhileTheActorMovesOnTheGround) {
    const SenseCase& c = GetParam();
    auto harness = movementGame();
    ActorObject& watcher = *harness->world().spawnActor("m_watcher", {392.0f, 280.0f}, {1.0f, 0.0f});
    if (c.neighbour) harness->world().spawnActor(c.neighbour, {377.0f, 280.0f}, {1.0f, 0.0f});
    watcher.groundState = 1;
    watcher.edgeTimer = 0.0f;
    watcher.meetTimer = 0.0f;
    watcher.physicalObject.velocity = {c.velocityX, 0.0f};
    watcher.moveVector = {1.0f, 0.0f};
    watcher.jumpPressed = true;
    ObjectPhysics physics;
    ObjectStepContext context = stepContext();
    context.previousGround = 1;
    physics.updateActorSenses(harness->objects(), watcher, context);

    BehaviorMachine& machine = *watcher.behaviorMachine;
    EXPECT_EQ(machine.takeInput("atEdge", true), c.atEdge) << c.what;
    EXPECT_EQ(machine.takeInput("metEnemy", true), c.metEnemy) << c.what;
    EXPECT_EQ(machine.takeInput("metSomeone", true), c.metSomeone) << c.what;
    // The intent of the step is spent.
    EXPECT_EQ(watcher.moveVector, fpVector2());
    EXPECT_FALSE(watcher.jumpPressed);
}

INSTANTIATE_TEST_SUITE_P(
    Watcher, Senses,
    ::testing::Values(SenseCase{"standing still at the edge, next to a rival", 0.0f, "m_rival", false, false, false},
                      SenseCase{"creeping below 0.00001 px/s", 0.000001f, "m_rival", false, false, false},
                      SenseCase{"walking over the edge", 30.0f, nullptr, true, false, false},
                      SenseCase{"walking back onto the ledge into a rival", -30.0f, "m_rival", false, true, true},
                      SenseCase{"walking into one of its own", -30.0f, "m_pacer", false, false, true}));

TEST(SensesTimers, TheEdgeAndMeetingProbesWaitForTheirTimers) {
    auto harness = movementGame();
    ActorObject& watcher = *harness->world().spawnActor("m_watcher", {392.0f, 280.0f}, {1.0f, 0.0f});
    harness->world().spawnActor("m_pacer", {407.0f, 280.0f}, {1.0f, 0.0f});
    watcher.groundState = 1;
    watcher.edgeTimer = 0.05f;
    watcher.meetTimer = -0.01f;
    watcher.runHeld = true;
    watcher.physicalObject.velocity = {30.0f, 0.0f};
    ObjectPhysics physics;
    ObjectStepContext context = stepContext();
    physics.updateActorSenses(harness->objects(), watcher, context);
    EXPECT_FALSE(watcher.behaviorMachine->takeInput("atEdge", true));
    EXPECT_TRUE(watcher.behaviorMachine->takeInput("metSomeone", true)) << "a runner's 8 px probe reaches it";
    EXPECT_FLOAT_EQ(watcher.edgeTimer, 0.05f);
    EXPECT_FLOAT_EQ(watcher.meetTimer, 0.09f) << "a runner probes every 0.1 s";
}

} // namespace
} // namespace zor::test
