#include "game/world/progress/SaveState.h"

#include "game/world/progress/RecordLimits.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"

#include <algorithm>
#include <utility>

namespace zor {

void SaveState::writeCheckpointValues(ByteWriter& writer) const {
    writer.writeFloat(hitPoints);
    writer.writeFloat(water);
    writer.writeFloat(lightTime);
    writer.writeU8(saturated<std::uint8_t>(weaponIndex));
    // Read back signed, and -1 is the only index below 0 (no tool): the low 8 bits of 200
    // would come back as -56.
    writer.writeU8(std::uint8_t(std::int8_t(std::clamp(toolIndex, -1, 127))));
}

void SaveState::readCheckpointValues(ByteReader& reader) {
    reader.readFloat(hitPoints);
    reader.readFloat(water);
    reader.readFloat(lightTime);
    const std::uint8_t weapon = reader.readU8();
    if (!reader.overflow()) weaponIndex = weapon;
    const std::uint8_t tool = reader.readU8();
    if (!reader.overflow()) toolIndex = std::int8_t(tool);
}

void SaveState::swap(SaveState& other) {
    using std::swap;
    swap(names, other.names);
    swap(levels, other.levels);
    progress.swap(other.progress);
    swap(hitPoints, other.hitPoints);
    swap(water, other.water);
    swap(lightTime, other.lightTime);
    swap(weaponIndex, other.weaponIndex);
    swap(toolIndex, other.toolIndex);
}

} // namespace zor
