#pragma once
// UTF-8 decoding for text layout. Texts come from language tables and data files, so a
// broken byte sequence must not stop the game: each one decodes as U+FFFD.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zor {

constexpr std::uint32_t ReplacementCharacter = 0xFFFD;

struct Utf8Text {
    // The text with every invalid sequence replaced by the encoding of U+FFFD.
    std::string text;
    std::vector<std::uint32_t> codePoints;
    // Byte position in `text` of each code point, then one more: the text's length.
    std::vector<std::size_t> offsets;
};

Utf8Text decodeUtf8(const std::string& text);

} // namespace zor
