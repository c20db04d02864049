#include "game/simulation/quest/LevelLinkGraph.h"

#include "game/world/progress/ItemCountMap.h"

#include <algorithm>

namespace zor {

LevelLinkGraph::LevelLinkGraph(const LevelLinkTable& table) {
    for (const LevelLink& link : table) {
        m_indexByName.emplace(link.name, m_records.size());
        m_records.push_back(Record{link.name, link.subLevel, {}, {}});
    }
    auto record = m_records.begin();
    for (const LevelLink& link : table) {
        for (const LevelLinkEntry& entry : link.links)
            if (entry.target) record->links.push_back(Link{m_indexByName.at(entry.targetName), entry.requiredItem});
        ++record;
    }
    const std::size_t count = m_records.size();
    m_open.reserve(count);
    m_isOpen.assign(count, false);
    m_closed.assign(count, false);
    m_parent.assign(count, None);
    m_cost.assign(count, 0);
    for (std::size_t index = 0; index < count; ++index)
        m_records[index].root = m_records[index].subLevel ? findRoot(index) : m_records[index].name;
}

const std::string& LevelLinkGraph::rootLevel(const std::string& name) const {
    static const std::string none;
    const std::int32_t index = indexOf(name);
    return index == None ? none : m_records[std::size_t(index)].root;
}

std::int32_t LevelLinkGraph::indexOf(const std::string& name) const {
    const auto found = m_indexByName.find(name);
    return found == m_indexByName.end() ? None : std::int32_t(found->second);
}

std::string LevelLinkGraph::findRoot(std::size_t start) {
    m_open.assign(1, start);
    std::fill(m_isOpen.begin(), m_isOpen.end(), false);
    std::fill(m_closed.begin(), m_closed.end(), false);
    m_isOpen[start] = true;
    // m_open serves as a queue: each record enters once, so it never outgrows the records.
    for (std::size_t head = 0; head < m_open.size(); ++head) {
        const std::size_t current = m_open[head];
        if (!m_records[current].subLevel) return m_records[current].name;
        m_closed[current] = true;
        for (const Link& link : m_records[current].links)
            if (!m_closed[link.target] && !m_isOpen[link.target]) {
                m_isOpen[link.target] = true;
                m_open.push_back(link.target);
            }
    }
    return {};
}

std::int32_t LevelLinkGraph::distance(const std::string& from, const std::string& to, const ItemCountMap& items) {
    if (from == to) return 0;
    const std::int32_t start = indexOf(from);
    const std::int32_t goal = indexOf(to);
    if (start == None || goal == None) return None;

    m_open.clear();
    std::fill(m_isOpen.begin(), m_isOpen.end(), false);
    std::fill(m_closed.begin(), m_closed.end(), false);
    std::fill(m_parent.begin(), m_parent.end(), None);
    m_cost[std::size_t(start)] = 0;
    m_open.push_back(std::size_t(start));
    m_isOpen[std::size_t(start)] = true;

    while (!m_open.empty()) {
        const std::size_t current = takeCheapestOpen();
        if (current == std::size_t(goal)) {
            std::int32_t levels = 1;
            for (std::int32_t at = goal; m_parent[std::size_t(at)] != None && levels <= std::int32_t(m_records.size());
                 at = m_parent[std::size_t(at)])
                ++levels;
            return levels;
        }
        m_closed[current] = true;
        const std::int32_t cost = m_cost[current] + 1;
        for (const Link& link : m_records[current].links) {
            if (!link.requiredItem.empty() && !hasItemAmount(link.requiredItem, items, 1)) continue;
            const std::size_t target = link.target;
            if ((m_closed[target] || m_isOpen[target]) && m_cost[target] <= cost) continue;
            m_parent[target] = std::int32_t(current);
            m_cost[target] = cost;
            if (!m_isOpen[target]) {
                m_isOpen[target] = true;
                m_open.push_back(target);
            }
        }
    }
    return None;
}

std::size_t LevelLinkGraph::takeCheapestOpen() {
    auto cheapest = m_open.begin();
    for (auto it = m_open.begin(); it != m_open.end(); ++it)
        if (m_cost[*it] < m_cost[*cheapest]) cheapest = it;
    const std::size_t record = *cheapest;
    m_open.erase(cheapest);
    m_isOpen[record] = false;
    return record;
}

} // namespace zor
