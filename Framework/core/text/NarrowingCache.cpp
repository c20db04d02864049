#include "Framework/core/text/NarrowingCache.h"

#include <locale>

namespace zor {

namespace {

void fill(const std::locale& locale) {
    char all[256];
    for (int i = 0; i < 256; ++i) all[i] = char(i);
    char narrowed[256];
    // The range form fills the facet's whole table in one go.
    std::use_facet<std::ctype<char>>(locale).narrow(all, all + 256, '\0', narrowed);
}

} // namespace

void fillCharacterNarrowingCache() {
    fill(std::locale());
    fill(std::locale::classic());
}

} // namespace zor
