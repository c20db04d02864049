#pragma once
// Axis-aligned rectangles: (x, y) is the top-left corner, right = x + w,
// bottom = y + h.

#include <cstdint>
#include <iosfwd>

#include "Framework/core/math/Vector.h"

namespace zor {

struct fpRect {
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;

    constexpr fpRect() = default;
    constexpr fpRect(float xValue, float yValue, float width, float height)
        : x(xValue), y(yValue), w(width), h(height) {}

    // Smaller corner and absolute extents of the two points.
    static fpRect fromPoints(const fpVector2& a, const fpVector2& b);
    static fpRect united(const fpRect& a, const fpRect& b);

    float right() const { return x + w; }
    float bottom() const { return y + h; }
    fpVector2 position() const { return {x, y}; }
    fpVector2 size() const { return {w, h}; }

    // Half-open: the left and top edges are inside, the right and bottom are not.
    bool contains(const fpVector2& p) const;
    // Grows to the smallest rectangle holding both; a zero-sized one still adds its corner.
    void unite(const fpRect& other);
    // Becomes the overlap and returns true, or becomes all zeros and returns
    // false when the two do not overlap with a positive area.
    bool intersect(const fpRect& other);
    // Grows one side so that w / h equals the aspect, centred on the old
    // rectangle; a rectangle with a zero side stays as it is.
    void expandToAspect(float aspect);
};

inline bool operator==(const fpRect& a, const fpRect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
inline bool operator!=(const fpRect& a, const fpRect& b) { return !(a == b); }

struct iRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t w = 0;
    std::int32_t h = 0;

    constexpr iRect() = default;
    constexpr iRect(std::int32_t xValue, std::int32_t yValue, std::int32_t width, std::int32_t height)
        : x(xValue), y(yValue), w(width), h(height) {}

    static iRect fromPoints(const iVector2& a, const iVector2& b);
};

inline bool operator==(const iRect& a, const iRect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
inline bool operator!=(const iRect& a, const iRect& b) { return !(a == b); }

// Text form x;y;w;h, read like the vectors (any one separator character).
std::ostream& operator<<(std::ostream& out, const fpRect& r);
std::istream& operator>>(std::istream& in, fpRect& r);

} // namespace zor
