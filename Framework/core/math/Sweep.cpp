#include "Framework/core/math/Sweep.h"

#include <algorithm>
#include <cmath>

namespace zor {
namespace {

constexpr float kEpsilon = 0.00001f;

} // namespace

float sweepAxis(const fpRect& fixed, const fpVector2& axis, const fpRect& moving, const fpVector2& target) {
    const float lowFixed = axis.dot(fixed.position());
    const float extentFixed = axis.dot(fixed.size());
    const float highFixed = lowFixed + extentFixed;
    const float lowMoving = axis.dot(moving.position());
    const float extentMoving = axis.dot(moving.size());
    const float highMoving = lowMoving + extentMoving;

    float overlap = lowMoving < lowFixed ? highMoving - lowFixed : highFixed - lowMoving;
    overlap = std::min(std::max(overlap, 0.0f), std::min(extentFixed, extentMoving));
    if (overlap != 0.0f)
        return overlap;

    // Start minus end: positive for a move toward smaller coordinates.
    const float move = lowMoving - axis.dot(target);
    if (std::fabs(move) < kEpsilon)
        return -1.0f;
    if (lowMoving < lowFixed) {
        if (highMoving - move > lowFixed)
            return -(lowFixed - highMoving) / std::fabs(move);
    } else if (lowMoving - move < highFixed) {
        return (highFixed - lowMoving) / std::fabs(move);
    }
    return -1.0f;
}

bool sweepRect(const fpVector2& target, fpRect& moving, const fpRect& fixed, fpVector2& normalOut) {
    const float fx = sweepAxis(fixed, {1.0f, 0.0f}, moving, target);
    const float fy = sweepAxis(fixed, {0.0f, 1.0f}, moving, target);
    if (fx > 0.0f && fy > 0.0f)
        return false;
    if (std::fabs(fx + 1.0f) < kEpsilon || std::fabs(fy + 1.0f) < kEpsilon) {
        moving.x = target.x;
        moving.y = target.y;
        return true;
    }

    const fpVector2 move = target - moving.position();
    const float contact = -std::min(fx, fy);
    moving.x += move.x * contact;
    moving.y += move.y * contact;
    if (move.length() > 0.0f) {
        const fpVector2 normal(move.x < 0.0f ? 1.0f : -1.0f, move.y < 0.0f ? 1.0f : -1.0f);
        if (fx < fy)
            normalOut = {normal.x, 0.0f};
        else if (fx > fy)
            normalOut = {0.0f, normal.y};
        else
            normalOut = normal.normalized();
    }
    return false;
}

} // namespace zor
