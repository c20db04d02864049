#include "Framework/graphics/text/Utf8Text.h"

#include <iterator>

namespace zor {

namespace {

bool isAscii(const std::string& text) {
    unsigned char any = 0;
    for (const char c : text) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

} // namespace

std::string cleanUtf8(std::string text) {
    // Most texts are ASCII, which needs no decoding to be valid.
    if (isAscii(text) || utf8::is_valid(text.begin(), text.end())) return text;
    std::string clean;
    clean.reserve(text.size() + 8);
    utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(clean), ReplacementCharacter);
    return clean;
}

} // namespace zor
