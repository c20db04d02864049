#include "game/ui/MenuDebugCommands.h"

#include "Framework/core/debug/DebugFlags.h"

namespace zor {

void registerMenuDebugCommands() {
    declareDebugToggle(DebugToggle("restart", DebugToggle::OneShot, "menu"));
    declareDebugToggle(DebugToggle("levels", DebugToggle::OneShot, "state"));
    declareDebugToggle(DebugToggle("menuLayout", DebugToggle::Toggle, "system"));
    declareDebugToggle(DebugToggle("menuOverlay", DebugToggle::Toggle, "system"));
}

} // namespace zor
