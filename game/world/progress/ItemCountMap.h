#pragma once
// Counts by name (bought upgrades, owned special items) and a set of names already shown.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace zor {

struct ItemCountMap {
    std::unordered_map<std::string, std::int32_t> counts;
    std::unordered_set<std::string> names;
};

// The count of the name; 0 when absent.
std::int32_t itemCount(const std::string& name, const ItemCountMap& map);
// The count of the name is at least n (an absent name counts 0, so n <= 0 always holds).
bool hasItemAmount(const std::string& name, const ItemCountMap& map, std::int32_t n);

} // namespace zor
