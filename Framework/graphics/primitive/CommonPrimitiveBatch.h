#pragma once
// Untextured coloured shapes queued for one flush; each shape is one draw call from
// client-side arrays. For small numbers of shapes: fades, highlights, debugging.

#include "Framework/core/math/Matrix4.h"
#include "Framework/graphics/primitive/Primitive.h"
#include "Framework/graphics/render/RenderState.h"

#include <vector>

namespace zor {

class CommonPrimitiveBatch {
public:
    CommonPrimitiveBatch() = default;
    virtual ~CommonPrimitiveBatch() = default;
    CommonPrimitiveBatch(const CommonPrimitiveBatch&) = delete;
    CommonPrimitiveBatch& operator=(const CommonPrimitiveBatch&) = delete;

    // Draws the queued shapes in order and empties the queue.
    virtual void flush() = 0;

    void push(const Primitive& primitive) { primitives.push_back(primitive); }
    // Each adder puts the colour in all four colour slots.
    void addLine(float x0, float y0, float x1, float y1, PackedColor color);
    void addRectOutline(const fpRect& rect, PackedColor color);
    void addFilledRect(const fpRect& rect, PackedColor color);

    std::vector<Primitive> primitives;
    // Callers set the model-view (raising the flag) and the blend mode before adding
    // shapes; both stay as set across flushes.
    fpMatrix4 modelView;
    bool modelViewChanged = false;
    BlendMode blendMode = 1;
};

} // namespace zor
