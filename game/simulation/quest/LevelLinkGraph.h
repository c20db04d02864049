#pragma once
// The level-link table as the quest tracker walks it: the root level of every level, and
// the fewest levels from one level to another over the links the player may use. The
// records are copied at construction (a later reload of the library does not reach an
// existing graph), and the search keeps its scratch arrays, so a search allocates nothing.
// Links to a level without a record of its own lead nowhere and are left out.

#include "game/world/level/LevelLink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

struct ItemCountMap;

class LevelLinkGraph {
public:
    explicit LevelLinkGraph(const LevelLinkTable& table);

    // The level itself for a root level; for a sub-level the first root level a
    // breadth-first walk of its links reaches (required items do not matter). Empty for a
    // name without a record and for a sub-level that reaches no root level.
    const std::string& rootLevel(const std::string& name) const;

    // The number of levels on the shortest way from `from` to `to`, both ends counted (2
    // for a direct link), using only links whose required item `items` holds at least once.
    // 0 when the names are equal; -1 when either has no record or no way leads there.
    std::int32_t distance(const std::string& from, const std::string& to, const ItemCountMap& items);

private:
    static constexpr std::int32_t None = -1;

    struct Link {
        std::size_t target;
        std::string requiredItem;  // empty for none
    };
    struct Record {
        std::string name;
        bool subLevel = false;
        std::vector<Link> links;  // file order
        std::string root;
    };

    std::int32_t indexOf(const std::string& name) const;
    std::string findRoot(std::size_t start);
    // Removes and returns the open record of the lowest cost, the earliest opened on a tie.
    std::size_t takeCheapestOpen();

    std::vector<Record> m_records;
    std::unordered_map<std::string, std::size_t> m_indexByName;
    // Search scratch, one entry per record, emptied at the start of each search.
    std::vector<std::size_t> m_open;  // in the order records were opened
    std::vector<bool> m_isOpen;
    std::vector<bool> m_closed;
    std::vector<std::int32_t> m_parent;
    std::vector<std::int32_t> m_cost;
};

} // namespace zor
