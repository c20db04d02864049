#include "Framework/core/settings/SettingValue.h"

#include <cstdlib>
#include <sstream>

namespace zor {

namespace {

void writeTextForm(std::ostream& out, const SettingValue& value) {
    std::visit(
        [&out](const auto& held) {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, const char*>) {
                if (held) out << held;
            } else {
                out << held;
            }
        },
        value);
}

// One stream per thread, emptied for each use: building a stream costs more than the
// conversion itself. Its formatting is never changed, so it stays the default one.
std::stringstream& scratchStream() {
    thread_local std::stringstream stream;
    stream.str(std::string());
    stream.clear();
    return stream;
}

// Writes the text form and reads a T back with the stream's own extraction.
template <class T>
bool readBack(const SettingValue& value, T& out) {
    std::stringstream& stream = scratchStream();
    writeTextForm(stream, value);
    stream >> out;
    return !stream.fail();
}

template <class T>
bool parseWhole(const std::string& text, T& out) {
    std::stringstream& stream = scratchStream();
    stream << text;
    stream.unsetf(std::ios::skipws);
    stream >> out;
    const bool whole = !stream.fail() && stream.peek() == std::char_traits<char>::eof();
    stream.setf(std::ios::skipws);
    return whole;
}

} // namespace

bool operator==(const OptionalSettingValue& a, const OptionalSettingValue& b) {
    return a.isSet == b.isSet && a.value == b.value;
}

std::string settingTextForm(const SettingValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    std::stringstream& stream = scratchStream();
    writeTextForm(stream, value);
    return stream.str();
}

bool convertSetting(const SettingValue& value, std::int32_t& out) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        out = *number;
        return true;
    }
    if (readBack(value, out)) return true;
    out = 0;
    return false;
}

bool convertSetting(const SettingValue& value, bool& out) {
    if (readBack(value, out)) return true;
    out = false;
    return false;
}

bool convertSetting(const SettingValue& value, float& out) {
    if (const auto* number = std::get_if<float>(&value)) {
        out = *number;
        return true;
    }
    if (readBack(value, out)) return true;
    out = 0.0f;
    return false;
}

bool convertSetting(const SettingValue& value, std::string& out) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        out = *text;
        return true;
    }
    out.clear();
    return readBack(value, out);
}

bool convertSetting(const SettingValue& value, fpVector2& out) {
    out = fpVector2();
    return readBack(value, out);
}

bool convertSetting(const SettingValue& value, fpRect& out) {
    out = fpRect();
    return readBack(value, out);
}

float directFloat(const SettingValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return static_cast<float>(*number);
    if (const auto* number = std::get_if<float>(&value)) return *number;
    if (const auto* text = std::get_if<std::string>(&value)) return static_cast<float>(std::atof(text->c_str()));
    return 0.0f;
}

bool parseWholeText(const std::string& text, std::int32_t& out) { return parseWhole(text, out); }
bool parseWholeText(const std::string& text, float& out) { return parseWhole(text, out); }
bool parseWholeText(const std::string& text, fpVector2& out) { return parseWhole(text, out); }
bool parseWholeText(const std::string& text, fpVector3& out) { return parseWhole(text, out); }
bool parseWholeText(const std::string& text, fpRect& out) { return parseWhole(text, out); }

std::int32_t valueAsInt(const SettingValue& value) {
    std::int32_t out;
    convertSetting(value, out);
    return out;
}

bool valueAsBool(const SettingValue& value) {
    bool out;
    convertSetting(value, out);
    return out;
}

float valueAsFloat(const SettingValue& value) { return directFloat(value); }

std::string valueAsString(const SettingValue& value) {
    std::string out;
    convertSetting(value, out);
    return out;
}

fpVector2 valueAsVector2(const SettingValue& value) {
    fpVector2 out;
    convertSetting(value, out);
    return out;
}

fpRect valueAsRect(const SettingValue& value) {
    fpRect out;
    convertSetting(value, out);
    return out;
}

} // namespace zor
