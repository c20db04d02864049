#include "game/simulation/launch/LaunchVelocity.h"

#include "Framework/core/math/Angle.h"

#include <cmath>

namespace zor {

namespace {

// In [-1, 1).
float signedSpread(Randomizer& random) { return 2.0f * random.nextFloat() - 1.0f; }

float randomAngle(const WeaponTrajectory& trajectory, Randomizer& random) {
    return (trajectory.angle + trajectory.angleVariance * signedSpread(random)) * kTwoPi / 360.0f;
}

float randomSpeed(const WeaponTrajectory& trajectory, Randomizer& random) {
    return trajectory.force + trajectory.forceVariance * signedSpread(random);
}

} // namespace

fpVector2 randomLaunchVelocity(const WeaponTrajectory& trajectory, bool facingRight, Randomizer& random) {
    const float angle = randomAngle(trajectory, random);
    const float speed = randomSpeed(trajectory, random);
    const float x = std::cos(angle) * speed;
    return {facingRight ? x : -x, std::sin(angle) * speed};
}

fpVector2 randomAimedLaunchVelocity(const WeaponTrajectory& trajectory, float aimAngle, bool facingRight,
                                    Randomizer& random) {
    float angle = aimAngle + randomAngle(trajectory, random);
    if (trajectory.aimArcHalfWidth > 0.0f) {
        const float centre = facingRight ? wrapAngle(kPi - trajectory.aimArcCentre) : trajectory.aimArcCentre;
        angle = clampAngleToArc(angle, centre, trajectory.aimArcHalfWidth);
    }
    const float speed = randomSpeed(trajectory, random);
    return {std::cos(angle) * speed, std::sin(angle) * speed};
}

float randomLaunchAngle(const WeaponTrajectory& trajectory, bool facingRight, Randomizer& random) {
    const float angle = randomAngle(trajectory, random);
    return facingRight ? angle : kPi - angle;
}

} // namespace zor
