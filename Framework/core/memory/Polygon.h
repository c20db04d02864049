#pragma once
// The hit area of a menu item: an outline in local coordinates, placed by a position, a
// per-axis scale and a rotation.

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

#include <cstddef>
#include <vector>

namespace zor {

struct Polygon {
    fpVector2 position;
    fpVector2 scale{1.0f, 1.0f};
    float angle = 0.0f;               // radians
    std::vector<fpVector2> vertices;  // outline order, local coordinates
    // Kept by refresh: one unit normal (-u.y, u.x) per edge from each vertex to the next
    // (no closing edge back to the first), the sum of those edges' lengths, and the
    // unrotated bounds.
    std::vector<fpVector2> normals;
    float perimeter = 0.0f;
    fpRect localBounds;

    Polygon() = default;
    explicit Polygon(std::vector<fpVector2> outline);

    // Recomputes normals, perimeter and local bounds after the vertices were rewritten.
    void refresh();
    // The bounds placed by position and scale (rotated ones when the angle is not 0).
    fpRect worldBounds() const;

    // position + scale * (vertex i rotated by angle).
    fpVector2 getWorldVertex(std::size_t i) const;

    // Even-odd rule over the world vertices. Each edge counts for points above its lower
    // end up to and including its upper end, so a point level with the lowest vertex of
    // a square is outside. An empty polygon contains nothing.
    bool contains(const fpVector2& point) const;

    // The bounds in local units (the caller adds position and scale). The vertices are
    // rotated by the given angle only when the polygon's own angle is not 0.
    fpRect bounds(float rotation) const;
};

} // namespace zor
