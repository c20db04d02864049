#include "Framework/core/localization/LocalizedFormat.h"

#include "Framework/core/localization/LocalizationHandler.h"

namespace zor {

namespace {

const char* const kInvalidLine = "!LINE INVALID!";

} // namespace

LocalizedFormat::LocalizedFormat(const std::string& lineId) {
    const std::string* line =
        LocalizationHandler::exists() ? LocalizationHandler::instance().findLine(lineId) : nullptr;
    parse(line ? *line : kInvalidLine);
}

LocalizedFormat LocalizedFormat::fromText(const std::string& text) {
    LocalizedFormat format;
    format.parse(text);
    return format;
}

void LocalizedFormat::parse(const std::string& text) {
    try {
        m_format.parse(text);
    } catch (const boost::io::format_error&) {
        m_invalid = true;
    }
}

template <class T>
LocalizedFormat& LocalizedFormat::feed(const T& value) {
    if (m_invalid) return *this;
    try {
        m_format % value;
    } catch (const boost::io::format_error&) {
        m_invalid = true;
    }
    return *this;
}

LocalizedFormat& LocalizedFormat::operator%(std::int32_t value) { return feed(value); }

LocalizedFormat& LocalizedFormat::operator%(const std::string& text) { return feed(text); }

std::string LocalizedFormat::str() const {
    if (m_invalid) return kInvalidLine;
    try {
        return m_format.str();
    } catch (const boost::io::format_error&) {
        return kInvalidLine;
    }
}

} // namespace zor
