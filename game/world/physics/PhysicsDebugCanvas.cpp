#include "game/world/physics/PhysicsDebugCanvas.h"

namespace zor {

const PhysicsDebugSwitches& physicsDebugSwitches() {
    static const PhysicsDebugSwitches switches{
        declareDebugToggle(DebugToggle("cells", DebugToggle::Toggle, "game debug")),
        declareDebugToggle(DebugToggle("physics", DebugToggle::Toggle, "game debug")),
    };
    return switches;
}

} // namespace zor
