#include "game/world/progress/ItemCountMap.h"

#include "game/world/progress/RecordLimits.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace zor {

void ItemCountMap::write(ByteWriter& writer, StringTableDynamic& table) const {
    checkRecordCount(counts.size(), MaxRecordEntries, "item counts");
    checkRecordCount(names.size(), MaxRecordEntries, "item names");
    std::vector<std::pair<std::string, std::int32_t>> sortedCounts(counts.begin(), counts.end());
    std::sort(sortedCounts.begin(), sortedCounts.end());
    std::vector<std::string> sortedNames(names.begin(), names.end());
    std::sort(sortedNames.begin(), sortedNames.end());

    writer.writeU8(std::uint8_t(sortedCounts.size()));
    for (const auto& [name, count] : sortedCounts) {
        writer.writeU16(recordNameIndex(table, name));
        writer.writeU8(std::uint8_t(std::clamp(count, 0, MaxRecordCount)));
    }
    writer.writeU8(std::uint8_t(sortedNames.size()));
    for (const std::string& name : sortedNames) writer.writeU16(recordNameIndex(table, name));
}

void ItemCountMap::read(ByteReader& reader, const StringTable& table) {
    counts.clear();
    for (std::uint8_t n = reader.readU8(); n > 0 && !reader.overflow(); --n) {
        const std::string& name = table.at(reader.readU16());
        const std::uint8_t count = reader.readU8();
        if (!reader.overflow()) counts[name] = count;
    }
    names.clear();
    for (std::uint8_t m = reader.readU8(); m > 0 && !reader.overflow(); --m) {
        const std::string& name = table.at(reader.readU16());
        if (!reader.overflow()) names.insert(name);
    }
}

std::int32_t itemCount(const std::string& name, const ItemCountMap& map) {
    if (map.counts.empty()) return 0;
    const auto found = map.counts.find(name);
    return found == map.counts.end() ? 0 : found->second;
}

bool hasItemAmount(const std::string& name, const ItemCountMap& map, std::int32_t n) {
    return itemCount(name, map) >= n;
}

bool hasItem(const std::string& name, const ItemCountMap& map) { return map.names.count(name) != 0; }

void decrementItem(const std::string& name, ItemCountMap& map) {
    const auto found = map.counts.find(name);
    if (found == map.counts.end()) return;
    // An entry at 0 or below would otherwise sink further and never go.
    if (found->second <= 1)
        map.counts.erase(found);
    else
        --found->second;
}

} // namespace zor
