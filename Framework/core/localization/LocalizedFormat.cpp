#include "Framework/core/localization/LocalizedFormat.h"

#include "Framework/core/localization/LocalizationHandler.h"

#include <cctype>

namespace zor {

namespace {

const char* const kInvalidLine = "!LINE INVALID!";

// Widths, precisions and argument numbers up to this are plenty for any text on screen.
// Bigger ones (a slip in a translated line) would make the formatter pad on the stack
// or allocate without bound, so such lines count as invalid, as do tabulations filled
// with "%", which the formatter miscounts and then writes past its directive list.
constexpr unsigned long kLargestDirectiveNumber = 9999;

bool numberTooLarge(const std::string& text, std::size_t begin, std::size_t end) {
    unsigned long value = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            value = 0;
            continue;
        }
        value = value * 10 + static_cast<unsigned long>(text[i] - '0');
        if (value > kLargestDirectiveNumber) return true;
    }
    return false;
}

// Checks every directive: "%N%", "%|spec|" and printf-style "%spec<type>". The spec
// characters are the formatter's flags, width, precision and size modifiers; "t" is none
// of them there but a type (tabulation), so a "%" after it opens the next directive.
bool hasUnsafeDirective(const std::string& text) {
    static const std::string specCharacters = "0123456789$-=_+ #'.*hlLqjz";
    std::size_t i = 0;
    while ((i = text.find('%', i)) != std::string::npos) {
        const std::size_t begin = ++i;
        if (i >= text.size()) break;
        if (text[i] == '%') {
            ++i;
            continue;
        }
        std::size_t end;
        if (text[i] == '|') {
            end = text.find('|', i + 1);
            if (end == std::string::npos) end = text.size();
        } else {
            end = text.find_first_not_of(specCharacters, i);
            if (end == std::string::npos) end = text.size();
        }
        if (numberTooLarge(text, begin, end)) return true;
        if (end + 1 < text.size() && text[end] == 'T' && text[end + 1] == '%') return true;
        // Step over the closing "|", "%" or type character.
        i = end + 1;
    }
    return false;
}

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
    if (hasUnsafeDirective(text)) {
        m_invalid = true;
        return;
    }
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
