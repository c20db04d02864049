#pragma once
// The vertices a primitive is drawn with: built on the CPU for each primitive at flush, so
// the shapes are testable without a GL context.

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Vector.h"
#include "Framework/graphics/primitive/Primitive.h"

#include <vector>

namespace zor {

struct PrimitiveGeometry {
    unsigned mode = 0;  // GL primitive mode
    std::vector<fpVector2> positions;
    std::vector<PackedColor> colors;  // one per position
};

// Filled circles never get more segments than this, however large the radius.
constexpr int MaxCircleSegments = 4096;

// False (geometry left empty) for shapes that draw nothing: unknown types and filled
// circles of fewer than two segments. Points, lines and rectangle outlines are moved by
// half a pixel onto pixel centres; filled shapes and circles are not.
bool buildPrimitiveGeometry(const Primitive& primitive, PrimitiveGeometry& geometry);

// The triangles the geometry fills: none for points and lines.
int trianglesOf(const PrimitiveGeometry& geometry);

// Segments of a circle outline: 3 * floor(log2(trunc(radius))) + 3, with the logarithm of
// 0 taken as -1 (so radii below 1 give 0: a single vertex).
int circleOutlineSegments(float radius);
// Segments of a filled circle: the larger of trunc(radius * 2pi / 16) and
// 4 * floor(log2(trunc(radius))).
int filledCircleSegments(float radius);

} // namespace zor
