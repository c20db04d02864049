#include "Framework/core/settings/SettingValue.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

std::string show(const SettingValue& value) {
    return "tag " + std::to_string(value.index()) + " [" + settingTextForm(value) + "]";
}

TEST(SettingValueTest, DefaultIsTheIntegerZeroAndTagsFollowTheDeclaredOrder) {
    EXPECT_EQ(SettingValue().index(), 0u);
    EXPECT_EQ(std::get<std::int32_t>(SettingValue()), 0);
    EXPECT_EQ(SettingValue("c").index(), 1u);
    EXPECT_EQ(SettingValue(1.5f).index(), 2u);
    EXPECT_EQ(SettingValue(std::string("s")).index(), 3u);
    EXPECT_EQ(SettingValue(fpVector2(1, 2)).index(), 4u);
    EXPECT_EQ(SettingValue(fpVector3(1, 2, 3)).index(), 5u);
    EXPECT_EQ(SettingValue(fpRect(1, 2, 3, 4)).index(), 6u);

    OptionalSettingValue unset;
    EXPECT_FALSE(unset.isSet);
    EXPECT_EQ(valueAsString(unset), "0");
}

TEST(SettingValueTest, TextFormsUseSixSignificantDigitsAndSemicolons) {
    const std::pair<SettingValue, std::string> cases[] = {
        {std::int32_t(-42), "-42"},
        {0.3f, "0.3"},
        {1234567.0f, "1.23457e+06"},
        {std::string("Lantern Hollow"), "Lantern Hollow"},
        {"built in", "built in"},
        {static_cast<const char*>(nullptr), ""},
        {fpVector2(1280, 720), "1280;720"},
        {fpVector3(1, -2.5f, 3), "1;-2.5;3"},
        {fpRect(0.5f, 1, 2, 3), "0.5;1;2;3"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(settingTextForm(value), text) << show(value);
}

// Every conversion from one held value, with the success of each.
struct ConversionCase {
    SettingValue value;
    std::int32_t asInt;
    bool intOk;
    bool asBool;
    bool boolOk;
    std::string asString;
    bool stringOk;
    fpVector2 asVector;
    bool vectorOk;
};

TEST(SettingValueTest, ConversionsGoThroughTheTextForm) {
    const ConversionCase cases[] = {
        {std::int32_t(12), 12, true, false, false, "12", true, {12, 0}, false},
        {std::int32_t(1), 1, true, true, true, "1", true, {1, 0}, false},
        {std::int32_t(0), 0, true, false, true, "0", true, {0, 0}, false},
        // Text left over after the number is allowed.
        {2.5f, 2, true, false, false, "2.5", true, {2.5f, 0}, false},
        {1234567.0f, 1, true, true, true, "1.23457e+06", true, {1234570, 0}, false},
        // "true" is not a numeric boolean.
        {std::string("true"), 0, false, false, false, "true", true, {0, 0}, false},
        {std::string("1"), 1, true, true, true, "1", true, {1, 0}, false},
        {std::string("12abc"), 12, true, false, false, "12abc", true, {12, 0}, false},
        {std::string("  7"), 7, true, false, false, "  7", true, {7, 0}, false},
        {std::string(""), 0, false, false, false, "", true, {0, 0}, false},
        {std::string("a b"), 0, false, false, false, "a b", true, {0, 0}, false},
        // A stream read skips white space before each number, but the separator is
        // whichever single character comes next.
        {std::string("1; 2"), 1, true, true, true, "1; 2", true, {1, 2}, true},
        {std::string("1 ;2"), 1, true, true, true, "1 ;2", true, {1, 0}, false},
        {std::string("3x4"), 3, true, false, false, "3x4", true, {3, 4}, true},
        // A C string gives its first word; an empty one gives no text at all.
        {"first word", 0, false, false, false, "first", true, {0, 0}, false},
        {"", 0, false, false, false, "", false, {0, 0}, false},
        {fpVector2(1, 2), 1, true, true, true, "1;2", true, {1, 2}, true},
        {fpVector3(1, 2, 3), 1, true, true, true, "1;2;3", true, {1, 2}, true},
        {fpRect(-4, 2, 3, 4), -4, true, false, false, "-4;2;3;4", true, {-4, 2}, true},
    };
    for (const ConversionCase& c : cases) {
        std::int32_t i = -1;
        bool b = true;
        std::string s = "junk";
        fpVector2 v(-1, -1);
        EXPECT_EQ(convertSetting(c.value, i), c.intOk) << show(c.value);
        EXPECT_EQ(i, c.asInt) << show(c.value);
        EXPECT_EQ(convertSetting(c.value, b), c.boolOk) << show(c.value);
        EXPECT_EQ(b, c.asBool) << show(c.value);
        EXPECT_EQ(convertSetting(c.value, s), c.stringOk) << show(c.value);
        EXPECT_EQ(s, c.asString) << show(c.value);
        EXPECT_EQ(convertSetting(c.value, v), c.vectorOk) << show(c.value);
        EXPECT_EQ(v, c.asVector) << show(c.value);

        EXPECT_EQ(valueAsInt(c.value), c.asInt) << show(c.value);
        EXPECT_EQ(valueAsBool(c.value), c.asBool) << show(c.value);
        EXPECT_EQ(valueAsString(c.value), c.asString) << show(c.value);
        EXPECT_EQ(valueAsVector2(c.value), c.asVector) << show(c.value);
    }
}

TEST(SettingValueTest, RectanglesAndFloatsConvertByTheirOwnRules) {
    fpRect r(9, 9, 9, 9);
    EXPECT_TRUE(convertSetting(fpRect(1, 2, 3, 4), r));
    EXPECT_EQ(r, fpRect(1, 2, 3, 4));
    EXPECT_FALSE(convertSetting(fpVector3(1, 2, 3), r));
    EXPECT_EQ(r, fpRect(1, 2, 3, 0));
    EXPECT_EQ(valueAsRect(std::string("5")), fpRect(5, 0, 0, 0));

    // The float read through text decides between value and default; the float returned
    // is computed directly: only integers, floats and strings give a number.
    float f = -1;
    EXPECT_TRUE(convertSetting(std::string("0.75 m"), f));
    EXPECT_FLOAT_EQ(f, 0.75f);
    EXPECT_FALSE(convertSetting(std::string("m"), f));
    EXPECT_EQ(f, 0.0f);
    const std::pair<SettingValue, float> direct[] = {
        {std::int32_t(3), 3.0f},        {0.25f, 0.25f},       {std::string("2.5x"), 2.5f},
        {std::string("abc"), 0.0f},     {"2", 0.0f},          {fpVector2(1, 2), 0.0f},
        {fpRect(1, 2, 3, 4), 0.0f},
    };
    for (const auto& [value, expected] : direct) {
        EXPECT_EQ(directFloat(value), expected) << show(value);
        EXPECT_EQ(valueAsFloat(OptionalSettingValue(value)), expected) << show(value);
    }
}

TEST(SettingValueTest, WholeTextParsingSkipsNoWhiteSpaceAndLeavesNothingOver) {
    std::int32_t i;
    float f;
    fpVector2 v;
    fpVector3 v3;
    fpRect r;
    EXPECT_TRUE(parseWholeText("12", i));
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(parseWholeText("-7", i));
    EXPECT_EQ(i, -7);
    for (const char* text : {"12a", " 12", "12 ", "", "2147483648", "1.5"})
        EXPECT_FALSE(parseWholeText(text, i)) << text;
    EXPECT_TRUE(parseWholeText("0.5", f));
    EXPECT_EQ(f, 0.5f);
    for (const char* text : {"0.5 ", " 0.5", "x", ""}) EXPECT_FALSE(parseWholeText(text, f)) << text;
    EXPECT_TRUE(parseWholeText("1;2", v));
    EXPECT_EQ(v, fpVector2(1, 2));
    for (const char* text : {"1; 2", "1;2;3", "1;", "1"}) EXPECT_FALSE(parseWholeText(text, v)) << text;
    EXPECT_TRUE(parseWholeText("1,2,3", v3));
    EXPECT_EQ(v3, fpVector3(1, 2, 3));
    EXPECT_TRUE(parseWholeText("1;2;3;4", r));
    EXPECT_EQ(r, fpRect(1, 2, 3, 4));
    EXPECT_FALSE(parseWholeText("1;2;3", r));
}

} // namespace
} // namespace zor
