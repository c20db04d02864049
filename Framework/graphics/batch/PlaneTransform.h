#pragma once
// A batch transform as the placement path applies it. A batch transform is nearly always
// the identity or a move and scale in the plane; then a quad's placement composes with it
// in a few products instead of the 4x4 product, with the same numbers bit for bit as
// fpMatrix4::multiply gives (for finite numbers: its sums start at +0 and add terms that
// are zero here, which only turns a negative zero positive, as the shortcut does).

#include "Framework/core/math/Matrix4.h"
#include "Framework/graphics/batch/QuadWriter.h"
#include "Framework/graphics/batch/Transform2D.h"

namespace zor {

class PlaneTransform {
public:
    enum Kind {
        Identity,  // the first three rows are the identity's
        Plane,     // x and y depend on x and y alone, z on z alone; finite
        General,   // anything else: the 4x4 product
    };

    explicit PlaneTransform(const fpMatrix4& transform);

    Kind kind() const { return m_kind; }

    // transform x placement, for Identity and Plane.
    quadwriter::PlacementLanes apply(const quadwriter::PlacementLanes& p) const {
        using quadwriter::Float4;
        if (m_kind == Identity) return {p.linear + 0.0f, p.move + 0.0f, p.z + 0.0f};
        const Float4 fromX = m_columnX * __builtin_shufflevector(p.linear, p.linear, 0, 0, 2, 2);
        const Float4 fromY = m_columnY * __builtin_shufflevector(p.linear, p.linear, 1, 1, 3, 3);
        const Float4 moveX = m_columnX * __builtin_shufflevector(p.move, p.move, 0, 0, 0, 0);
        const Float4 moveY = m_columnY * __builtin_shufflevector(p.move, p.move, 1, 1, 1, 1);
        return {(fromX + fromY) + 0.0f, (moveX + moveY) + m_move, m_zz * p.z + m_tz};
    }

private:
    Kind m_kind;
    // For Plane, the transform's entries (0, 1, 0, 1), (4, 5, 4, 5), 10, and 12, 13 and 14
    // with a negative zero made positive.
    quadwriter::Float4 m_columnX, m_columnY, m_move;
    float m_zz, m_tz;
};

} // namespace zor
