#pragma once
// The 2-D placement matrix of batches and sprites.

#include "Framework/core/math/Matrix4.h"

namespace zor {

// Translation x rotation about z x scale, column-major. An angle of exactly 0 takes
// cos 1 and sin 0 without calling the trigonometric functions.
fpMatrix4 makeTransform2D(float tx, float ty, float tz, float sx, float sy, float sz, float angle);

} // namespace zor
