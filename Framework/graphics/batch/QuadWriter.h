#pragma once
// One quad's four vertices, computed two corners to a vector and stored in the vertex
// layout. Each corner is moved by the batches' corner formula, x' = (m0 x + m4 y) + m12
// in that order, so the results are the same bit for bit as one corner at a time. Corner
// order: (left, top), (left, bottom), (right, top), (right, bottom).

#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Scalar.h"
#include "Framework/core/math/Vector.h"
#include "Framework/graphics/batch/Quad.h"
#include "Framework/graphics/batch/Transform2D.h"

#include <cstdint>
#include <cstring>

namespace zor::quadwriter {

using Float4 = float __attribute__((vector_size(16)));

inline Float4 splat(float value) { return Float4{value, value, value, value}; }

// A placement as the corner formula reads it: linear (m0, m1, m4, m5), move (m12, m13,
// m12, m13) and the depth of every corner.
struct PlacementLanes {
    Float4 linear;
    Float4 move;
    float z;
};

inline PlacementLanes lanesOf(const Affine2D& p) {
    return {Float4{p.xx, p.yx, p.xy, p.yy}, Float4{p.tx, p.ty, p.tx, p.ty}, p.z};
}

// The source rectangle's corners around the pivot, as the batches lay a quad out locally:
// x of the left and right edges, y of corners 0 and 1 (top, top, bottom, bottom).
struct LocalCorners {
    float left, right;
    Float4 y;
};

inline LocalCorners localCorners(const fpRect& source, const fpVector2& pivot) {
    const float left = -pivot.x;
    const float top = -pivot.y;
    const float bottom = top + source.h;
    return {left, left + source.w, Float4{top, top, bottom, bottom}};
}

// Two corners a vector: (x0, y0, x1, y1) and (x2, y2, x3, y3); z of the four corners.
struct Corners {
    Float4 low, high;
    Float4 z;
};

inline Corners place(const LocalCorners& local, const PlacementLanes& m) {
    const Float4 columnX = __builtin_shufflevector(m.linear, m.linear, 0, 1, 0, 1);
    const Float4 columnY = __builtin_shufflevector(m.linear, m.linear, 2, 3, 2, 3);
    const Float4 fromY = columnY * local.y;
    return {(columnX * local.left + fromY) + m.move, (columnX * local.right + fromY) + m.move, splat(m.z)};
}

inline Corners transform(const LocalCorners& local, const fpMatrix4& m) {
    const Float4 columnX{m[0], m[1], m[0], m[1]};
    const Float4 fromY = Float4{m[4], m[5], m[4], m[5]} * local.y;
    const Float4 move{m[12], m[13], m[12], m[13]};
    const Float4 x{local.left, local.left, local.right, local.right};
    const Float4 y = __builtin_shufflevector(local.y, local.y, 0, 2, 0, 2);
    return {(columnX * local.left + fromY) + move, (columnX * local.right + fromY) + move,
            (x * m[2] + y * m[6]) + m[14]};
}

// x and y to whole numbers, halves away from zero; z stays.
inline void snap(Corners& corners) {
    for (int i = 0; i < 4; ++i) {
        corners.low[i] = roundHalfAway(corners.low[i]);
        corners.high[i] = roundHalfAway(corners.high[i]);
    }
}

using Int4 = std::int32_t __attribute__((vector_size(16)));

template <class To, class From>
To bitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From), "the same bits");
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

inline Float4 load(const fpRect& rect) { return bitCast<Float4>(rect); }

// Texture coordinates of corners 0 and 1 (u0, v0, u1, v1) and 2 and 3.
struct TexCoords {
    Float4 low, high;
};

// The source rectangle's share of the texture: left u = x rw, right u = left u + w rw,
// top v = y rh, bottom v = top v + h rh; the mirror flags swap the edges. `reciprocals`
// holds (rw, rh, rw, rh).
inline TexCoords texCoords(const fpRect& source, Float4 reciprocals, bool mirrorX, bool mirrorY) {
    const Float4 scaled = load(source) * reciprocals;                           // left, top, w rw, h rh
    const Float4 start = __builtin_shufflevector(scaled, scaled, 0, 1, 0, 1);  // left, top, left, top
    const Float4 extent = __builtin_shufflevector(scaled, scaled, 2, 3, 2, 3);
    if (mirrorX || mirrorY) {
        const Float4 end = start + extent;  // right, bottom, right, bottom
        const float left = mirrorX ? end[0] : start[0];
        const float right = mirrorX ? start[0] : end[0];
        const float top = mirrorY ? end[1] : start[1];
        const float bottom = mirrorY ? start[1] : end[1];
        return {Float4{left, top, left, bottom}, Float4{right, top, right, bottom}};
    }
    // Adding -0 keeps every number as it is, so the lanes without extent add that; the
    // masks pick the extent's lanes and put -0 in the others.
    constexpr std::int32_t all = -1;
    constexpr std::int32_t negativeZero = std::int32_t(0x80000000u);
    const Int4 bits = bitCast<Int4>(extent);
    const Int4 toLow = (bits & Int4{0, 0, 0, all}) | Int4{negativeZero, negativeZero, negativeZero, 0};
    const Int4 toHigh = (bits & Int4{all, 0, all, all}) | Int4{0, negativeZero, 0, 0};
    return {start + bitCast<Float4>(toLow), start + bitCast<Float4>(toHigh)};
}

inline void store(char* to, Float4 line) { std::memcpy(to, &line, sizeof line); }

// Interleaves the corner vectors into the 96 bytes of the quad. Only moves bits, so any
// colour's bytes pass unchanged.
inline void write(Quad& quad, const Corners& c, PackedColor color, const TexCoords& t) {
    const Float4 colors = splat(bitCast<float>(color));
    const Float4 zcLow = __builtin_shufflevector(c.z, colors, 0, 4, 1, 5);   // z0 c z1 c
    const Float4 zcHigh = __builtin_shufflevector(c.z, colors, 2, 6, 3, 7);  // z2 c z3 c
    // Stored line by line, so the lines go from registers straight to the quad.
    char* out = reinterpret_cast<char*>(&quad);
    store(out, __builtin_shufflevector(c.low, zcLow, 0, 1, 4, 5));          // x0 y0 z0 c
    store(out + 16, __builtin_shufflevector(t.low, c.low, 0, 1, 6, 7));     // u0 v0 x1 y1
    store(out + 32, __builtin_shufflevector(zcLow, t.low, 2, 3, 6, 7));     // z1 c u1 v1
    store(out + 48, __builtin_shufflevector(c.high, zcHigh, 0, 1, 4, 5));   // x2 y2 z2 c
    store(out + 64, __builtin_shufflevector(t.high, c.high, 0, 1, 6, 7));   // u2 v2 x3 y3
    store(out + 80, __builtin_shufflevector(zcHigh, t.high, 2, 3, 6, 7));   // z3 c u3 v3
}

} // namespace zor::quadwriter
