#pragma once
// Angles in radians. The constants are the float values the game data and
// the saved behaviour were tuned with.

namespace zor {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
// The map view's camera angle, 2 * atan(0.5) (0.9272952): set before main runs.
extern const float kMapViewAngle;

// Into [0, 2*pi).
float wrapAngle(float angle);
// Signed shortest turn from a to b; a tie between the two ways keeps b - a
// of the wrapped angles.
float angleDifference(float a, float b);
// Whether angle lies within halfWidth (plus 0.00001) of centre; always true for
// halfWidth >= pi.
bool angleInArc(float angle, float centre, float halfWidth);
// The angle itself when in the arc, else the nearer arc end (centre + halfWidth on a tie).
float clampAngleToArc(float angle, float centre, float halfWidth);

} // namespace zor
