#include "game/world/WorldSaveFiles.h"

#include "game/world/World.h"

#include "Framework/core/io/Files.h"

#include <memory>
#include <utility>

namespace zor {

std::string worldSaveFileName(std::int32_t slot) {
    return "savegame_" + std::to_string(slot) + ".dat";
}

void discardSaveKeepCurrentLevel(World& world, std::int32_t slot) {
    auto& levels = world.saveState.levels;
    std::shared_ptr<PersistentLevelInfo> kept;
    if (world.level) {
        const auto found = levels.find(world.level->name);
        if (found != levels.end()) kept = std::move(found->second);
    }
    levels.clear();
    if (kept) levels.emplace(world.level->name, std::move(kept));
    if (slot == NoSaveSlot) return;
    const std::string file = worldSaveFileName(slot);
    deleteUserFile(file);
    deleteUserFile(file + ".backup");
}

} // namespace zor
