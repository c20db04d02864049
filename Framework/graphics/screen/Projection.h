#pragma once
// Projection matrices (column-major, as fpMatrix4) for the batches and 3-D views.

#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Rect.h"

namespace zor {

// width / height, or 0 for a rectangle without height.
float aspectRatio(const fpRect& rect);

// Orthographic projection; z = -zn maps to clip depth 0 and z = -zf to 1.
fpMatrix4 orthoMatrix(float left, float right, float bottom, float top, float zn, float zf);

// Perspective projection from a vertical field of view in radians.
fpMatrix4 perspectiveMatrix(float fieldOfViewY, float aspect, float zn, float zf);

// The 2-D projection of the current viewport: a point in virtual units lands on the
// viewport's pixels, y growing downwards.
fpMatrix4 screenOrtho(float zn, float zf);

} // namespace zor
