#include "Framework/graphics/batch/Transform2D.h"

namespace zor {

fpMatrix4 makeTransform2D(float tx, float ty, float tz, float sx, float sy, float sz, float angle) {
    fpMatrix4 m = toMatrix(makeAffine2D(tx, ty, tz, sx, sy, angle));
    m[10] = sz;
    return m;
}

fpMatrix4 toMatrix(const Affine2D& p) {
    fpMatrix4 m;
    m[0] = p.xx;
    m[1] = p.yx;
    m[4] = p.xy;
    m[5] = p.yy;
    m[12] = p.tx;
    m[13] = p.ty;
    m[14] = p.z;
    return m;
}

bool isPlacement(const fpMatrix4& m) {
    return m[2] == 0.0f && m[3] == 0.0f && m[6] == 0.0f && m[7] == 0.0f && m[15] == 1.0f;
}

Affine2D placementOf(const fpMatrix4& m) { return {m[0], m[1], m[4], m[5], m[12], m[13], m[14]}; }

} // namespace zor
