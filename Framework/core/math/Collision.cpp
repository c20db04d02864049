#include "Framework/core/math/Collision.h"

#include <cmath>

namespace zor {
namespace {

// The region's corner of the rectangle and the corner opposite it.
void cornersOf(const fpRect& rect, std::int32_t region, fpVector2& corner, fpVector2& opposite) {
    const fpVector2 topLeft(rect.x, rect.y);
    const fpVector2 topRight(rect.right(), rect.y);
    const fpVector2 bottomLeft(rect.x, rect.bottom());
    const fpVector2 bottomRight(rect.right(), rect.bottom());
    switch (region) {
    case 0: corner = topLeft; opposite = bottomRight; break;
    case 2: corner = topRight; opposite = bottomLeft; break;
    case 6: corner = bottomLeft; opposite = topRight; break;
    default: corner = bottomRight; opposite = topLeft; break;
    }
}

bool boundsOverlap(const fpRect& rect, const fpSegment& segment) {
    const fpRect bounds = segmentBounds(segment);
    return bounds.x < rect.right() && bounds.y < rect.bottom() && rect.x < bounds.right() &&
           rect.y < bounds.bottom();
}

// The first edge (top, left, bottom, right) the segment crosses.
bool firstEdgeCrossing(const fpRect& rect, const fpSegment& segment, fpVector2& out) {
    const fpVector2 topLeft(rect.x, rect.y);
    const fpVector2 topRight(rect.right(), rect.y);
    const fpVector2 bottomLeft(rect.x, rect.bottom());
    const fpVector2 bottomRight(rect.right(), rect.bottom());
    const fpSegment edges[] = {
        {topLeft, topRight},
        {topLeft, bottomLeft},
        {bottomRight, bottomLeft},
        {bottomRight, topRight},
    };
    for (const fpSegment& edge : edges) {
        if (segmentIntersection(segment, out, edge))
            return true;
    }
    return false;
}

} // namespace

bool rectPenetration(const fpRect& a, const fpRect& b, fpVector2& out) {
    const float right = a.x + a.w - b.x;
    const float down = a.y + a.h - b.y;
    const float left = b.x + b.w - a.x;
    const float up = b.y + b.h - a.y;
    if (!(right > 0.0f) || !(down > 0.0f) || !(left > 0.0f) || !(up > 0.0f))
        return false;
    fpVector2 best(right, 0.0f);
    float bestDepth = right;
    if (down < bestDepth) {
        best = {0.0f, down};
        bestDepth = down;
    }
    if (left < bestDepth) {
        best = {-left, 0.0f};
        bestDepth = left;
    }
    if (up < bestDepth)
        best = {0.0f, -up};
    out = best;
    return true;
}

float intervalPenetration(float a, float b, float c, float d) {
    if (b < c)
        return 0.0f;
    return (c + d) / 2.0f > (a + b) / 2.0f ? b - c : a - d;
}

std::int32_t rectRegion(const fpRect& rect, const fpVector2& p) {
    const std::int32_t row = p.y <= rect.y ? 0 : (p.y >= rect.bottom() ? 2 : 1);
    const std::int32_t column = p.x <= rect.x ? 0 : (p.x >= rect.right() ? 2 : 1);
    return row * 3 + column;
}

fpVector2 rectCirclePenetration(const fpRect& rect, const fpVector3& circle) {
    const fpVector2 centre(circle.x, circle.y);
    const float radius = circle.z;
    const std::int32_t region = rectRegion(rect, centre);
    if (region == 0 || region == 2 || region == 6 || region == 8) {
        fpVector2 corner;
        fpVector2 opposite;
        cornersOf(rect, region, corner, opposite);
        const fpVector2 toCentre = centre - corner;
        const float distance = toCentre.length();
        // A centre exactly on the corner gives no direction; the circle then
        // overlaps the rectangle by its radius along the diagonal out of it.
        const fpVector2 direction =
            distance > 0.0f ? toCentre / distance : (corner - opposite).normalized();
        const float projection = (opposite - corner).dot(direction);
        if (projection > distance + radius)
            return {};
        const float depth = intervalPenetration(projection, 0.0f, distance - radius, distance + radius);
        return direction * depth;
    }
    if (rect.y > circle.y + radius)
        return {};
    const float vertical = intervalPenetration(rect.y, rect.bottom(), circle.y - radius, circle.y + radius);
    if (vertical == 0.0f)
        return {};
    if (rect.x > circle.x + radius)
        return {};
    const float horizontal = intervalPenetration(rect.x, rect.right(), circle.x - radius, circle.x + radius);
    if (horizontal == 0.0f)
        return {};
    if (std::fabs(horizontal) <= std::fabs(vertical))
        return {horizontal, 0.0f};
    return {0.0f, vertical};
}

bool rectSideTest(const fpRect& rect, const fpSegment& segment) {
    fpVector2 crossing;
    return boundsOverlap(rect, segment) && firstEdgeCrossing(rect, segment, crossing);
}

bool rectIntersectsSegment(fpVector2& out, const fpRect& rect, const fpSegment& segment) {
    if (!boundsOverlap(rect, segment))
        return false;
    fpVector2 crossing;
    if (firstEdgeCrossing(rect, segment, crossing))
        out = crossing;
    return true;
}

} // namespace zor
