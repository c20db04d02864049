#include "Framework/graphics/primitive/CommonPrimitiveBatch.h"

namespace zor {

namespace {

Primitive filled(std::int32_t type, PackedColor color) {
    Primitive primitive;
    primitive.type = type;
    for (PackedColor& slot : primitive.colors) slot = color;
    return primitive;
}

} // namespace

void CommonPrimitiveBatch::addLine(float x0, float y0, float x1, float y1, PackedColor color) {
    Primitive primitive = filled(Primitive::Line, color);
    primitive.line[0] = x0;
    primitive.line[1] = y0;
    primitive.line[2] = x1;
    primitive.line[3] = y1;
    push(primitive);
}

void CommonPrimitiveBatch::addRectOutline(const fpRect& rect, PackedColor color) {
    Primitive primitive = filled(Primitive::RectOutline, color);
    primitive.rect = rect;
    push(primitive);
}

void CommonPrimitiveBatch::addFilledRect(const fpRect& rect, PackedColor color) {
    Primitive primitive = filled(Primitive::FilledRect, color);
    primitive.rect = rect;
    push(primitive);
}

} // namespace zor
