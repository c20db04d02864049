#include "game/simulation/behavior/BehaviorData.h"

#include "Framework/system/surface/UpdateRecord.h"

namespace zor {

float BehaviorData::stepTime() const { return update->stepLength; }

const OptionalSettingValue* BehaviorData::find(std::string_view name) const {
    const auto found = findName(*properties, name);
    return found == properties->end() ? nullptr : &found->second.value;
}

float BehaviorData::getFloat(std::string_view name, float fallback) const {
    const OptionalSettingValue* value = find(name);
    return value ? directFloat(value->value) : fallback;
}

std::int32_t BehaviorData::getInt(std::string_view name, std::int32_t fallback) const {
    const OptionalSettingValue* value = find(name);
    return value ? valueAsInt(*value) : fallback;
}

bool BehaviorData::getBool(std::string_view name, bool fallback) const {
    const OptionalSettingValue* value = find(name);
    return value ? valueAsBool(*value) : fallback;
}

std::string BehaviorData::getString(std::string_view name, std::string_view fallback) const {
    const OptionalSettingValue* value = find(name);
    return value ? valueAsString(*value) : std::string(fallback);
}

std::string_view BehaviorData::getText(std::string_view name, std::string_view fallback) const {
    const OptionalSettingValue* value = find(name);
    if (!value) return fallback;
    if (const auto* text = std::get_if<std::string>(&value->value)) return *text;
    if (const auto* text = std::get_if<const char*>(&value->value)) return *text ? *text : std::string_view();
    return {};
}

bool BehaviorData::has(std::string_view name) const { return find(name) != nullptr; }

} // namespace zor
