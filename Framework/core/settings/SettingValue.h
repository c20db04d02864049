#pragma once
// The value of a setting, an asset-name option or a behaviour parameter, and its
// conversions, which all go through the value's text form.

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <string>
#include <variant>

namespace zor {

// The alternatives in tag order. A default-constructed value is the integer 0; "bool"
// settings hold 0 or 1; a C string is only ever built in code and must outlive the value.
using SettingValue =
    std::variant<std::int32_t, const char*, float, std::string, fpVector2, fpVector3, fpRect>;

// A value with a set flag. While the flag is clear the value is still there (the integer
// 0 unless copied from elsewhere) and the conversions read it all the same.
struct OptionalSettingValue {
    bool isSet = false;
    SettingValue value;

    OptionalSettingValue() = default;
    // A set value.
    OptionalSettingValue(SettingValue v) : isSet(true), value(std::move(v)) {}
};

bool operator==(const OptionalSettingValue& a, const OptionalSettingValue& b);
inline bool operator!=(const OptionalSettingValue& a, const OptionalSettingValue& b) { return !(a == b); }

// The value written into a text stream with default formatting: integers in decimal, floats
// with six significant digits, texts as they are, vectors and rectangles as "x;y[;...]".
std::string settingTextForm(const SettingValue& value);

// Conversions of a held value to another type: the text form is read back with the stream's
// extraction, text left over allowed. Each returns false when that read fails; `out` then
// holds the zero of its type, except that vectors and rectangles keep the components read
// before the failure. Integers convert to integers directly, strings to text whole; other
// values give text as their first white-space-delimited word (so an empty text fails).
// Booleans are read numerically: the text must begin with 0 or 1.
bool convertSetting(const SettingValue& value, std::int32_t& out);
bool convertSetting(const SettingValue& value, bool& out);
bool convertSetting(const SettingValue& value, float& out);
bool convertSetting(const SettingValue& value, std::string& out);
bool convertSetting(const SettingValue& value, fpVector2& out);
bool convertSetting(const SettingValue& value, fpRect& out);

// The float a value stands for, computed without text: integers converted, floats as they
// are, strings read with atof, everything else 0.
float directFloat(const SettingValue& value);

// Whole-text parsing: no white space is skipped and every character must be used, so "1;2"
// is a vector and "1; 2" is not. False leaves `out` unspecified.
bool parseWholeText(const std::string& text, std::int32_t& out);
bool parseWholeText(const std::string& text, float& out);
bool parseWholeText(const std::string& text, fpVector2& out);
bool parseWholeText(const std::string& text, fpVector3& out);
bool parseWholeText(const std::string& text, fpRect& out);

// The conversions with failure folded into the zero of the type; the set flag is ignored.
std::int32_t valueAsInt(const SettingValue& value);
bool valueAsBool(const SettingValue& value);
float valueAsFloat(const SettingValue& value);
std::string valueAsString(const SettingValue& value);
fpVector2 valueAsVector2(const SettingValue& value);
fpRect valueAsRect(const SettingValue& value);

inline std::int32_t valueAsInt(const OptionalSettingValue& v) { return valueAsInt(v.value); }
inline bool valueAsBool(const OptionalSettingValue& v) { return valueAsBool(v.value); }
inline float valueAsFloat(const OptionalSettingValue& v) { return valueAsFloat(v.value); }
inline std::string valueAsString(const OptionalSettingValue& v) { return valueAsString(v.value); }
inline fpVector2 valueAsVector2(const OptionalSettingValue& v) { return valueAsVector2(v.value); }
inline fpRect valueAsRect(const OptionalSettingValue& v) { return valueAsRect(v.value); }

} // namespace zor
