#pragma once
// The vertex layout the quad batches fill and upload.

#include "Framework/core/math/Color.h"

namespace zor {

// The GL vertex layout: 24 bytes.
struct Vertex {
    float x, y, z;
    PackedColor color;  // bytes red, green, blue, alpha
    float u, v;
};
static_assert(sizeof(Vertex) == 24, "the vertex layout is fixed");

// Corners 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right; drawn as the
// triangles (0, 1, 2) and (3, 2, 1).
struct Quad {
    Vertex vertices[4];
};
static_assert(sizeof(Quad) == 96, "the quad layout is fixed");

} // namespace zor
