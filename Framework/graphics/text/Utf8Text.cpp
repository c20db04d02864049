#include "Framework/graphics/text/Utf8Text.h"

#include <utf8.h>

#include <iterator>

namespace zor {

Utf8Text decodeUtf8(const std::string& text) {
    Utf8Text decoded;
    if (utf8::is_valid(text.begin(), text.end())) {
        decoded.text = text;
    } else {
        decoded.text.reserve(text.size() + 8);
        utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(decoded.text), ReplacementCharacter);
    }
    const std::string& valid = decoded.text;
    decoded.codePoints.reserve(valid.size());
    decoded.offsets.reserve(valid.size() + 1);
    auto it = valid.begin();
    while (it != valid.end()) {
        decoded.offsets.push_back(static_cast<std::size_t>(it - valid.begin()));
        decoded.codePoints.push_back(utf8::unchecked::next(it));
    }
    decoded.offsets.push_back(valid.size());
    return decoded;
}

} // namespace zor
