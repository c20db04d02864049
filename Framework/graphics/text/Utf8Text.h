#pragma once
// UTF-8 for text layout. Texts come from language tables and data files, so a broken byte
// sequence must not stop the game: each one reads as U+FFFD. Layout cleans a text once
// and then reads its code points one at a time, never decoding further than it lays out.

#include <cstddef>
#include <cstdint>
#include <string>

#include <utf8.h>

namespace zor {

constexpr std::uint32_t ReplacementCharacter = 0xFFFD;

// The text with every invalid sequence replaced by the encoding of U+FFFD.
std::string cleanUtf8(std::string text);

// The code point starting at `at` in valid UTF-8, and where the next one starts.
inline std::uint32_t codePointAt(const char* at, const char*& next) {
    const auto lead = static_cast<unsigned char>(*at);
    if (lead < 0x80) {
        next = at + 1;
        return lead;
    }
    next = at;
    return utf8::unchecked::next(next);
}

} // namespace zor
