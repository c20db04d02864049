#include "Framework/core/math/Angle.h"

#include <cmath>

namespace zor {

const float kMapViewAngle = 2.0f * std::atan(0.5f);

float wrapAngle(float angle) {
    const float wrapped = std::fmod(angle, kTwoPi);
    return wrapped < 0.0f ? wrapped + kTwoPi : wrapped;
}

float angleDifference(float a, float b) {
    const float direct = wrapAngle(b) - wrapAngle(a);
    const float other = direct > 0.0f ? direct - kTwoPi : direct + kTwoPi;
    return std::fabs(other) < std::fabs(direct) ? other : direct;
}

bool angleInArc(float angle, float centre, float halfWidth) {
    if (halfWidth >= kPi)
        return true;
    return halfWidth + 0.00001f >= std::fabs(angleDifference(angle, centre));
}

float clampAngleToArc(float angle, float centre, float halfWidth) {
    if (angleInArc(angle, centre, halfWidth))
        return angle;
    const float low = centre - halfWidth;
    const float high = centre + halfWidth;
    return std::fabs(angleDifference(low, angle)) < std::fabs(angleDifference(high, angle)) ? low : high;
}

} // namespace zor
