#pragma once
// The debug commands of categories "game" (money, experience) and "upgrade" (the upgrade
// sets a player has on reaching each region). Each is a one-shot request, served and
// cleared at the start of the next step.

#include "Framework/core/debug/DebugFlags.h"

namespace zor {

class World;

class GameDebugCommands {
public:
    // Declares the commands (again for every Simulator; the flags are process-wide).
    GameDebugCommands();

    // Serves every pending command, in the order of the table; true when any was served,
    // so the caller can apply the changed items once.
    bool serve(World& world);

private:
    DebugFlag& m_cash;
    DebugFlag& m_experience;
    DebugFlag& m_upgradeAll;
    DebugFlag& m_upgradeNone;
    DebugFlag& m_upgradeMireth;
    DebugFlag& m_upgradeDeepvault;
    DebugFlag& m_upgradeQuellox;
    DebugFlag& m_upgradeBoss;
};

} // namespace zor
