#pragma once
// How the game's levels connect: one record per level name, telling whether the level is a
// sub-level (a cave that belongs to a level it connects to) and where its exits lead. The
// quest tracker walks these records to find root levels and the way towards a target.

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

struct LevelLink;

struct LevelLinkEntry {
    // The record named targetName, or null when the table has none.
    const LevelLink* target = nullptr;
    std::string targetName;
    std::string requiredItem;  // empty, or an item the player must hold to use the link
};

struct LevelLink {
    bool subLevel = false;
    std::string name;
    std::vector<LevelLinkEntry> links;  // file order
};

// The records by level name, iterated in the order their names first appeared. Move-only:
// link targets point at records of the same table.
class LevelLinkTable {
public:
    LevelLinkTable() = default;
    LevelLinkTable(LevelLinkTable&&) = default;
    LevelLinkTable& operator=(LevelLinkTable&&) = default;
    LevelLinkTable(const LevelLinkTable&) = delete;
    LevelLinkTable& operator=(const LevelLinkTable&) = delete;

    // The record of `name`, created empty (not a sub-level, no links) when absent.
    LevelLink& getOrCreate(const std::string& name);
    // Null when no record has that name.
    const LevelLink* find(const std::string& name) const;
    // Points every link at the record its target names, or at none.
    void resolveTargets();

    bool empty() const { return m_records.empty(); }
    std::size_t size() const { return m_records.size(); }
    std::deque<LevelLink>::const_iterator begin() const { return m_records.begin(); }
    std::deque<LevelLink>::const_iterator end() const { return m_records.end(); }

private:
    std::deque<LevelLink> m_records;  // stable addresses as records are added
    std::unordered_map<std::string, LevelLink*> m_byName;
};

} // namespace zor
