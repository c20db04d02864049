#include "tests/game/world/physics/PhysicsFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace zor::test {
namespace {

constexpr std::uint32_t Items = CollisionGroup::Items;
constexpr std::uint32_t Rocks = CollisionGroup::Rocks;
constexpr std::uint32_t Solid = CollisionGroup::Tiles | CollisionGroup::Bounds;

// A wall at x 200 to 240 between a ceiling (y 0 to 40, x 0 to 160) and a floor at y 360.
std::shared_ptr<PersistentTileMap> wallAndFloor() {
    std::vector<std::string> rows(9, ".....#....");
    rows.front() = "####.#....";
    rows.push_back("##########");
    return tileMapFromRows(rows);
}

void expectNear(const fpVector2& actual, const fpVector2& expected, const std::string& label, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << label;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << label;
}

TEST(PhysicsStepTest, StartingToMoveWakesTheNeighboursBeyondOnePixel) {
    struct Case {
        float push;
        bool movingBefore;
        bool woken;
    };
    const Case cases[] = {
        {0.0099f, false, false},
        {0.01f, false, true},
        {0.01f, true, false},  // only an object at rest wakes others
    };
    for (const Case& c : cases) {
        PhysicsLevel level(tileMapFromRows({"..........", ".........."}));
        PhysicalObject& mover = level.addBox({100, 20, 20, 20}, Items, Solid);
        mover.wakeMask = Rocks;
        PhysicalObject& sleeper = level.addBox({120.5f, 20, 10, 10}, Rocks, 0);  // 0.5 px off
        PhysicalObject& farAway = level.addBox({300, 20, 10, 10}, Rocks, 0);
        sleeper.awake = farAway.awake = false;
        sleeper.sleepTimer = 0.5f;
        if (c.movingBefore) mover.velocity = {0.000001f, 0};
        mover.impulse = {c.push, 0};
        level.physics.stepObject(mover, 1.0f, true);
        EXPECT_EQ(sleeper.awake, c.woken) << c.push;
        EXPECT_EQ(sleeper.woken, c.woken) << c.push;
        EXPECT_EQ(sleeper.sleepTimer, c.woken ? 0.0f : 0.5f) << c.push;
        EXPECT_FALSE(farAway.awake);
    }
}

TEST(PhysicsStepTest, AnObjectAtRestSleepsOnceItHasRestedMoreThanOneSecond) {
    PhysicsLevel level(tileMapFromRows({"...."}));
    PhysicalObject& box = level.addBox({10, 10, 10, 10}, Items, Solid);
    box.canSleep = true;
    box.restPosition = box.position();
    for (int step = 1; step <= 4; ++step) {
        level.physics.stepObject(box, 0.25f, true);
        EXPECT_TRUE(box.awake) << step;
    }
    EXPECT_EQ(box.sleepTimer, 1.0f);
    level.physics.stepObject(box, 0.25f, true);
    EXPECT_FALSE(box.awake);
    EXPECT_EQ(box.sleepTimer, 0.0f);

    // Asleep, the object is left alone and counted as sleeping.
    box.velocity = {100, 0};
    level.physics.stepObject(box, 0.25f, true);
    EXPECT_EQ(box.position(), fpVector2(10, 10));
    EXPECT_EQ(level.physics.awakeCount(), 5);
    EXPECT_EQ(level.physics.sleepingCount(), 1);
    level.physics.stepObject(box, 0.0f, true);
    EXPECT_EQ(level.physics.sleepingCount(), 1);
}

TEST(PhysicsStepTest, DriftingAwayFromTheRestPositionRestartsTheSleepTimer) {
    PhysicsLevel level(tileMapFromRows({"....."}));
    PhysicalObject& box = level.addBox({10, 10, 10, 10}, Items, 0);
    box.canSleep = true;
    box.restPosition = box.position();
    box.velocity = {0.08f, 0};  // 0.08 px per step
    level.physics.stepObject(box, 1.0f, false);
    EXPECT_EQ(box.sleepTimer, 1.0f);
    level.physics.stepObject(box, 1.0f, false);  // 0.16 px from rest
    EXPECT_EQ(box.sleepTimer, 0.0f);
    EXPECT_EQ(box.restPosition, box.position());
    EXPECT_TRUE(box.awake);
}

TEST(PhysicsStepTest, EulerIgnoresAirResistanceRungeKuttaAppliesIt) {
    struct Case {
        const char* label;
        bool rungeKutta;
        float linear;
        float quadratic;
        fpVector2 velocity;
        fpVector2 position;
        float tolerance;
    };
    // 0.5 s from (0, 0) at (100, 0) with gravity (0, 10); the resistance acts on both axes.
    // Within the method's own error of the exact motion: linear l: vx = 100 e^(-l t / 2), vy = 2 g / l (1 - e^(-l t / 2)); quadratic q with
    // k = q / 2: vx = 100 / (1 + 100 k t), x = ln(1 + 100 k t) / k, vy = sqrt(g / k) tanh(sqrt(g k) t).
    const Case cases[] = {
        {"Euler", false, 1.0f, 0.01f, {100, 5}, {50, 2.5f}, 0.0f},
        {"Runge-Kutta, linear", true, 1.0f, 0.0f, {77.880078f, 4.423984f}, {44.239843f, 1.152031f}, 2e-3f},
        {"Runge-Kutta, quadratic", true, 0.0f, 0.01f, {80, 4.979270f}, {44.628710f, 1.247404f}, 2e-2f},
    };
    for (const Case& c : cases) {
        PhysicsLevel level(tileMapFromRows({"."}));
        PhysicalObject& box = level.addBox({0, 0, 10, 10}, Items, 0);
        box.highQualityIntegration = c.rungeKutta;
        box.linearAirResistance = c.linear;
        box.quadraticAirResistance = c.quadratic;
        box.velocity = {100, 0};
        box.gravity = {0, 10};
        level.physics.stepObject(box, 0.5f, false);
        expectNear(box.velocity, c.velocity, c.label, c.tolerance + 1e-4f);
        expectNear(box.position(), c.position, c.label, c.tolerance + 1e-4f);
    }
}

TEST(PhysicsStepTest, RungeKuttaSnapsTinyVelocitiesToZero) {
    PhysicsLevel level(tileMapFromRows({"."}));
    PhysicalObject& box = level.addBox({0, 0, 10, 10}, Items, 0);
    box.highQualityIntegration = true;
    const float justAbove = std::nextafter(0.00001f, 1.0f);
    box.velocity = {0.00001f, -justAbove};
    level.physics.stepObject(box, 0.5f, false);
    EXPECT_EQ(box.velocity, fpVector2(0, -justAbove));
}

TEST(PhysicsStepTest, ImpulsesJoinTheVelocityAtTheStartOfTheStep) {
    PhysicsLevel level(tileMapFromRows({"....."}));
    PhysicalObject& box = level.addBox({0, 0, 10, 10}, Items, 0);
    box.velocity = {10, 0};
    box.impulse = {0, 20};
    box.acceleration = {2, 0};
    level.physics.stepObject(box, 0.5f, false);
    EXPECT_EQ(box.velocity, fpVector2(11, 20));
    EXPECT_EQ(box.impulse, fpVector2());
    EXPECT_EQ(box.position(), fpVector2(5.5f, 10));
}

TEST(PhysicsStepTest, ContactResponses) {
    struct Case {
        const char* label;
        fpRect box;
        fpVector2 velocity;
        float groundFriction;
        float wallFriction;
        float bounciness;
        fpVector2 position;
        fpVector2 velocityAfter;
    };
    // 0.2 s steps without gravity; the floor's top is y 360, the wall's left side x 200.
    const Case cases[] = {
        // Lands after half the move, then slides the rest of the move along the floor.
        {"floor friction 1", {100, 330, 20, 20}, {50, 100}, 1, 1, 0, {115, 339.999f}, {0, 0}},
        {"floor friction 0", {100, 330, 20, 20}, {50, 100}, 0, 1, 0, {115, 339.999f}, {50, 0}},
        {"floor friction 0.5", {100, 330, 20, 20}, {50, 100}, 0.5f, 1, 0, {115, 339.999f}, {25, 0}},
        // The rest of the move is dropped; the velocity is reflected and halved.
        {"bounce", {170, 100, 20, 20}, {100, 0}, 1, 1, 0.5f, {179.999f, 100}, {-50, 0}},
        {"bounce keeping the sliding speed", {170, 100, 20, 20}, {100, 40}, 1, 0, 0.5f, {179.999f, 104}, {-50, 20}},
        {"bounce after the wall's friction", {170, 100, 20, 20}, {100, 40}, 1, 1, 0.5f, {179.999f, 104}, {-50, 0}},
        // Touching the wall at the start: nudged off it, then the move slides along it.
        {"sliding down a touched wall", {180, 100, 20, 20}, {50, 50}, 1, 0, 0, {179.999f, 110}, {0, 50}},
        // A ceiling does not rub.
        {"into the ceiling", {100, 50, 20, 20}, {50, -100}, 1, 1, 0, {115, 40.001f}, {50, 0}},
    };
    for (const Case& c : cases) {
        PhysicsLevel level(wallAndFloor());
        PhysicalObject& box = level.addBox(c.box, Items, Solid);
        box.velocity = c.velocity;
        box.groundFriction = c.groundFriction;
        box.wallFriction = c.wallFriction;
        box.bounciness = c.bounciness;
        level.physics.stepObject(box, 0.2f, true);
        expectNear(box.position(), c.position, c.label);
        expectNear(box.velocity, c.velocityAfter, c.label);
    }
}

TEST(PhysicsStepTest, KeepVelocityStopsTheMoveButNotTheMotion) {
    for (const bool keep : {false, true}) {
        PhysicsLevel level(wallAndFloor());
        PhysicalObject& box = level.addBox({170, 100, 20, 20}, Items, Solid);
        box.velocity = {100, 0};
        level.physics.contactCallback = [&](PhysicalCollision& contact) {
            box.impulse = {30, 0};  // a push into the wall, given by the contact
            contact.keepVelocity = keep;
        };
        level.physics.stepObject(box, 0.2f, true);
        expectNear(box.position(), {179.999f, 100}, keep ? "kept" : "not kept");
        EXPECT_EQ(box.velocity, keep ? fpVector2(100, 0) : fpVector2(0, 0));
        EXPECT_EQ(box.impulse, keep ? fpVector2(30, 0) : fpVector2(0, 0));
    }
}

TEST(PhysicsStepTest, AWedgedObjectStopsAfterThreeSweeps) {
    // Sunk 10 px into the wall, a non-swept box is pushed out along the wall's normal by one
    // nudge per sweep, and its move along the wall never gets anywhere.
    PhysicsLevel level(wallAndFloor());
    PhysicalObject& box = level.addBox({190, 100, 20, 20}, Items, Solid, false);
    box.velocity = {0, 50};
    std::int32_t contacts = 0;
    level.physics.contactCallback = [&](PhysicalCollision&) { ++contacts; };
    level.physics.stepObject(box, 0.2f, true);
    EXPECT_EQ(contacts, 3);
    expectNear(box.position(), {189.997f, 100}, "wedged");
}

TEST(PhysicsStepTest, ABoxLeftAHairInsideADeepCeilingFallsFree) {
    // At y 12840 a float step is 0.00098 px, about the 0.001 px contact gap, so a box that
    // hit the ceiling may end one step inside it.
    std::vector<std::string> rows(330, "....");
    rows[320] = "####";
    PhysicsLevel level(tileMapFromRows(rows));
    const float hairInside = std::nextafter(12840.0f, 0.0f);
    PhysicalObject& box = level.addBox({40, hairInside, 20, 20}, Items, Solid);
    for (int step = 0; step < 3; ++step) {
        box.gravity = {0, 100};
        level.physics.stepObject(box, 0.1f, true);
    }
    EXPECT_NEAR(box.position().y, 12840.0f + 1 + 2 + 3, 2e-3f);
    EXPECT_NEAR(box.velocity.y, 30.0f, 1e-4f);
}

TEST(PhysicsStepTest, WithoutCollisionsTheObjectGoesWhereItsMotionTakesIt) {
    PhysicsLevel level(wallAndFloor());
    PhysicalObject& box = level.addBox({170, 100, 20, 20}, Items, Solid);
    box.velocity = {100, 0};
    level.physics.stepObject(box, 0.5f, false);
    EXPECT_EQ(box.position(), fpVector2(220, 100));

    PhysicalObject& ghost = level.addBox({170, 200, 20, 20}, Items, Solid);
    ghost.collidable = false;
    ghost.velocity = {100, 0};
    level.physics.stepObject(ghost, 0.5f, true);
    EXPECT_EQ(ghost.position(), fpVector2(220, 200));

    // Nor does anything else collide with it.
    PhysicalObject& mover = level.addBox({330, 300, 20, 20}, Items, Solid | Items);
    ghost.setPosition({300, 300});
    mover.velocity = {-100, 0};
    level.physics.stepObject(mover, 0.2f, true);
    EXPECT_EQ(mover.position(), fpVector2(310, 300));
}

TEST(PhysicsStepTest, TheFirstSweepRunsEvenWithoutAMove) {
    PhysicsLevel level(wallAndFloor());
    PhysicalObject& box = level.addBox({100, 100, 20, 20}, Items, Solid | CollisionGroup::Trigger);
    level.addBox({90, 90, 40, 40}, CollisionGroup::Trigger, 0, false, true);
    std::int32_t contacts = 0;
    level.physics.contactCallback = [&](PhysicalCollision&) { ++contacts; };
    level.physics.stepObject(box, 0.1f, true);
    level.physics.stepObject(box, 0.1f, true);
    EXPECT_EQ(contacts, 2);  // the overlap is reported every step
    EXPECT_EQ(box.position(), fpVector2(100, 100));
}

} // namespace
} // namespace zor::test
