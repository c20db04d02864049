// The parameter getters of an instruction call: definition files store every value as
// text, which each getter reads its own way.

#include "game/simulation/behavior/BehaviorData.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

TEST(BehaviorData, ParametersReadFromTextOrFallBackWhenAbsent) {
    MachineProperties properties;
    for (const char* text : {"2.5", "abc", "1", "0", "true", " 7x", "-3", "1e3", ""})
        properties[text] = MachineProperty{text, OptionalSettingValue(SettingValue(std::string(text)))};
    BehaviorData data;
    data.properties = &properties;

    const struct {
        const char* name;
        float asFloat;
        std::int32_t asInt;
        bool asBool;
    } cases[] = {
        {"2.5", 2.5f, 2, false},   {"abc", 0.0f, 0, false}, {"1", 1.0f, 1, true},
        {"0", 0.0f, 0, false},     {"true", 0.0f, 0, false}, {" 7x", 7.0f, 7, false},
        {"-3", -3.0f, -3, false},  {"1e3", 1000.0f, 1, true},  {"", 0.0f, 0, false},
        {"absent", 4.5f, 9, true},  // the fallbacks
    };
    for (const auto& c : cases) {
        const bool present = properties.count(c.name) != 0;
        EXPECT_EQ(data.has(c.name), present) << c.name;
        EXPECT_EQ(data.getFloat(c.name, 4.5f), c.asFloat) << c.name;
        EXPECT_EQ(data.getInt(c.name, 9), c.asInt) << c.name;
        EXPECT_EQ(data.getBool(c.name, true), c.asBool) << c.name;
        EXPECT_EQ(data.getString(c.name, "fallback"), present ? c.name : "fallback") << c.name;
    }
}

TEST(BehaviorData, WithoutADefinitionEveryParameterIsAbsent) {
    const BehaviorData data;
    EXPECT_FALSE(data.has("MinDelay"));
    EXPECT_EQ(data.getFloat("MinDelay", 1.5f), 1.5f);
    EXPECT_EQ(data.getString("State0", ""), "");
    EXPECT_FALSE(data.keepActive);
    EXPECT_FALSE(data.firstStep);
}

} // namespace
} // namespace zor
