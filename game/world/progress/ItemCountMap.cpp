#include "game/world/progress/ItemCountMap.h"

namespace zor {

std::int32_t itemCount(const std::string& name, const ItemCountMap& map) {
    if (map.counts.empty()) return 0;
    const auto found = map.counts.find(name);
    return found == map.counts.end() ? 0 : found->second;
}

bool hasItemAmount(const std::string& name, const ItemCountMap& map, std::int32_t n) {
    return itemCount(name, map) >= n;
}

} // namespace zor
