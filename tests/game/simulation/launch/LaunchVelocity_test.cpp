// Launch velocities and angles from a weapon's trajectory: the facing, the aim arc, and the
// generator's two draws per launch (angle, then speed).

#include "game/simulation/launch/LaunchVelocity.h"
#include "game/simulation/StaticTextColor.h"

#include "Framework/core/math/Angle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

WeaponTrajectory trajectory(float angle, float force, float angleVariance = 0.0f, float forceVariance = 0.0f) {
    WeaponTrajectory launch;
    launch.angle = angle;
    launch.force = force;
    launch.angleVariance = angleVariance;
    launch.forceVariance = forceVariance;
    return launch;
}

void expectNear(const fpVector2& actual, const fpVector2& expected, const char* label) {
    EXPECT_NEAR(actual.x, expected.x, 1e-3f) << label;
    EXPECT_NEAR(actual.y, expected.y, 1e-3f) << label;
}

fpVector2 polar(float angle, float speed) { return {std::cos(angle) * speed, std::sin(angle) * speed}; }

TEST(LaunchVelocityTest, WithoutVarianceTheVelocityIsTheAngleMirroredForALeftFacing) {
    struct Case {
        const char* label;
        float angle;
        bool facingRight;
        fpVector2 velocity;
    };
    const Case cases[] = {
        {"straight up, right", -90, true, {0, -100}},
        {"straight up, left", -90, false, {0, -100}},
        {"ahead, right", 0, true, {100, 0}},
        {"ahead, left", 0, false, {-100, 0}},
        {"up and ahead, left", -45, false, {-70.7107f, -70.7107f}},
    };
    Randomizer random(7, 11);
    for (const Case& c : cases)
        expectNear(randomLaunchVelocity(trajectory(c.angle, 100), c.facingRight, random), c.velocity, c.label);
}

TEST(LaunchVelocityTest, TheLaunchAngleIsMirroredAboutTheVertical) {
    Randomizer random(7, 11);
    EXPECT_NEAR(randomLaunchAngle(trajectory(30, 0), true, random), kPi / 6.0f, 1e-5f);
    EXPECT_NEAR(randomLaunchAngle(trajectory(30, 0), false, random), 5.0f * kPi / 6.0f, 1e-5f);
}

TEST(LaunchVelocityTest, EachLaunchDrawsTheAngleThenTheSpeed) {
    const WeaponTrajectory spread = trajectory(-30, 200, 10, 40);
    Randomizer random(123, 456);
    Randomizer replay = random;
    const float angleSpread = 2.0f * replay.nextFloat() - 1.0f;
    const float speedSpread = 2.0f * replay.nextFloat() - 1.0f;
    const float angle = (-30.0f + 10.0f * angleSpread) * kTwoPi / 360.0f;
    const float speed = 200.0f + 40.0f * speedSpread;

    Randomizer aimed = random;
    const fpVector2 velocity = randomLaunchVelocity(spread, false, random);
    EXPECT_FLOAT_EQ(velocity.x, -std::cos(angle) * speed);
    EXPECT_FLOAT_EQ(velocity.y, std::sin(angle) * speed);
    EXPECT_EQ(random.w(), replay.w());
    EXPECT_EQ(random.z(), replay.z());

    const fpVector2 aimedVelocity = randomAimedLaunchVelocity(spread, 1.0f, true, aimed);
    expectNear(aimedVelocity, polar(1.0f + angle, speed), "aimed");
    EXPECT_EQ(aimed.w(), replay.w());
    EXPECT_EQ(aimed.z(), replay.z());

    // The angle alone is one draw.
    Randomizer single(123, 456);
    randomLaunchAngle(spread, true, single);
    Randomizer once(123, 456);
    once.nextFloat();
    EXPECT_EQ(single.w(), once.w());
    EXPECT_EQ(single.z(), once.z());
}

TEST(LaunchVelocityTest, AnAimOutsideTheArcIsPulledToTheNearerEndWhoseCentreTheRightFacingMirrors) {
    struct Case {
        const char* label;
        float halfWidth;
        float aim;
        bool facingRight;
        float angle;
    };
    // The arc from the data: centred up and right of a left-facing actor (-pi/4), pi/8 wide
    // to each side; a right-facing actor's arc is centred at pi - (-pi/4) = 5pi/4.
    const float q = kPi / 8.0f;
    const Case cases[] = {
        {"no arc: the aim stays", 0.0f, 2.5f, true, 2.5f},
        {"no arc, left: the aim stays, never mirrored", 0.0f, 2.5f, false, 2.5f},
        {"inside the arc, left", q, -kPi / 4.0f + 0.1f, false, -kPi / 4.0f + 0.1f},
        {"behind, left: the upper end", q, kPi, false, -3.0f * q},
        {"ahead, left: the lower end", q, 0.2f, false, -q},
        {"inside the mirrored arc, right", q, 5.0f * kPi / 4.0f, true, 5.0f * kPi / 4.0f},
        {"ahead, right: the mirrored arc's near end", q, 0.0f, true, 11.0f * q},
    };
    Randomizer random(7, 11);
    for (const Case& c : cases) {
        WeaponTrajectory arc = trajectory(0, 100);
        arc.aimArcCentre = -kPi / 4.0f;
        arc.aimArcHalfWidth = c.halfWidth;
        expectNear(randomAimedLaunchVelocity(arc, c.aim, c.facingRight, random), polar(c.angle, 100), c.label);
    }
}

TEST(StaticTextColorTest, FloatingTextsAreOpaqueYellow) {
    EXPECT_EQ(staticTextColor().value, PackedColor::fromChannels(255, 255, 0, 255).value);
    EXPECT_EQ(&staticTextColor(), &staticTextColor());
}

} // namespace
} // namespace zor
