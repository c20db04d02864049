#include "game/ui/MenuDebugCommands.h"

#include "game/simulation/StateRequests.h"

#include "Framework/core/debug/DebugFlags.h"

namespace zor {

void registerMenuDebugCommands() {
    stateCommands();
    declareDebugToggle(DebugToggle("menuLayout", DebugToggle::Toggle, "system"));
    declareDebugToggle(DebugToggle("menuOverlay", DebugToggle::Toggle, "system"));
}

} // namespace zor
