#include "Framework/graphics/batch/PlaneTransform.h"

#include <cmath>
#include <initializer_list>

namespace zor {

namespace {

bool isIdentity(const fpMatrix4& m) {
    const fpMatrix4 identity;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 3; ++row)
            if (m[4 * column + row] != identity[4 * column + row]) return false;
    return true;
}

bool isPlane(const fpMatrix4& m) {
    if (m[2] != 0.0f || m[6] != 0.0f || m[8] != 0.0f || m[9] != 0.0f) return false;
    for (int i : {0, 1, 4, 5, 10, 12, 13, 14})
        if (!std::isfinite(m[i])) return false;
    return true;
}

} // namespace

PlaneTransform::PlaneTransform(const fpMatrix4& m)
    : m_kind(isIdentity(m) ? Identity : isPlane(m) ? Plane : General), m_columnX{m[0], m[1], m[0], m[1]},
      m_columnY{m[4], m[5], m[4], m[5]}, m_move(quadwriter::Float4{m[12], m[13], m[12], m[13]} + 0.0f),
      m_zz(m[10]), m_tz(m[14] + 0.0f) {}

} // namespace zor
