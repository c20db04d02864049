#include "game/ui/LinkedLevelKey.h"

#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/level/PatchLibraryTables.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/input/InputState.h"

namespace zor {

bool LinkedLevelKey::handle(InputState& input, Simulator& simulator) {
    if (!input.wasPressed(Button) || simulator.levelChangePending()) return false;
    const World& world = simulator.world();
    const Level* level = world.level.get();
    const std::shared_ptr<const LevelLink> links = level ? findLevelLink(level->name) : nullptr;
    if (!links || links->links.empty()) {
        LogHandler::log(LogHandler::Info, "Ingame", "No level is linked to " + (level ? level->name : "no level"));
        return false;
    }
    const LevelLinkEntry& next = links->links[m_turns[level->name]++ % links->links.size()];
    LogHandler::log(LogHandler::Info, "Ingame", "Next linked level: " + next.targetName);
    simulator.requestLevel(next.targetName, Simulator::StartEntry, fpVector2());
    return true;
}

} // namespace zor
