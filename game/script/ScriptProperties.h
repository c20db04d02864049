#pragma once
// The properties of a level's script record as a node type reads them: each value (a flag
// or a text) goes through the setting conversions, and a key the record lacks reads as the
// integer 0 converted (0, false, "0").

#include "game/world/level/PatchSet.h"

#include <cstdint>
#include <map>
#include <string>

namespace zor {

class ScriptProperties {
public:
    explicit ScriptProperties(const std::map<std::string, PatchGraphValue>& values) : m_values(values) {}

    std::int32_t integer(const std::string& key) const;
    float number(const std::string& key) const;
    bool flag(const std::string& key) const;
    std::string text(const std::string& key) const;

private:
    const std::map<std::string, PatchGraphValue>& m_values;
};

} // namespace zor
