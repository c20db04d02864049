#include "game/world/progress/InventorySlotList.h"

#include "game/definitions/InventoryItemDefinition.h"
#include "game/world/progress/RecordLimits.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace zor {

std::int32_t InventorySlotList::add(const std::string& itemName, std::int32_t count) {
    const auto item = findInventoryItemDefinitionOrNull(itemName);
    if (!item) return count;
    // A limit below 1 in the data would otherwise hand out negative stacks and return
    // more than it was given.
    const std::int32_t stack = std::max(item->maxCountPerStack, 1);
    std::int32_t remaining = count;
    for (InventorySlot& slot : slots) {
        if (remaining <= 0) break;
        if (slot.itemName != itemName) continue;
        const std::int32_t take = std::int32_t(std::min<std::int64_t>(std::int64_t(stack) - slot.count, remaining));
        slot.count += take;
        remaining -= take;
    }
    for (std::int32_t i = 0; i < capacity && remaining > 0; ++i) {
        if (slots.size() <= std::size_t(i)) slots.resize(std::size_t(i) + 1);
        InventorySlot& slot = slots[std::size_t(i)];
        if (!slot.itemName.empty()) continue;
        const std::int32_t put = std::min(stack, remaining);
        slot.itemName = itemName;
        // A nameless slot holds no items, whatever count a damaged save left in it.
        slot.count = put;
        remaining -= put;
    }
    return remaining;
}

void InventorySlotList::clearSlot(std::int32_t index) {
    if (index < 0 || std::size_t(index) >= slots.size()) return;
    slots[std::size_t(index)] = InventorySlot();
    trimTrailingEmpty();
}

std::int32_t InventorySlotList::countOf(const std::string& itemName) const {
    std::int64_t total = 0;
    for (const InventorySlot& slot : slots)
        if (slot.itemName == itemName) total += slot.count;
    return saturated<std::int32_t>(total);
}

InventorySlotList InventorySlotList::takeDropOnDeath() {
    InventorySlotList dropped;
    for (InventorySlot& slot : slots) {
        if (slot.itemName.empty()) continue;
        const auto item = findInventoryItemDefinitionOrNull(slot.itemName);
        if (!item || !item->droppedOnDeath) continue;
        dropped.slots.emplace_back();
        std::swap(dropped.slots.back(), slot);
    }
    trimTrailingEmpty();
    return dropped;
}

std::uint32_t InventorySlotList::totalValue() const {
    std::uint32_t total = 0;
    for (const InventorySlot& slot : slots) {
        if (slot.itemName.empty()) continue;
        if (const auto item = findInventoryItemDefinitionOrNull(slot.itemName))
            total += std::uint32_t(slot.count) * std::uint32_t(item->value);
    }
    return total;
}

void InventorySlotList::write(ByteWriter& writer, StringTableDynamic& names) const {
    // Every limit is checked first, so a refused list leaves the writer as it was; wrapping
    // would silently turn the rest of the save into another record.
    if (slots.size() > MaxRecordSlots)
        throw CheckReleaseError("An inventory record holds at most " + std::to_string(MaxRecordSlots) +
                                " slots, not " + std::to_string(slots.size()));
    std::vector<std::uint16_t> indices;
    indices.reserve(slots.size());
    for (const InventorySlot& slot : slots) indices.push_back(recordNameIndex(names, slot.itemName));
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
        if (!slot.itemName.empty() && !hasInventoryItemDefinition(slot.itemName)) slot = InventorySlot();
    }
    trimTrailingEmpty();
}

void InventorySlotList::trimTrailingEmpty() {
    while (!slots.empty() && (slots.back().itemName.empty() || slots.back().count <= 0)) slots.pop_back();
}

} // namespace zor
