#include "Framework/graphics/primitive/PrimitiveGeometry.h"

#include "Framework/core/math/Scalar.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zor {

namespace {

constexpr float TwoPi = 6.2831855f;

std::int32_t wholeLog2(float radius) {
    // trunc(radius), with radii below 1 (and not-a-number) as 0.
    const std::uint32_t whole = radius >= 1.0f ? std::uint32_t(std::min(radius, 4.0e9f)) : 0u;
    return log2Floor(whole);
}

void add(PrimitiveGeometry& geometry, float x, float y, PackedColor color) {
    geometry.positions.push_back(fpVector2(x, y));
    geometry.colors.push_back(color);
}

void addHalf(PrimitiveGeometry& geometry, float x, float y, PackedColor color) {
    add(geometry, x + 0.5f, y + 0.5f, color);
}

void addCircle(PrimitiveGeometry& geometry, const Primitive& primitive, int segments) {
    const float cx = primitive.circle[0];
    const float cy = primitive.circle[1];
    const float radius = primitive.circle[2];
    if (segments <= 0) {
        // No segment to step by: the loop's first vertex alone.
        add(geometry, cx + radius, cy, primitive.colors[0]);
        return;
    }
    // One vertex per segment; angles are multiples of the step rather than a running
    // sum, so rounding never adds a vertex on top of the first.
    const float step = TwoPi / float(segments);
    for (int i = 0; i < segments; ++i) {
        const float angle = float(i) * step;
        add(geometry, cx + std::cos(angle) * radius, cy + std::sin(angle) * radius, primitive.colors[0]);
    }
}

} // namespace

PackedColor packColorPlain(float red, float green, float blue, float alpha) {
    const auto channel = [](float value) -> std::uint8_t {
        const float scaled = value * 255.0f;
        if (!(scaled > 0.0f)) return 0;
        return std::uint8_t(std::min(scaled, 255.0f));
    };
    return PackedColor::fromChannels(channel(red), channel(green), channel(blue), channel(alpha));
}

PackedColor packColor(float red, float green, float blue, float alpha) {
    return packColorPlain(red * alpha, green * alpha, blue * alpha, alpha);
}

int circleOutlineSegments(float radius) { return 3 * wholeLog2(radius) + 3; }

int filledCircleSegments(float radius) {
    const float around = radius * TwoPi / 16.0f;
    const int byLength = around >= 1.0f ? int(std::min(around, float(MaxCircleSegments))) : 0;
    return std::min(std::max(byLength, 4 * wholeLog2(radius)), MaxCircleSegments);
}

bool buildPrimitiveGeometry(const Primitive& primitive, PrimitiveGeometry& geometry) {
    geometry.positions.clear();
    geometry.colors.clear();
    const PackedColor* c = primitive.colors;
    const fpRect& r = primitive.rect;
    switch (primitive.type) {
    case Primitive::Point:
        geometry.mode = GL_POINTS;
        addHalf(geometry, primitive.point[0], primitive.point[1], c[0]);
        return true;
    case Primitive::Line:
        geometry.mode = GL_LINES;
        addHalf(geometry, primitive.line[0], primitive.line[1], c[0]);
        addHalf(geometry, primitive.line[2], primitive.line[3], c[1]);
        return true;
    case Primitive::RectOutline:
        geometry.mode = GL_LINE_LOOP;
        addHalf(geometry, r.x, r.y, c[0]);
        addHalf(geometry, r.x, r.y + r.h, c[1]);
        addHalf(geometry, r.x + r.w, r.y + r.h, c[2]);
        addHalf(geometry, r.x + r.w, r.y, c[3]);
        return true;
    case Primitive::CircleOutline:
        geometry.mode = GL_LINE_LOOP;
        addCircle(geometry, primitive, circleOutlineSegments(primitive.circle[2]));
        return true;
    case Primitive::FilledRect:
        geometry.mode = GL_TRIANGLES;
        add(geometry, r.x, r.y, c[0]);
        add(geometry, r.x, r.y + r.h, c[2]);
        add(geometry, r.x + r.w, r.y, c[1]);
        add(geometry, r.x + r.w, r.y, c[1]);
        add(geometry, r.x, r.y + r.h, c[2]);
        add(geometry, r.x + r.w, r.y + r.h, c[3]);
        return true;
    case Primitive::FilledCircle: {
        const int segments = filledCircleSegments(primitive.circle[2]);
        if (segments < 2) return false;
        geometry.mode = GL_TRIANGLE_FAN;
        addCircle(geometry, primitive, segments);
        return true;
    }
    default:
        return false;
    }
}

int trianglesOf(const PrimitiveGeometry& geometry) {
    const int vertices = static_cast<int>(geometry.positions.size());
    switch (geometry.mode) {
    case GL_TRIANGLES: return vertices / 3;
    case GL_TRIANGLE_FAN:
    case GL_TRIANGLE_STRIP: return vertices > 2 ? vertices - 2 : 0;
    default: return 0;
    }
}

} // namespace zor
