#include "game/world/level/LevelLink.h"

namespace zor {

LevelLink& LevelLinkTable::getOrCreate(const std::string& name) {
    auto found = m_byName.find(name);
    if (found != m_byName.end()) return *found->second;
    LevelLink& record = m_records.emplace_back();
    record.name = name;
    m_byName.emplace(name, &record);
    return record;
}

const LevelLink* LevelLinkTable::find(const std::string& name) const {
    auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

void LevelLinkTable::resolveTargets() {
    for (LevelLink& record : m_records)
        for (LevelLinkEntry& link : record.links)
            link.target = find(link.targetName);
}

} // namespace zor
