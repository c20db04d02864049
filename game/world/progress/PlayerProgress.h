#pragma once
// What the player has achieved that outlives a level. The World keeps the live record and,
// in its save state, the snapshot of the last checkpoint.

#include "game/world/progress/InventorySlotList.h"
#include "game/world/progress/ItemCountMap.h"

#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

struct PlayerProgress {
    InventorySlotList inventory;
    std::int32_t cash = 0;
    std::int32_t orbs = 0;
    ItemCountMap items;
    std::int32_t questIndex = 0;
    std::int32_t experience = 0;
    // Where the "[return]" entry of a level leads.
    std::string returnLevel;
    fpVector2 returnPosition;
    // What killed the player last ("suicide", ...); not saved.
    std::string lastDeathCause;
    std::uint16_t secretsFound = 0;
};

} // namespace zor
