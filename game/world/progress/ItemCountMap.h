#pragma once
// Counts by name (bought upgrades, owned special items) and a set of names already shown.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace zor {

class ByteReader;
class ByteWriter;
class StringTable;
class StringTableDynamic;

struct ItemCountMap {
    // The most count entries, and the most names, the record holds.
    static constexpr std::size_t MaxRecordEntries = 255;
    // Counts are stored as 0 to this.
    static constexpr std::int32_t MaxRecordCount = 255;

    std::unordered_map<std::string, std::int32_t> counts;
    std::unordered_set<std::string> names;

    // The record: u8 entry count, per entry a u16 name index and a u8 count, then u8 name
    // count and a u16 index per name; entries and names in name order, so equal maps give
    // equal bytes. Names are added to the table. Throws CheckReleaseError, writing nothing,
    // for more than MaxRecordEntries entries or names.
    void write(ByteWriter& writer, StringTableDynamic& table) const;
    // Replaces counts and names by the record's; an index beyond the table gives the empty
    // name. A record cut short sets the reader's overflow flag and keeps what was whole.
    void read(ByteReader& reader, const StringTable& table);
};

// The count of the name; 0 when absent.
std::int32_t itemCount(const std::string& name, const ItemCountMap& map);
// The count of the name is at least n (an absent name counts 0, so n <= 0 always holds).
bool hasItemAmount(const std::string& name, const ItemCountMap& map, std::int32_t n);
// The name is in the map's set of names.
bool hasItem(const std::string& name, const ItemCountMap& map);
// Spends one: the count falls by 1, and an entry left without items goes. An absent name
// changes nothing (callers test hasItemAmount first).
void decrementItem(const std::string& name, ItemCountMap& map);

} // namespace zor
