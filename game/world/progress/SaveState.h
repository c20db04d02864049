#pragma once
// What the save slot holds: the progress and the player's vital values at the last
// checkpoint, and one record per visited level.

#include "game/world/level/PersistentLevelInfo.h"
#include "game/world/progress/PlayerProgress.h"

#include "Framework/core/io/StringTable.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace zor {

struct SaveState {
    // The table every save record indexes into.
    StringTableDynamic names;
    std::map<std::string, std::shared_ptr<PersistentLevelInfo>> levels;
    PlayerProgress progress;
    float hitPoints = -1.0f;  // below 0: no checkpoint yet
    float water = 0.0f;
    float lightTime = 0.0f;
    std::int32_t weaponIndex = 0;
    std::int32_t toolIndex = 0;
};

} // namespace zor
