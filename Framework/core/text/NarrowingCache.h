#pragma once
// The standard library fills the character narrowing table of a locale's ctype<char> facet
// lazily, on first use of each character, without a lock: boost::format on two threads at
// once writes it from both. Filling it whole on the main thread before any other thread
// starts leaves only reads for later.

namespace zor {

// Fills the narrowing table of the global and the classic locale's ctype<char> facets.
void fillCharacterNarrowingCache();

} // namespace zor
