#include "game/script/ScriptProperties.h"

#include "Framework/core/settings/SettingValue.h"

namespace zor {

namespace {

SettingValue settingOf(const std::map<std::string, PatchGraphValue>& values, const std::string& key) {
    const auto found = values.find(key);
    if (found == values.end()) return SettingValue();
    if (const bool* flag = std::get_if<bool>(&found->second)) return SettingValue(std::int32_t(*flag ? 1 : 0));
    return SettingValue(std::get<std::string>(found->second));
}

} // namespace

std::int32_t ScriptProperties::integer(const std::string& key) const { return valueAsInt(settingOf(m_values, key)); }

float ScriptProperties::number(const std::string& key) const { return valueAsFloat(settingOf(m_values, key)); }

bool ScriptProperties::flag(const std::string& key) const { return valueAsBool(settingOf(m_values, key)); }

std::string ScriptProperties::text(const std::string& key) const { return valueAsString(settingOf(m_values, key)); }

} // namespace zor
