#pragma once
// Line segments and their intersections.

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

namespace zor {

struct fpSegment {
    fpVector2 start;
    fpVector2 end;

    constexpr fpSegment() = default;
    constexpr fpSegment(const fpVector2& from, const fpVector2& to) : start(from), end(to) {}
    constexpr fpSegment(float x0, float y0, float x1, float y1) : start(x0, y0), end(x1, y1) {}
};

// Parameter in [0, 1] of the point's projection on the segment; 0 for a degenerate segment.
float segmentParameter(const fpSegment& segment, const fpVector2& p);
// The point of the segment nearest to p; the start for a degenerate segment.
fpVector2 closestPointOnSegment(const fpSegment& segment, const fpVector2& p);
// When the two segments cross (ends included), writes the crossing point to
// out and returns true; parallel segments never cross.
bool segmentIntersection(const fpSegment& first, fpVector2& out, const fpSegment& second);
// The bounding box of the segment with width and height at least 1.
fpRect segmentBounds(const fpSegment& segment);

} // namespace zor
