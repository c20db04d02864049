#pragma once
// Overlap tests and push-out vectors between rectangles, circles and segments.

#include <cstdint>

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Segment.h"
#include "Framework/core/math/Vector.h"

namespace zor {

// When a and b overlap with positive depth on both axes, writes the shallowest
// way a penetrates b (candidates right, down, left, up; a tie keeps the earlier)
// and returns true; out is untouched otherwise. Moving a by -out separates them.
bool rectPenetration(const fpRect& a, const fpRect& b, fpVector2& out);
// Overlap of [a, b] and [c, d] signed by the side c-d lies on; 0 when b < c.
// Callers test a > d themselves.
float intervalPenetration(float a, float b, float c, float d);
// Which of the nine regions around rect holds p, numbered row by row from the
// top left (4 is inside; points on an edge belong to the outer region).
std::int32_t rectRegion(const fpRect& rect, const fpVector2& p);
// The vector by which the circle (centre x, centre y, radius) must move to
// leave the rectangle; zero when they do not touch.
fpVector2 rectCirclePenetration(const fpRect& rect, const fpVector3& circle);
// Whether the segment crosses an edge of the rectangle (a segment wholly
// inside crosses none).
bool rectSideTest(const fpRect& rect, const fpSegment& segment);
// False when the segment's bounds and the rectangle do not overlap. Otherwise
// true, with the first edge crossing (top, left, bottom, right) written to out;
// out keeps its value when no edge is crossed.
bool rectIntersectsSegment(fpVector2& out, const fpRect& rect, const fpSegment& segment);

} // namespace zor
