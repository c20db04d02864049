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

class ByteReader;
class ByteWriter;

struct SaveState {
    // The table every save record indexes into.
    StringTableDynamic names;
    std::map<std::string, std::shared_ptr<PersistentLevelInfo>> levels;
    PlayerProgress progress;
    float hitPoints = -1.0f;  // below 0: no checkpoint yet
    float water = 0.0f;
    float lightTime = 0.0f;
    std::int32_t weaponIndex = 0;
    std::int32_t toolIndex = 0;  // -1: none

    // The vital values of the checkpoint as the save file holds them: hit points, water and
    // light time (f32), the weapon index as u8 (stored as 0 to 255) and the tool index as
    // i8 (stored as -1 to 127).
    void writeCheckpointValues(ByteWriter& writer) const;
    // A record cut short sets the reader's overflow flag and leaves the values it did not
    // reach.
    void readCheckpointValues(ByteReader& reader);

    // Exchanges every member, the table together with the records whose indices refer to it.
    void swap(SaveState& other);
};

} // namespace zor
