#pragma once
// The physics' debug pictures on the engine's debug drawing: shapes in the world layer,
// messages in the screen layer, each for one frame. Does nothing while no DebugDraw exists
// (tests, tools). Any thread, like the debug drawing itself.

#include "game/world/physics/PhysicsDebugCanvas.h"

namespace zor {

class DebugDrawCanvas final : public PhysicsDebugCanvas {
public:
    void outline(const fpRect& rect, PackedColor color) override;
    void line(const fpVector2& from, const fpVector2& to, PackedColor color) override;
    void grid(const fpRect& rect, const fpVector2& cellSize, PackedColor color) override;
    void message(const fpRect& box, const std::string& text, PackedColor color) override;
};

} // namespace zor
