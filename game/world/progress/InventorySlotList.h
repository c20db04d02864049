#pragma once
// The slots of carried items: the player's pouch, and the contents of a bag of loot.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zor {

class ByteReader;
class ByteWriter;
class StringTable;
class StringTableDynamic;

struct InventorySlot {
    std::string itemName;  // empty for an empty slot
    std::int32_t count = 0;
};

struct InventorySlotList {
    // The most slots the record holds.
    static constexpr std::size_t MaxRecordSlots = 255;
    // Counts above it are stored as it.
    static constexpr std::int32_t MaxRecordCount = 65535;

    std::vector<InventorySlot> slots;  // in display order
    std::int32_t capacity = 4;         // raised by pouch upgrades

    // Puts up to `count` of the item in: first tops up the slots holding it, in order (a
    // slot above the stack limit gives its excess back to be placed again), then fills
    // empty slots, reusing them before the list grows, never beyond `capacity` slots.
    // A stack limit below 1 counts as 1. Returns the amount that did not fit: all of it
    // for an unregistered item.
    std::int32_t add(const std::string& itemName, std::int32_t count);
    // Empties the slot, then trims; an index outside the slots changes nothing.
    void clearSlot(std::int32_t index);
    // The item's count over all slots.
    std::int32_t countOf(const std::string& itemName) const;
    // Moves the items that drop on death, in order, into a new list (whose capacity is
    // the caller's to set); each leaves an empty slot here, and this list is trimmed.
    // Unregistered items stay.
    InventorySlotList takeDropOnDeath();
    // Count x value over the filled slots, in unsigned 32-bit arithmetic (a sum beyond
    // it wraps); unregistered items are worth nothing.
    std::uint32_t totalValue() const;

    // The record: u8 slot count, then per slot a u16 name index into `names` (names are
    // added to it) and a u16 count, limited to 0 to MaxRecordCount. Throws
    // CheckReleaseError, leaving the writer as it was, for more than MaxRecordSlots slots,
    // a name over 65535 bytes or a table that cannot take another name.
    void write(ByteWriter& writer, StringTableDynamic& names) const;
    // Replaces the slots (not the capacity) by the record's: an index beyond the table
    // gives an empty name, a name that is no registered inventory item an empty slot, and
    // trailing empty slots are dropped. A record cut short sets the reader's overflow flag
    // and leaves the slots after the cut empty.
    void read(ByteReader& reader, const StringTable& names);
    // Removes slots from the end while the last one has no name or a count of 0 or less.
    void trimTrailingEmpty();
};

} // namespace zor
