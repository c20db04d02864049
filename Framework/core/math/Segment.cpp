#include "Framework/core/math/Segment.h"

#include <algorithm>

namespace zor {
namespace {

// Unclamped projection parameter; only for a segment with distinct ends.
float rawParameter(const fpSegment& segment, const fpVector2& p) {
    const fpVector2 d = segment.end - segment.start;
    return d.dot(p - segment.start) / d.dot(d);
}

} // namespace

float segmentParameter(const fpSegment& segment, const fpVector2& p) {
    if (segment.start == segment.end)
        return 0.0f;
    return std::clamp(rawParameter(segment, p), 0.0f, 1.0f);
}

fpVector2 closestPointOnSegment(const fpSegment& segment, const fpVector2& p) {
    if (segment.start == segment.end)
        return segment.start;
    const float t = rawParameter(segment, p);
    if (!(t > 0.0f))
        return segment.start;
    if (t >= 1.0f)
        return segment.end;
    return segment.start + (segment.end - segment.start) * t;
}

bool segmentIntersection(const fpSegment& first, fpVector2& out, const fpSegment& second) {
    const fpVector2 dA = first.end - first.start;
    const fpVector2 dB = second.end - second.start;
    const float denominator = dB.x * dA.y - dB.y * dA.x;
    if (denominator == 0.0f)
        return false;
    const fpVector2 between = second.start - first.start;
    const float s = (dA.x * between.y - dA.y * between.x) / denominator;
    const float t = (dB.x * between.y - dB.y * between.x) / denominator;
    if (s < 0.0f || s > 1.0f || t < 0.0f || t > 1.0f)
        return false;
    out = second.start + dB * s;
    return true;
}

fpRect segmentBounds(const fpSegment& segment) {
    fpRect bounds = fpRect::fromPoints(segment.start, segment.end);
    bounds.w = std::max(bounds.w, 1.0f);
    bounds.h = std::max(bounds.h, 1.0f);
    return bounds;
}

} // namespace zor
