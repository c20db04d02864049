#pragma once
// One untextured shape of a primitive batch. Fields a type does not use are zero when
// the batch's own adders fill the record.

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Rect.h"

#include <cstdint>

namespace zor {

struct Primitive {
    enum Type : std::int32_t {
        Point = 0,
        Line = 1,
        RectOutline = 2,
        CircleOutline = 3,
        FilledRect = 4,
        FilledCircle = 5,
    };

    std::int32_t type = Point;
    fpRect rect;                        // RectOutline, FilledRect
    float line[4] = {0, 0, 0, 0};       // Line: x0, y0, x1, y1
    float point[2] = {0, 0};            // Point: x, y
    float circle[3] = {0, 0, 0};        // CircleOutline, FilledCircle: centre x, centre y, radius
    // Points, circles and lines use c0 (a line's end takes c1); rectangles take one colour
    // per corner: top-left, top-right, bottom-left, bottom-right (an outline walks them as
    // top-left, bottom-left, bottom-right, top-right).
    PackedColor colors[4];
};
static_assert(sizeof(Primitive) == 72, "the primitive record is fixed");

// Each channel x 255, clamped to 0..255 and truncated; not-a-number gives 0.
PackedColor packColorPlain(float red, float green, float blue, float alpha);
// The same with red, green and blue multiplied by alpha first: the premultiplied colour
// that textured quads blended with ONE / ONE_MINUS_SRC_ALPHA take.
PackedColor packColor(float red, float green, float blue, float alpha);

} // namespace zor
