#include "game/simulation/debug/DebugDrawCanvas.h"

#include "Framework/graphics/debug/DebugDraw.h"

namespace zor {
namespace {

// Shown for the current frame only.
constexpr float OneFrame = 0.0f;

} // namespace

void DebugDrawCanvas::outline(const fpRect& rect, PackedColor color) {
    if (DebugDraw::exists()) DebugDraw::instance().worldLayer.addRectangle(rect, OneFrame, color);
}

void DebugDrawCanvas::line(const fpVector2& from, const fpVector2& to, PackedColor color) {
    if (DebugDraw::exists()) DebugDraw::instance().worldLayer.addLine(fpSegment(from, to), OneFrame, color);
}

void DebugDrawCanvas::grid(const fpRect& rect, const fpVector2& cellSize, PackedColor color) {
    if (DebugDraw::exists()) DebugDraw::instance().worldLayer.addGrid(rect, cellSize, OneFrame, color);
}

void DebugDrawCanvas::message(const fpRect& box, const std::string& text, PackedColor color) {
    if (!DebugDraw::exists()) return;
    DebugDraw& debugDraw = DebugDraw::instance();
    debugDraw.addMessage(box, debugDraw.screenLayer, text, OneFrame, color);
}

} // namespace zor
