#pragma once
// A localized line used as a boost.format text ("%1% silver"). Any format error, while
// parsing, feeding or formatting, turns the result into "!LINE INVALID!"; so does a line
// id the current language does not have.

#include <boost/format.hpp>

#include <cstdint>
#include <string>

namespace zor {

class LocalizedFormat {
public:
    explicit LocalizedFormat(const std::string& lineId);
    static LocalizedFormat fromText(const std::string& text);

    LocalizedFormat& operator%(std::int32_t value);
    LocalizedFormat& operator%(const std::string& text);
    LocalizedFormat& operator%(const char* text) { return *this % std::string(text ? text : ""); }

    std::string str() const;
    bool isInvalid() const { return m_invalid; }

private:
    LocalizedFormat() = default;
    void parse(const std::string& text);
    template <class T>
    LocalizedFormat& feed(const T& value);

    boost::format m_format;
    bool m_invalid = false;
};

} // namespace zor
