#include "game/world/progress/InventorySlotList.h"

#include "game/definitions/InventoryItemDefinition.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <algorithm>
#include <limits>

namespace zor {

void InventorySlotList::write(ByteWriter& writer, StringTableDynamic& names) const {
    // Every limit is checked first, so a refused list leaves the writer as it was; wrapping
    // would silently turn the rest of the save into another record.
    if (slots.size() > MaxRecordSlots)
        throw CheckReleaseError("An inventory record holds at most " + std::to_string(MaxRecordSlots) +
                                " slots, not " + std::to_string(slots.size()));
    std::vector<std::uint16_t> indices;
    indices.reserve(slots.size());
    for (const InventorySlot& slot : slots) {
        const std::size_t index = names.indexOf(slot.itemName);
        if (index > std::numeric_limits<std::uint16_t>::max())
            throw CheckReleaseError("The item name '" + slot.itemName + "' is beyond the 16-bit name index");
        indices.push_back(std::uint16_t(index));
    }
    writer.writeU8(std::uint8_t(slots.size()));
    for (std::size_t i = 0; i < slots.size(); ++i) {
        writer.writeU16(indices[i]);
        writer.writeU16(std::uint16_t(std::clamp(slots[i].count, 0, MaxRecordCount)));
    }
}

void InventorySlotList::read(ByteReader& reader, const StringTable& names) {
    slots.assign(reader.readU8(), InventorySlot());
    for (InventorySlot& slot : slots) {
        if (reader.overflow()) break;
        slot.itemName = names.at(reader.readU16());
        slot.count = reader.readU16();
        if (!slot.itemName.empty() && !inventoryItemRegistry().find(slot.itemName)) slot = InventorySlot();
    }
    trimTrailingEmpty();
}

void InventorySlotList::trimTrailingEmpty() {
    while (!slots.empty() && (slots.back().itemName.empty() || slots.back().count <= 0)) slots.pop_back();
}

} // namespace zor
