#pragma once
// The 2-D placement of batches and sprites, as a 4x4 matrix and as a plane placement.

#include "Framework/core/math/Matrix4.h"

#include <cmath>

namespace zor {

// A quad's placement in the plane: the corner (x, y) goes to (xx x + xy y + tx,
// yx x + yy y + ty) at depth z. It stands for the matrix with the columns (xx, yx, 0, 0),
// (xy, yy, 0, 0), (0, 0, 1, 0), (tx, ty, z, 1); a batch places a quad by it exactly as by
// that matrix.
struct Affine2D {
    float xx, yx, xy, yy, tx, ty, z;
};

// The cosine and sine of an angle about z. Worked out once while the angle holds and
// carried with the placement, they spare the batch's hot path the trigonometric functions,
// which cost as much as writing the quad. An angle of exactly 0 takes cos 1 and sin 0
// without calling them.
struct Rotation2D {
    float cos = 1.0f;
    float sin = 0.0f;

    static Rotation2D of(float angle) {
        if (angle == 0.0f) return {};
        return {std::cos(angle), std::sin(angle)};
    }
};

// Translation x rotation about z x scale.
inline Affine2D makeAffine2D(float tx, float ty, float tz, float sx, float sy, Rotation2D r) {
    return {r.cos * sx, r.sin * sx, -r.sin * sy, r.cos * sy, tx, ty, tz};
}

inline Affine2D makeAffine2D(float tx, float ty, float tz, float sx, float sy, float angle) {
    return makeAffine2D(tx, ty, tz, sx, sy, Rotation2D::of(angle));
}

// makeAffine2D as a column-major matrix whose z scale is sz.
fpMatrix4 makeTransform2D(float tx, float ty, float tz, float sx, float sy, float sz, float angle);

// The matrix the placement stands for.
fpMatrix4 toMatrix(const Affine2D& placement);

// Whether the matrix has the form a placement stands for (its third column aside, which
// does not move a flat quad), and that placement.
bool isPlacement(const fpMatrix4& matrix);
Affine2D placementOf(const fpMatrix4& matrix);

} // namespace zor
