#pragma once
// Where the physics queues its debug pictures: the broadphase's cells and searches under
// the switch "cells", the counters under the switch "physics" (both of category "game
// debug", off at start). The world code draws nothing itself; the host hands in a canvas
// over the engine's debug drawing (DebugDrawCanvas), tests a recorder. Every shape is shown
// for the current frame only.

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/math/Color.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

#include <string>

namespace zor {

class PhysicsDebugCanvas {
public:
    virtual ~PhysicsDebugCanvas() = default;

    // In level pixels, drawn through the game camera.
    virtual void outline(const fpRect& rect, PackedColor color) = 0;
    virtual void line(const fpVector2& from, const fpVector2& to, PackedColor color) = 0;
    virtual void grid(const fpRect& rect, const fpVector2& cellSize, PackedColor color) = 0;
    // A text laid out in the box, in design pixels of the screen.
    virtual void message(const fpRect& box, const std::string& text, PackedColor color) = 0;
};

// The two switches of category "game debug": "cells" and "physics". Declared on first use;
// start-up asks for them so that they can be switched before the first level exists.
struct PhysicsDebugSwitches {
    DebugFlag& cells;
    DebugFlag& physics;
};
const PhysicsDebugSwitches& physicsDebugSwitches();

} // namespace zor
